// What pointlink needs of the system it runs on beyond standard C++: its
// file system, its serial ports, and Ctrl-C as a request to stop cleanly.
// One implementation per platform (cli/posix, cli/win32).
#pragma once

#include <cstdio>
#include <memory>
#include <string>

#include "link/BytePort.h"

class FileSystem;

// The platform's part of writing a file safely, beyond FileSystem.
class ConsoleFiles {
public:
    virtual ~ConsoleFiles() = default;

    virtual FileSystem& system() = 0;

    // Hands what was written to the open file to the disk (not only to the
    // system's cache); false on failure (system().lastErrorText()).
    virtual bool syncToDisk(std::FILE* file) = 0;

    // The file that writing to target must replace: where a symbolic link
    // points, so that the link stays a link; target itself otherwise.
    virtual std::string realTarget(const std::string& target) = 0;
};

// A serial port as pointlink opens it (see BytePort.h; 1200 baud 8N1).
class ConsolePort : public BytePort {
public:
    // Makes a port call in progress on the worker's thread, and every later
    // write, give up at once (the transfer is being stopped). Safe from any
    // thread.
    virtual void cancel() = 0;

    // The platform's words for the last failed call.
    virtual std::string errorText() = 0;
};

class Console {
public:
    virtual ~Console() = default;

    virtual ConsoleFiles& files() = 0;

    // Opens and configures the named device exclusively; nullptr with the
    // platform's words in error when it cannot.
    virtual std::unique_ptr<ConsolePort> openPort(const std::string& device, std::string& error) = 0;

    // True once the user has pressed Ctrl-C (or the program was asked to
    // end). The command then stops at once and cleans up.
    virtual bool interrupted() = 0;

    // The program's exit status for a command that ended with status: after
    // a Ctrl-C the platform's own way of saying "stopped by the user" (on
    // POSIX the program then ends by the signal itself, as shells expect).
    virtual int exitStatus(int status) = 0;
};

// Prepares standard input and output for bytes, and Ctrl-C for a clean
// stop; gives this platform's console.
Console& prepareConsole();
