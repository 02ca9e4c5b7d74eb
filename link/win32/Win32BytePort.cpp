#include "link/win32/Win32BytePort.h"

#include <cctype>

std::string portDevicePath(const std::string& name) {
    if (name.size() > 4 && (name[0] == 'C' || name[0] == 'c') && (name[1] == 'O' || name[1] == 'o') &&
        (name[2] == 'M' || name[2] == 'm')) {
        bool digits = true;
        for (std::size_t i = 3; i < name.size(); ++i)
            digits = digits && std::isdigit(static_cast<unsigned char>(name[i]));
        if (digits) return "\\\\.\\" + name;
    }
    return name;
}

void cancelPendingIo(HANDLE thread) {
    using CancelFn = BOOL(WINAPI*)(HANDLE);
    static auto cancel = reinterpret_cast<CancelFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "CancelSynchronousIo")));
    if (cancel) cancel(thread);
}

std::unique_ptr<Win32BytePort> Win32BytePort::open(const std::string& name) {
    HANDLE handle = CreateFileA(portDevicePath(name).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return nullptr;
    auto port = std::make_unique<Win32BytePort>(handle);

    COMMTIMEOUTS timeouts = {};
    timeouts.ReadIntervalTimeout = MAXDWORD;  // reads return at once
    timeouts.WriteTotalTimeoutConstant = 5000;
    DCB state = {};
    state.DCBlength = sizeof state;
    bool ok = SetCommTimeouts(handle, &timeouts) && GetCommState(handle, &state);
    if (ok) {
        state.BaudRate = CBR_1200;
        state.ByteSize = 8;
        state.Parity = NOPARITY;
        state.StopBits = ONESTOPBIT;
        ok = SetCommState(handle, &state);
    }
    if (!ok) {
        DWORD error = GetLastError();
        port->close();
        SetLastError(error);
        return nullptr;
    }
    return port;
}

bool Win32BytePort::queued(std::size_t& count) {
    DWORD errors = 0;
    COMSTAT status = {};
    if (!ClearCommError(handle_, &errors, &status)) return false;
    count = status.cbInQue;
    return true;
}

bool Win32BytePort::read(std::uint8_t* data, std::size_t n, std::size_t& got) {
    DWORD count = 0;
    BOOL ok = ReadFile(handle_, data, static_cast<DWORD>(n), &count, nullptr);
    got = count;
    return ok != FALSE;
}

// A write that the line did not take in full within the time-out is a
// failure: the instrument would otherwise wait for bytes that never come.
bool Win32BytePort::write(const std::uint8_t* data, std::size_t n) {
    DWORD written = 0;
    if (!WriteFile(handle_, data, static_cast<DWORD>(n), &written, nullptr)) return false;
    if (written != n) {
        SetLastError(ERROR_TIMEOUT);
        return false;
    }
    return true;
}

void Win32BytePort::close() {
    if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
    handle_ = INVALID_HANDLE_VALUE;
}
