// The Windows console: standard input, output and error in binary mode, so
// that files pass through byte for byte; Ctrl-C and Ctrl-Break set a flag
// that the commands look at instead of ending the process. Files as
// Win32ConsoleFiles writes them; serial ports as the window programs open
// them; PROJ's database, proj.db, beside the program, where the zip and the
// installer put it.
#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <atomic>
#include <cstdio>
#include <string>

#include "cli/Console.h"
#include "cli/win32/Win32ConsoleFiles.h"
#include "files/proj/ProjCoordinateSystems.h"
#include "link/win32/Win32BytePort.h"
#include "win32/ProgramFolder.h"
#include "win32/SystemErrorText.h"

namespace {

std::atomic<bool> caught{false};

// Runs on a thread of its own that the system starts for the event.
BOOL WINAPI onControl(DWORD event) {
    if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT) return FALSE;
    caught = true;
    return TRUE;
}

// The port of the window programs. A stop cancels the call that blocks the
// worker's thread (whose handle the port takes at the worker's first call).
class Win32ConsolePort : public ConsolePort {
public:
    explicit Win32ConsolePort(std::unique_ptr<Win32BytePort> port) : port_(std::move(port)) {}
    ~Win32ConsolePort() override {
        if (HANDLE thread = thread_.load()) CloseHandle(thread);
    }
    bool queued(std::size_t& count) override { return note(port_->queued(count)); }
    bool read(std::uint8_t* data, std::size_t n, std::size_t& got) override {
        return note(port_->read(data, n, got));
    }
    bool write(const std::uint8_t* data, std::size_t n) override {
        takeThread();
        if (cancelled_) {
            error_ = ERROR_OPERATION_ABORTED;
            return false;
        }
        return note(port_->write(data, n));
    }
    void close() override { port_->close(); }
    void cancel() override {
        cancelled_ = true;
        if (HANDLE thread = thread_.load()) cancelPendingIo(thread);
    }
    std::string errorText() override { return systemErrorText(error_); }

private:
    void takeThread() {
        if (thread_.load()) return;
        HANDLE own = nullptr;
        if (DuplicateHandle(GetCurrentProcess(), GetCurrentThread(), GetCurrentProcess(), &own, 0, FALSE,
                            DUPLICATE_SAME_ACCESS))
            thread_ = own;
    }
    bool note(bool ok) {
        if (!ok) error_ = cancelled_ ? ERROR_OPERATION_ABORTED : GetLastError();
        return ok;
    }

    std::unique_ptr<Win32BytePort> port_;
    std::atomic<HANDLE> thread_{nullptr};
    std::atomic<bool> cancelled_{false};
    DWORD error_ = 0;
};

class Win32Console : public Console {
public:
    Win32Console() {
        _setmode(_fileno(stdin), _O_BINARY);
        _setmode(_fileno(stdout), _O_BINARY);
        _setmode(_fileno(stderr), _O_BINARY);
        SetConsoleCtrlHandler(onControl, TRUE);
    }
    ConsoleFiles& files() override { return files_; }
    CoordinateSystems& coordinateSystems() override {
        if (!systems_) systems_ = openProjCoordinateSystems(programFolder());
        return *systems_;
    }
    std::unique_ptr<ConsolePort> openPort(const std::string& device, std::string& error) override {
        std::unique_ptr<Win32BytePort> port = Win32BytePort::open(device);
        if (!port) {
            error = systemErrorText(GetLastError());
            return nullptr;
        }
        return std::make_unique<Win32ConsolePort>(std::move(port));
    }
    bool interrupted() override { return caught; }
    // After Ctrl-C, the status that Windows gives a program that Ctrl-C ended.
    int exitStatus(int status) override { return caught ? static_cast<int>(STATUS_CONTROL_C_EXIT) : status; }

private:
    Win32ConsoleFiles files_;
    std::unique_ptr<CoordinateSystems> systems_;
};

}  // namespace

Console& prepareConsole() {
    static Win32Console console;
    return console;
}
