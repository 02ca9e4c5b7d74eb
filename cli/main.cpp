// pointlink: the command-line companion of the window programs.
#include <cstdio>

#include "cli/Commands.h"
#include "cli/Console.h"

int main(int argc, char** argv) {
    Console& console = prepareConsole();
    int status = runPointlink(argc, argv, console, stdin, stdout, stderr);
    std::fflush(stdout);
    return console.exitStatus(status);
}
