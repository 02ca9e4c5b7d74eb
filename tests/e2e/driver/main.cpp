// e2edriver: drives the programs under test from a test script.
//
// Runs in the same Wine prefix as the program under test and reads one
// request per line on stdin, answering each with exactly one line on stdout
// ("ok ..." or "err ..."); see Commands.h for the verbs. It never blocks
// without a time-out, so a hung program shows up as an "err" reply.
#include "Commands.h"
#include "DriverError.h"
#include "Request.h"

#include <cstdio>
#include <exception>
#include <string>

#include <fcntl.h>
#include <io.h>

namespace {

// Keeps the reply on one printable line.
std::string oneLine(std::string text) {
    for (char& c : text) {
        if (c < 32 || c > 126) c = ' ';
    }
    return text;
}

bool readLine(std::string& line) {
    line.clear();
    int c;
    while ((c = std::getchar()) != EOF) {
        if (c == '\n') return true;
        if (c != '\r') line += static_cast<char>(c);
    }
    return !line.empty();
}

}  // namespace

int main() {
    _setmode(_fileno(stdin), _O_BINARY);
    _setmode(_fileno(stdout), _O_BINARY);
    std::string line;
    while (readLine(line)) {
        if (line.empty()) continue;
        std::string reply;
        bool quit = false;
        try {
            e2e::Request request(line);
            quit = request.verb() == "quit";
            reply = quit ? "ok" : e2e::runCommand(request);
        } catch (const std::exception& error) {
            reply = "err " + oneLine(error.what());
        }
        std::fputs(reply.c_str(), stdout);
        std::fputc('\n', stdout);
        std::fflush(stdout);
        if (quit) break;
    }
    return 0;
}
