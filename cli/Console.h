// What pointlink needs of the system it runs on beyond standard C++: its
// file system, its serial ports, Ctrl-C as a request to stop cleanly, and
// the coordinate systems with the database where the platform keeps it.
// One implementation per platform (cli/posix, cli/win32).
#pragma once

#include <cstdio>
#include <memory>
#include <string>

#include "link/BytePort.h"

class CoordinateSystems;
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

    // Opens target for writing into it when it is something that is written
    // into rather than replaced: on POSIX a FIFO, a character device (a
    // terminal, /dev/null) or a socket, or a symbolic link to one; on
    // Windows a device (NUL, CON) or a pipe. Never creates or truncates a
    // file. inPlace tells whether target is such a thing. When it is not (a
    // file, a folder, a name not taken), returns nullptr: the target is
    // written by replacing it. When it is, returns the open stream, in
    // binary mode, or nullptr with the reason in system().lastErrorText().
    // Opening a FIFO waits for its reader, as a shell's redirection does.
    virtual std::FILE* openInPlace(const std::string& target, bool& inPlace) = 0;

    // Whether the file system of folder takes names that differ only in
    // case for one file (P1.pts and p1.PTS): always on Windows; on POSIX
    // where the folder is case-insensitive (a FAT or case-folding folder).
    virtual bool foldsCase(const std::string& folder) = 0;

    // Orders file names as a folder's file system tells them apart: less
    // than, equal to or greater than 0. With fold, names that differ only in
    // case compare equal, as that file system folds them.
    virtual int compareFileNames(const std::string& a, const std::string& b, bool fold) = 0;
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

    // The coordinate systems that --crs names (files/CoordinateSystem.h),
    // over PROJ's database: the system's own on Linux, the one that ships
    // beside pointlink.exe on Windows. Opened at the first call.
    virtual CoordinateSystems& coordinateSystems() = 0;

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
