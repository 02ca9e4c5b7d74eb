#include "link/PortWait.h"

PortWait::PortWait(BytePort& port, WorkerHost& host) : port_(port), host_(host) {}

int PortWait::pauseMs(std::size_t missing) const {
    if (quietMs_ >= kActiveWindowMs) return kQuietPauseMs;
    return missing > kNearBytes ? kFarPauseMs : kActivePauseMs;
}

WaitResult PortWait::wait(std::size_t count, Rule rule) {
    for (;;) {
        if (host_.stopRequested()) return WaitResult::Stopped;
        std::size_t queued = 0;
        if (!port_.queued(queued)) return WaitResult::Failed;
        if (queued > lastCount_) quietMs_ = 0;
        lastCount_ = queued;
        if (rule == Rule::Exactly ? queued == count : queued >= count) return WaitResult::Ok;
        const int ms = pauseMs(queued < count ? count - queued : 0);
        if (!host_.pause(ms)) return WaitResult::Stopped;
        if (quietMs_ < kActiveWindowMs) quietMs_ += ms;
    }
}

WaitResult PortWait::exactly(std::size_t count) { return wait(count, Rule::Exactly); }

WaitResult PortWait::atLeast(std::size_t count) { return wait(count, Rule::AtLeast); }

void PortWait::noteRead(std::size_t got) {
    lastCount_ = got < lastCount_ ? lastCount_ - got : 0;
}

WaitResult PortWait::read(std::uint8_t* data, std::size_t count) {
    std::size_t have = 0;
    while (have < count) {
        const WaitResult waited = atLeast(count - have);
        if (waited != WaitResult::Ok) return waited;
        std::size_t got = 0;
        if (!port_.read(data + have, count - have, got)) return WaitResult::Failed;
        if (got > count - have) got = count - have;  // a port never hands over more than asked
        noteRead(got);
        have += got;
        // A port that reported bytes but handed over none must not make this
        // loop spin without a pause.
        if (got == 0 && !host_.pause(kActivePauseMs)) return WaitResult::Stopped;
    }
    return WaitResult::Ok;
}

WaitResult PortWait::readQueued(std::uint8_t* data, std::size_t count, std::size_t& got) {
    got = 0;
    if (host_.stopRequested()) return WaitResult::Stopped;
    if (!port_.read(data, count, got)) return WaitResult::Failed;
    if (got > count) got = count;
    noteRead(got);
    return WaitResult::Ok;
}

void endAfterPortFailure(WorkerHost& host) {
    if (!host.stopRequested()) host.failedPlatform();
}
