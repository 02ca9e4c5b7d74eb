// What pointlink needs of the system it runs on beyond standard C++: its
// files, and Ctrl-C as a request to stop cleanly. One implementation per
// platform (cli/posix, cli/win32).
#pragma once

#include <cstdio>

class OutputFiles;

class Console {
public:
    virtual ~Console() = default;

    virtual OutputFiles& files() = 0;

    // True once the user has pressed Ctrl-C. The first Ctrl-C only sets
    // this; the command then stops at once and cleans up.
    virtual bool interrupted() = 0;

    // The program's exit status for a command that ended with status: after
    // a Ctrl-C the platform's own way of saying "stopped by the user" (on
    // POSIX the program then ends by the signal itself, as shells expect).
    virtual int exitStatus(int status) = 0;
};

// Prepares standard input and output for bytes, and Ctrl-C for a clean
// stop; gives this platform's console.
Console& prepareConsole();
