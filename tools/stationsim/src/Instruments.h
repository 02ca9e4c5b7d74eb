// The two simulated instruments, each in both directions. "ToPc" plays a
// transfer in which the instrument sends its points (the PC pressed Recv);
// "FromPc" one in which the PC sends its list (the PC pressed Send).
//
// Korvel: handshake 01 53 0D, which the PC must echo; 60-byte frames with
// "%04d%04d" counters, each answered with its bytes 0..8 and CR when the
// instrument sends, each answered with 3 acknowledgement bytes when the PC
// sends; end message 01 45 0D after the instrument's last frame.
// Tassin: 66-byte frames with packed numbers and an end frame, no answers;
// for a send, the sync A0 01 A5, then 57-byte frames each answered with 3
// bytes until the total the frames announce.
#pragma once

#include <string>

#include "Session.h"

Outcome korvelToPc(Session& s);
Outcome korvelFromPc(Session& s);
Outcome tassinToPc(Session& s);
Outcome tassinFromPc(Session& s);

// Empty when the instrument's frames can carry the point, else why not.
std::string korvelCannotCarry(const SimPoint& p);
std::string tassinCannotCarry(const SimPoint& p);

// One simulated instrument family, as the command line names it.
struct SimInstrument {
    const char* name;  // "korvel"
    Outcome (*toPc)(Session& s);
    Outcome (*fromPc)(Session& s);
    std::string (*cannotCarry)(const SimPoint& p);
    // It opens a transfer to the PC with a handshake (which a fault can spoil).
    bool handshakesToPc;
};

// The instrument of that name, or nullptr.
const SimInstrument* findInstrument(const std::string& name);
