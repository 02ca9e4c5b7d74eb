// One transfer as the simulated instrument plays it, and how it ended.
#pragma once

#include <string>
#include <vector>

#include "Line.h"
#include "SimPoint.h"

struct Fault {
    enum class Kind { None, WrongHandshake, SilentAfter, CloseAfter, Garbage };
    Kind kind = Kind::None;
    int frames = 0;  // SilentAfter, CloseAfter: after this many frames; Garbage: after this frame
};

enum class Outcome {
    Completed,      // the transfer ran to its end
    FaultPlayed,    // the fault was played and the PC then hung up as expected
    CloseLine,      // close-after: the caller must close the pty now
    PeerProtocol,   // the PC sent bytes the instrument did not expect
    PeerClosed,     // the PC closed the port before the transfer ended
    TimedOut,
    Failed,         // the pty failed
    Interrupted,
};

struct Session {
    Line& line;
    Fault fault;
    std::vector<SimPoint> toSend;     // the instrument sends these to the PC
    std::vector<SimPoint> received;   // what the PC sent
    std::vector<double> replyMs;      // Korvel: reply latency per frame
    std::string detail;               // what went wrong, for the log
};

// The outcome of a line status other than Ok.
Outcome outcomeOf(LineStatus status);

// Exit code of a run that ended with this outcome.
int exitCodeOf(Outcome outcome);
const char* outcomeName(Outcome outcome);

// Seven fixed garbage bytes, the same in every run.
const Bytes& garbageBytes();

// True when the session's fault is of this kind and due after framesDone
// frames.
bool faultDue(const Session& s, int framesDone, Fault::Kind kind);

// After a silent-after or wrong-handshake fault: keep the line open and
// wait for the PC to give up and close the port.
Outcome waitForHangUp(Session& s);
