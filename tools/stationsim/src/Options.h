// Command line of the simulator.
#pragma once

#include <string>

#include "Session.h"

struct SimInstrument;

struct Options {
    enum class Direction { ToPc, FromPc };

    const SimInstrument* instrument = nullptr;  // --model
    Direction direction = Direction::ToPc;
    std::string link;        // symlink to the pty slave
    int points = 3;          // generated points, when no file is given
    std::string pointsFile;
    std::string out;         // received points, "-" for stdout
    std::string dump;        // hex dump of the bytes the PC sent
    Fault fault;
    bool baudPace = false;
    int startDelayMs = 300;
    bool loop = false;
    int timeoutMs = 0;       // 0: no limit
    bool stats = false;
    bool quiet = false;
    bool help = false;
};

// False with error set when the command line is not understood.
bool parseOptions(int argc, char** argv, Options& options, std::string& error);

const char* usageText();
