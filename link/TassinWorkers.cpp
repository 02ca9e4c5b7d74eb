#include "link/TassinWorkers.h"

#include <memory>

#include "app/TextTable.h"
#include "link/PortWait.h"
#include "link/TassinLink.h"
#include "app/TextFill.h"

namespace {

constexpr int kFramePauseMs = 200;

void endWait(WaitResult result, WorkerHost& host) {
    if (result == WaitResult::Failed) endAfterPortFailure(host);
}

void finish(BytePort& port, WorkerHost& host) {
    port.close();
    host.finished();
}

}  // namespace

void runTassinReceive(BytePort& port, WorkerHost& host) {
    PortWait wait(port, host);
    host.setTitle(host.text(kTextWaitSync));
    int received = 0;
    for (;;) {
        TassinInFrame frame{};
        const WaitResult result = wait.read(frame.data(), frame.size());
        if (result != WaitResult::Ok) {
            endWait(result, host);
            return;
        }
        if (isTassinEndFrame(frame)) {
            finish(port, host);
            return;
        }
        if (host.stopRequested()) return;
        ++received;
        auto point = std::make_unique<PointRecord>();
        decodeTassinFrame(frame, *point);
        host.deliverPoint(point.release());
        host.setTitle(fillText(host.text(kTextTassinProgress), {received}));
        host.progress(received, 0);  // the frames do not carry the total
    }
}

void runTassinSend(BytePort& port, WorkerHost& host) {
    PortWait wait(port, host);
    host.setTitle(host.text(kTextWaitSync));
    WaitResult result = wait.exactly(kTassinSyncLength);
    std::uint8_t sync[kTassinSyncLength];
    if (result == WaitResult::Ok) result = wait.read(sync, kTassinSyncLength);
    if (result != WaitResult::Ok) {
        endWait(result, host);
        return;
    }
    if (!isTassinSync(sync)) {
        host.failedProtocol(kTextFrameHeadError);
        return;
    }
    const int total = host.rowCount();
    for (int i = 0; i < total; ++i) {
        if (host.stopRequested()) return;
        host.setTitle(fillText(host.text(kTextSendProgress), {i + 1, total}));
        const PointRecord* point = host.rowRecord(i);
        const PointRecord blank;
        TassinOutFrame frame{};
        encodeTassinRecord(point ? *point : blank, total, frame);
        if (!host.pause(kFramePauseMs)) return;
        if (!port.write(frame.data(), static_cast<std::size_t>(frame[1]) + 2)) {
            endAfterPortFailure(host);
            return;
        }
        host.rowSent(i);
        std::uint8_t answer[kTassinAckLength];
        if (i + 1 < total) {
            result = wait.read(answer, kTassinAckLength);
        } else {
            std::size_t got = 0;  // after the last frame: only what has already come
            result = wait.readQueued(answer, kTassinAckLength, got);
        }
        if (result != WaitResult::Ok) {
            endWait(result, host);
            return;
        }
        host.progress(i + 1, total);
    }
    finish(port, host);
}

const LinkProtocol kTassinProtocol = {runTassinReceive, runTassinSend, {0, tassinCanCarry}, trimTassinName};
