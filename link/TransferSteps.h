// The step sequences of the transfer workers, written once for every
// instrument family. A family describes its wire in a ReceiveSteps and a
// SendSteps (its frames, how the instrument opens a transfer, the answers);
// runReceive and runSend do the rest.
//
// Each runs on the worker thread with the port already open and configured,
// shows the title "waiting for the instrument" first, and ends in exactly
// one of these ways:
// - normally: it closes the port, then calls host.finished();
// - on a failing port call: host.failedPlatform() (the port stays open for
//   the cancel sequence to close);
// - on a wrong opening: host.failedProtocol(ProtocolFault::WrongOpening),
//   having written nothing; on a list its frames cannot count:
//   host.failedProtocol(ProtocolFault::TooManyPoints), having written no
//   frame;
// - on a stop request: it returns at once and touches nothing more.
#pragma once

#include <cstddef>
#include <cstdint>

#include "link/WorkerHost.h"

class BytePort;
class PointRecord;

// How the instrument opens a transfer: it sends `length` bytes, which the
// worker waits for (exactly that many queued, as PortWait::exactly), checks
// and, for some families, echoes.
struct Opening {
    std::size_t length;  // 0: the instrument does not open; its frames come at once
    bool (*accepts)(const std::uint8_t* bytes);
    bool echo;
};

struct ProgressFigures {
    int done;
    int total;  // 0: not known (see WorkerHost::progress)
};

// A receive: the instrument sends data frames until its end message; each
// frame becomes a point for the list, then its title and progress are
// shown, then the PC answers it (if the family answers).
struct ReceiveSteps {
    Opening opening;
    std::size_t frameLength;  // bytes of a data frame, at most kMaxFrameLength
    // The first bytes of every frame, which tell the end message from a data
    // frame (frameLength when only a whole frame tells it).
    std::size_t headLength;
    bool (*isEnd)(const std::uint8_t* head);
    void (*decode)(const std::uint8_t* frame, PointRecord& point);
    // What the title and the taskbar show after the received-th frame.
    TransferTitle (*title)(const std::uint8_t* frame, int received);
    ProgressFigures (*progress)(const std::uint8_t* frame, int received);
    // The PC's answer to a frame, built in answer (kMaxFrameLength bytes);
    // its length. nullptr: the PC answers nothing.
    std::size_t (*answer)(const std::uint8_t* frame, std::uint8_t* answer);
};

// A send: after the instrument's opening, one frame per row of the list, in
// list order, each written after a pause of kFramePauseMs and, but for the
// last, followed by a wait for the instrument's answer (answerLength bytes,
// not examined); the last answer is taken as far as it has come.
struct SendSteps {
    Opening opening;
    // Builds the frame of a point, number (from 1) of total, in frame
    // (kMaxFrameLength bytes); its length, or 0 when the frames cannot count
    // total points. Every frame carries the total, so the first frame is
    // refused and the send with it, before any frame is written.
    std::size_t (*build)(const PointRecord& point, int number, int total, std::uint8_t* frame);
    std::size_t answerLength;  // at most kMaxFrameLength
};

constexpr std::size_t kMaxFrameLength = 128;
constexpr int kFramePauseMs = 200;

// A family's frame type (a std::array of bytes) filled from the bytes of a
// step, for the family's own frame code.
template <class Frame>
Frame frameFrom(const std::uint8_t* bytes) {
    Frame frame;
    for (std::size_t i = 0; i < frame.size(); ++i) frame[i] = bytes[i];
    return frame;
}

void runReceive(const ReceiveSteps& steps, BytePort& port, WorkerHost& host);
void runSend(const SendSteps& steps, BytePort& port, WorkerHost& host);
