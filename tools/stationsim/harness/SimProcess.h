// Runs the stationsim program as a child process for tests and benchmarks:
// starts it with a --link in a private temporary folder, waits for the
// link, and collects the exit status with a time limit.
#pragma once

#include <string>
#include <sys/types.h>
#include <vector>

class SimProcess {
public:
    // Makes a private temporary folder for the link and any files.
    SimProcess();
    ~SimProcess();  // kills the child if it still runs, removes the folder

    // Starts stationsim with args plus "--link <dir>/com". stderrFile: where
    // its messages go ("" to drop them).
    bool start(const std::vector<std::string>& args, const std::string& stderrFile = "");

    // Waits until the link to the pty exists.
    bool waitForLink(int limitMs);

    // The exit status, or -1 when it did not end within limitMs (it is
    // then killed).
    int waitExit(int limitMs);

    // Asks the simulator to stop (SIGINT); it then exits with 130.
    void interrupt();

    std::string dir() const { return dir_; }
    std::string linkPath() const { return dir_ + "/com"; }
    std::string file(const std::string& name) const { return dir_ + "/" + name; }

private:
    std::string dir_;
    pid_t pid_ = -1;
};

std::string readWholeFile(const std::string& path);
