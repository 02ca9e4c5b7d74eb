// A BytePort on a POSIX tty device (a pty slave in the tests and the
// benchmark): raw mode, reads that never wait, writes that give up after
// 5000 ms. A hang-up of the other side makes every call fail, as a vanished
// serial port does on the PC.
#pragma once

#include <atomic>
#include <string>

#include "link/BytePort.h"

class PosixBytePort : public BytePort {
public:
    ~PosixBytePort() override { close(); }

    bool open(const std::string& path);
    bool isOpen() const { return fd_ >= 0; }

    bool queued(std::size_t& count) override;
    bool read(std::uint8_t* data, std::size_t n, std::size_t& got) override;
    bool write(const std::uint8_t* data, std::size_t n) override;
    void close() override;

    // Makes a blocked write give up (the transfer is being stopped).
    void cancelWrites() { cancel_ = true; }

    int queuedCalls() const { return queuedCalls_; }

private:
    bool hungUp() const;

    int fd_ = -1;
    std::atomic<bool> cancel_{false};
    std::atomic<int> queuedCalls_{0};
};
