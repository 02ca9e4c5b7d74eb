// A serial port opened through CreateFileA: exclusive, 1200 baud 8N1, reads
// that return at once with what is queued, writes that give up after 5000 ms.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "link/BytePort.h"

class Win32BytePort : public BytePort {
public:
    // Opens and configures the named port; nullptr on failure with the
    // platform's error code in GetLastError().
    static std::unique_ptr<Win32BytePort> open(const std::string& name);

    explicit Win32BytePort(HANDLE handle) : handle_(handle) {}
    ~Win32BytePort() override { close(); }

    bool queued(std::size_t& count) override;
    bool read(std::uint8_t* data, std::size_t n, std::size_t& got) override;
    bool write(const std::uint8_t* data, std::size_t n) override;
    void close() override;

private:
    HANDLE handle_;
};

// Cancels a port call that blocks on that thread (a write the line does not
// take), where the system offers it (CancelSynchronousIo).
void cancelPendingIo(HANDLE thread);

// The device path that opens a port name: "COM10" and above only open as
// "\\.\COM10"; every other name is used as typed.
std::string portDevicePath(const std::string& name);
