// The Windows console: standard input, output and error in binary mode, so
// that files pass through byte for byte; Ctrl-C and Ctrl-Break set a flag
// that the commands look at instead of ending the process.
#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <atomic>
#include <cstdio>

#include "cli/Console.h"
#include "cli/win32/Win32OutputFiles.h"

namespace {

std::atomic<bool> caught{false};

// Runs on a thread of its own that the system starts for the event.
BOOL WINAPI onControl(DWORD event) {
    if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT) return FALSE;
    caught = true;
    return TRUE;
}

class Win32Console : public Console {
public:
    Win32Console() {
        _setmode(_fileno(stdin), _O_BINARY);
        _setmode(_fileno(stdout), _O_BINARY);
        _setmode(_fileno(stderr), _O_BINARY);
        SetConsoleCtrlHandler(onControl, TRUE);
    }
    OutputFiles& files() override { return files_; }
    bool interrupted() override { return caught; }
    // After Ctrl-C, the status that Windows gives a program that Ctrl-C ended.
    int exitStatus(int status) override { return caught ? static_cast<int>(STATUS_CONTROL_C_EXIT) : status; }

private:
    Win32OutputFiles files_;
};

}  // namespace

Console& prepareConsole() {
    static Win32Console console;
    return console;
}
