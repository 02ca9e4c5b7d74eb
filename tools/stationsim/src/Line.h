// The instrument's view of the serial line over a pty: reads of an exact
// number of bytes, writes at full speed or paced like a 1200-baud line, a
// hex dump of everything the PC sends, and an optional overall deadline.
// Every call notices when the PC closes the port.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <vector>

#include "Pty.h"

enum class LineStatus { Ok, PeerClosed, TimedOut, Failed, Interrupted, StillOpen };

using Clock = std::chrono::steady_clock;
using Bytes = std::vector<std::uint8_t>;

struct LineOptions {
    bool baudPace = false;                 // 8.33 ms per byte
    std::FILE* dump = nullptr;             // one hex line per unit read
    bool hasDeadline = false;
    Clock::time_point deadline{};
};

// Set from a signal handler: every wait ends with Interrupted.
extern volatile int gLineInterrupted;

class Line {
public:
    Line(Pty& pty, const LineOptions& options) : pty_(pty), options_(options) {}

    // Reads exactly n bytes; dumps them as one line.
    LineStatus read(std::uint8_t* data, std::size_t n);
    LineStatus read(Bytes& data, std::size_t n) {
        data.resize(n);
        return read(data.data(), n);
    }

    LineStatus write(const std::uint8_t* data, std::size_t n);
    LineStatus write(const Bytes& data) { return write(data.data(), data.size()); }

    // Sleeps, ending early (PeerClosed) when the PC closes the port.
    LineStatus pause(int ms);

    // Waits until the PC closes the port (Ok) or ms have passed (StillOpen);
    // bytes the PC sends meanwhile are read, dumped and counted.
    LineStatus waitPeerClose(int ms, std::size_t& bytesSeen);

    // When the last write ended and when the first byte of the last read
    // arrived, for reply-latency figures.
    Clock::time_point lastWriteEnd() const { return lastWriteEnd_; }
    Clock::time_point lastReadStart() const { return lastReadStart_; }

private:
    LineStatus waitReadable(int sliceMs, bool& readable);
    LineStatus writeChunk(const std::uint8_t* data, std::size_t n);
    void dumpUnit(const std::uint8_t* data, std::size_t n);

    Pty& pty_;
    LineOptions options_;
    Clock::time_point lastWriteEnd_{};
    Clock::time_point lastReadStart_{};
};
