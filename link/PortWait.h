// Waiting for the instrument: every transfer worker waits for bytes through
// one PortWait, which polls the port's input-queue count and pauses between
// polls through WorkerHost::pause, so that a cancel ends any wait.
//
// Timing contract
// - A wait polls BytePort::queued() once, then pauses, and repeats until its
//   condition holds, the port fails or the host asks to stop. There is no
//   time limit: only the user's cancel ends a wait for a silent instrument.
// - The pause adapts to the line. While the queue count has grown within the
//   last kActiveWindowMs of waiting, the pause is kActivePauseMs once no more
//   than kNearBytes are missing, so the last byte of a frame that trickles in
//   at 1200 baud (one byte every 8.3 ms) is seen about 1 ms after it arrived
//   and the reply follows at once; with more bytes missing it is
//   kFarPauseMs, since a 1200-baud line needs longer than that for them.
//   When the line has been quiet longer, the pause is kQuietPauseMs: a
//   worker waiting for an instrument that has not started costs about 100
//   polls a second. A new PortWait starts quiet; growth of the count makes it
//   active again. A line that delivers a frame in one burst (a pty, a USB
//   adapter) is seen at worst one pause after the burst.
// - Waiting time is counted as the sum of the requested pauses (a pause that
//   the platform stretches only makes the active phase last longer, which
//   favours quick replies). The platform's pause must honour 1 ms requests
//   to about a millisecond for the reply latency to hold.
// - "Exactly k" waits hold the instrument's handshake rule: they end only
//   when a poll finds exactly k bytes queued. A queue that already holds more
//   than k before any poll saw exactly k keeps the wait going until a stop.
// - A stop request is tested before every poll; a pause that returns false
//   ends the wait as Stopped. After Stopped or Failed the caller must not
//   touch the port again.
#pragma once

#include <cstddef>
#include <cstdint>

#include "link/BytePort.h"
#include "link/WorkerHost.h"

enum class WaitResult { Ok, Stopped, Failed };

class PortWait {
public:
    static constexpr int kActivePauseMs = 1;
    static constexpr int kFarPauseMs = 5;
    static constexpr int kQuietPauseMs = 10;
    static constexpr int kActiveWindowMs = 50;
    static constexpr std::size_t kNearBytes = 4;

    PortWait(BytePort& port, WorkerHost& host);

    // Waits until a poll finds exactly count bytes queued.
    WaitResult exactly(std::size_t count);

    // Waits until at least count bytes are queued.
    WaitResult atLeast(std::size_t count);

    // Waits until at least count bytes are queued and reads exactly count
    // into data. Should the port hand over fewer than it reported queued, the
    // rest is waited for, so the caller always gets count bytes.
    WaitResult read(std::uint8_t* data, std::size_t count);

    // Reads whatever is queued, up to count bytes, without waiting; got tells
    // how many arrived.
    WaitResult readQueued(std::uint8_t* data, std::size_t count, std::size_t& got);

    // The pause after a poll that found `missing` bytes short of the goal.
    int pauseMs(std::size_t missing) const;

private:
    enum class Rule { Exactly, AtLeast };
    WaitResult wait(std::size_t count, Rule rule);
    void noteRead(std::size_t got);

    BytePort& port_;
    WorkerHost& host_;
    std::size_t lastCount_ = 0;       // queue count at the last poll, less what was read since
    int quietMs_ = kActiveWindowMs;   // pause time since the count last grew
};

// What a worker does after a port call failed: report it, unless the failure
// came from the user's stop (the platform cancels pending calls then), in
// which case the worker simply ends without a word.
void endAfterPortFailure(WorkerHost& host);
