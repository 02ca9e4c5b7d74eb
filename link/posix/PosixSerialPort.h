// A serial port on a POSIX system (a tty device: a USB serial adapter, a
// built-in port, a pty in the tests), as the transfer workers use it.
//
// Opening: the device is opened for reading and writing without becoming
// the program's controlling terminal, and taken exclusively: an exclusive
// flock, which a second program of ours (or any that locks the same way)
// cannot get while we hold it, and TIOCEXCL, which makes the kernel refuse
// further opens of the device by other users' programs. A device that is
// not a terminal is refused. The device's settings are read first and put
// back on close, which the destructor does too; a program that ends without
// either (by exit(), or by a signal it does not catch) leaves the device
// with the settings made here.
//
// Settings while open: raw (no echo, no line editing, no translation of
// CR or LF, no software flow control, so every byte passes as it is),
// 1200 baud, 8 data bits, no parity, one stop bit, receiver on, modem
// control lines ignored; hardware flow control stays as the device had it.
// Reads return at once with what is queued; a write gives up after 5000 ms
// or when cancelWrites() is called from another thread.
//
// A vanished device (an adapter pulled out, the other side of a pty
// closed) makes every call fail; errorText() tells why.
#pragma once

#include <termios.h>

#include <atomic>
#include <memory>
#include <string>

#include "link/BytePort.h"

class PosixSerialPort : public BytePort {
public:
    static constexpr int kWriteTimeoutMs = 5000;

    // Opens and configures the device; nullptr on failure, with the reason
    // in error.
    static std::unique_ptr<PosixSerialPort> open(const std::string& device, std::string& error);

    ~PosixSerialPort() override { close(); }

    bool queued(std::size_t& count) override;
    bool read(std::uint8_t* data, std::size_t n, std::size_t& got) override;
    bool write(const std::uint8_t* data, std::size_t n) override;
    // Waits up to a second for what was written to leave, throws away what
    // was received and not read, puts the device's settings back and closes
    // it. After cancelWrites() it does not wait, and throws away what is
    // still to be sent as well.
    void close() override;

    // Makes a write in progress, and every later one, give up (the transfer
    // is being stopped). Safe from any thread.
    void cancelWrites() { cancel_ = true; }

    // The reason of the last failed call.
    std::string errorText() const;

    // How often queued() was called (for the link benchmark's poll count).
    int queuedCalls() const { return queuedCalls_; }

private:
    PosixSerialPort(int fd, const termios& saved) : fd_(fd), saved_(saved) {}
    bool fail(int error);

    int fd_;
    termios saved_;
    int error_ = 0;
    std::atomic<bool> cancel_{false};
    std::atomic<int> queuedCalls_{0};
};
