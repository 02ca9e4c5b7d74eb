#include "link/TransferSteps.h"

#include <memory>

#include "link/BytePort.h"
#include "link/PortWait.h"
#include "points/PointRecord.h"

namespace {

// Ends a worker whose wait or read did not succeed.
void endWait(WaitResult result, WorkerHost& host) {
    if (result == WaitResult::Failed) endAfterPortFailure(host);
}

// Shows that the worker waits for the instrument, then takes the
// instrument's opening. False when the worker has to end (the ending has
// then been reported as needed).
bool open(const Opening& opening, BytePort& port, WorkerHost& host, PortWait& wait) {
    TransferTitle waiting;
    waiting.step = TransferTitle::Step::WaitingForInstrument;
    host.setTitle(waiting);
    if (opening.length == 0) return true;
    std::uint8_t bytes[kMaxFrameLength];
    WaitResult result = wait.exactly(opening.length);
    if (result == WaitResult::Ok) result = wait.read(bytes, opening.length);
    if (result != WaitResult::Ok) {
        endWait(result, host);
        return false;
    }
    if (!opening.accepts(bytes)) {
        host.failedProtocol(ProtocolFault::WrongOpening);
        return false;
    }
    if (opening.echo && !port.write(bytes, opening.length)) {
        endAfterPortFailure(host);
        return false;
    }
    return true;
}

void finish(BytePort& port, WorkerHost& host) {
    port.close();
    host.finished();
}

}  // namespace

void runReceive(const ReceiveSteps& steps, BytePort& port, WorkerHost& host) {
    PortWait wait(port, host);
    if (!open(steps.opening, port, host, wait)) return;
    std::uint8_t frame[kMaxFrameLength];
    std::uint8_t answer[kMaxFrameLength];
    for (int received = 0;;) {
        WaitResult result = wait.read(frame, steps.headLength);
        if (result == WaitResult::Ok && steps.isEnd(frame)) {
            finish(port, host);
            return;
        }
        if (result == WaitResult::Ok)
            result = wait.read(frame + steps.headLength, steps.frameLength - steps.headLength);
        if (result != WaitResult::Ok) {
            endWait(result, host);
            return;
        }
        if (host.stopRequested()) return;
        ++received;
        auto point = std::make_unique<PointRecord>();
        steps.decode(frame, *point);
        host.deliverPoint(point.release());
        host.setTitle(steps.title(frame, received));
        const ProgressFigures progress = steps.progress(frame, received);
        host.progress(progress.done, progress.total);
        const std::size_t length = steps.answer ? steps.answer(frame, answer) : 0;
        if (length > 0 && !port.write(answer, length)) {
            endAfterPortFailure(host);
            return;
        }
    }
}

void runSend(const SendSteps& steps, BytePort& port, WorkerHost& host) {
    PortWait wait(port, host);
    if (!open(steps.opening, port, host, wait)) return;
    const int total = host.rowCount();
    std::uint8_t frame[kMaxFrameLength];
    for (int number = 1; number <= total; ++number) {
        if (host.stopRequested()) return;
        const PointRecord* row = host.rowRecord(number - 1);
        const std::size_t length = steps.build(row ? *row : PointRecord(), number, total, frame);
        if (length == 0) {
            // Only the counters can refuse, and the first frame's do.
            host.failedProtocol(ProtocolFault::TooManyPoints);
            return;
        }
        TransferTitle sending;
        sending.step = TransferTitle::Step::Sending;
        sending.count = number;
        sending.total = total;
        host.setTitle(sending);
        if (!host.pause(kFramePauseMs)) return;
        if (!port.write(frame, length)) {
            endAfterPortFailure(host);
            return;
        }
        host.rowSent(number - 1);
        std::uint8_t answer[kMaxFrameLength];
        WaitResult result;
        if (number < total) {
            result = wait.read(answer, steps.answerLength);
        } else {
            std::size_t got = 0;  // the last answer is taken as far as it has come
            result = wait.readQueued(answer, steps.answerLength, got);
        }
        if (result != WaitResult::Ok) {
            endWait(result, host);
            return;
        }
        host.progress(number, total);
    }
    finish(port, host);
}
