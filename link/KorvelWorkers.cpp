#include "link/KorvelWorkers.h"

#include <memory>

#include "app/TextTable.h"
#include "link/KorvelLink.h"
#include "link/PortWait.h"
#include "app/TextFill.h"
#include "points/PointText.h"

namespace {

constexpr int kFramePauseMs = 200;

// Ends a worker whose wait or read did not succeed.
void endWait(WaitResult result, WorkerHost& host) {
    if (result == WaitResult::Failed) endAfterPortFailure(host);
}

// Waits for the instrument's handshake and echoes it. False when the worker
// has to end (the ending has then been reported as needed).
bool acceptHandshake(BytePort& port, WorkerHost& host, PortWait& wait) {
    host.setTitle(host.text(kTextWaitSync));
    WaitResult result = wait.exactly(kKorvelControlLength);
    std::uint8_t handshake[kKorvelControlLength];
    if (result == WaitResult::Ok) result = wait.read(handshake, kKorvelControlLength);
    if (result != WaitResult::Ok) {
        endWait(result, host);
        return false;
    }
    if (!isKorvelHandshake(handshake)) {
        host.failedProtocol(kTextFrameHeadError);
        return false;
    }
    if (!port.write(handshake, kKorvelControlLength)) {
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

void runKorvelReceive(BytePort& port, WorkerHost& host) {
    PortWait wait(port, host);
    if (!acceptHandshake(port, host, wait)) return;
    for (;;) {
        KorvelFrame frame{};
        WaitResult result = wait.read(frame.data(), kKorvelControlLength);
        if (result == WaitResult::Ok && isKorvelEndMessage(frame.data())) {
            finish(port, host);
            return;
        }
        if (result == WaitResult::Ok)
            result = wait.read(frame.data() + kKorvelControlLength,
                               kKorvelFrameLength - kKorvelControlLength);
        if (result != WaitResult::Ok) {
            endWait(result, host);
            return;
        }
        if (host.stopRequested()) return;
        auto point = std::make_unique<PointRecord>();
        parseKorvelFrame(frame, *point);
        host.deliverPoint(point.release());
        host.setTitle(korvelReceiveTitle(host.text(kTextKorvelProgress), frame));
        const KorvelProgress progress = korvelReceiveProgress(frame);
        host.progress(progress.done, progress.total);
        const KorvelReply reply = korvelFrameReply(frame);
        if (!port.write(reply.data(), reply.size())) {
            endAfterPortFailure(host);
            return;
        }
    }
}

void runKorvelSend(BytePort& port, WorkerHost& host) {
    PortWait wait(port, host);
    if (!acceptHandshake(port, host, wait)) return;
    const int count = host.rowCount();
    if (count <= 0) {
        finish(port, host);
        return;
    }
    if (count > kKorvelMaxPoints) {
        // The counters cannot carry the number; the send is refused before a
        // frame goes out (the send command checks this before it starts).
        host.failedProtocol(kTextTooManyPoints);
        return;
    }
    for (int i = 1; i <= count; ++i) {
        if (host.stopRequested()) return;
        host.setTitle(fillText(host.text(kTextSendProgress), {i, count}));
        const PointRecord* point = host.rowRecord(i - 1);
        KorvelFrame frame{};
        if (point) buildKorvelFrame(*point, i, count, frame);
        else buildKorvelFrame(PointRecord(), i, count, frame);
        if (!host.pause(kFramePauseMs)) return;
        if (!port.write(frame.data(), frame.size())) {
            endAfterPortFailure(host);
            return;
        }
        host.rowSent(i - 1);
        std::uint8_t ack[kKorvelAckLength];
        WaitResult result;
        if (i < count) {
            result = wait.read(ack, kKorvelAckLength);
        } else {
            std::size_t got = 0;  // the last acknowledgement is taken as far as it has come
            result = wait.readQueued(ack, kKorvelAckLength, got);
        }
        if (result != WaitResult::Ok) {
            endWait(result, host);
            return;
        }
        host.progress(i, count);
    }
    finish(port, host);
}

const LinkProtocol kKorvelProtocol = {runKorvelReceive, runKorvelSend, {kKorvelMaxPoints, pointTextCanHold}, nullptr};
