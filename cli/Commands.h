// The pointlink command line: the commands, their options and help, and
// the exit status (0 success, 1 failure, 2 wrong usage).
#pragma once

#include <cstdio>

class Console;

// Runs the command line argv; out and err are standard output and error,
// in binary mode on every platform (help and messages end lines with LF).
int runPointlink(int argc, const char* const* argv, Console& console, std::FILE* in, std::FILE* out,
                 std::FILE* err);
