// An open serial port as the transfer workers see it: 1200 baud, 8 data bits,
// no parity, one stop bit, reads that never wait and writes that give up
// after 5000 ms. The platform opens and configures it; workers only use it.
//
// Every operation returns false when the platform call failed; the platform
// keeps the reason so that WorkerHost::failedPlatform can report it.
#pragma once

#include <cstddef>
#include <cstdint>

class BytePort {
public:
    virtual ~BytePort() = default;

    // How many received bytes wait in the input queue.
    virtual bool queued(std::size_t& count) = 0;

    // Reads up to n bytes that are already queued, never waiting; got tells
    // how many arrived (possibly 0).
    virtual bool read(std::uint8_t* data, std::size_t n, std::size_t& got) = 0;

    // Writes n bytes; fails when the line does not take them within 5000 ms
    // or the transfer is being stopped.
    virtual bool write(const std::uint8_t* data, std::size_t n) = 0;

    // Closes the port. Safe to call more than once; after it no operation
    // touches the device again.
    virtual void close() = 0;
};
