#include "Session.h"

Outcome outcomeOf(LineStatus status) {
    switch (status) {
    case LineStatus::Ok: return Outcome::Completed;
    case LineStatus::PeerClosed: return Outcome::PeerClosed;
    case LineStatus::TimedOut: return Outcome::TimedOut;
    case LineStatus::Interrupted: return Outcome::Interrupted;
    case LineStatus::Failed:
    case LineStatus::StillOpen: break;
    }
    return Outcome::Failed;
}

int exitCodeOf(Outcome outcome) {
    switch (outcome) {
    case Outcome::Completed:
    case Outcome::FaultPlayed:
    case Outcome::CloseLine: return 0;
    case Outcome::PeerProtocol: return 1;
    case Outcome::Failed: return 3;
    case Outcome::PeerClosed: return 4;
    case Outcome::TimedOut: return 5;
    case Outcome::Interrupted: return 130;
    }
    return 3;
}

const char* outcomeName(Outcome outcome) {
    switch (outcome) {
    case Outcome::Completed: return "completed";
    case Outcome::FaultPlayed: return "fault played, PC hung up";
    case Outcome::CloseLine: return "fault played, line closed";
    case Outcome::PeerProtocol: return "PC broke the protocol";
    case Outcome::PeerClosed: return "PC closed the port early";
    case Outcome::TimedOut: return "timed out";
    case Outcome::Failed: return "pty failed";
    case Outcome::Interrupted: return "interrupted";
    }
    return "?";
}

const Bytes& garbageBytes() {
    static const Bytes bytes{0x7E, 0x00, 0xFF, 0x13, 0x02, 0x45, 0x0D};
    return bytes;
}

bool faultDue(const Session& s, int framesDone, Fault::Kind kind) {
    return s.fault.kind == kind && framesDone == s.fault.frames;
}

Outcome waitForHangUp(Session& s) {
    std::size_t seen = 0;
    for (;;) {
        const LineStatus st = s.line.waitPeerClose(60000, seen);
        if (st == LineStatus::Ok) break;
        if (st != LineStatus::StillOpen) return outcomeOf(st);
    }
    if (seen) {
        s.detail = std::to_string(seen) + " unexpected byte(s) while waiting for the PC to give up";
        return Outcome::PeerProtocol;
    }
    return Outcome::FaultPlayed;
}
