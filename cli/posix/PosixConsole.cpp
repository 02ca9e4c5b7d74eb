// The POSIX console: standard streams are bytes already; Ctrl-C (SIGINT)
// and SIGTERM set a flag that the commands look at. The handler is
// installed without SA_RESTART, so that a read or wait in progress returns
// and the command sees the flag at once.
#include <csignal>
#include <unistd.h>

#include "cli/Console.h"
#include "cli/posix/PosixOutputFiles.h"

namespace {

volatile std::sig_atomic_t caught = 0;

extern "C" void onSignal(int number) { caught = number; }

class PosixConsole : public Console {
public:
    PosixConsole() {
        struct sigaction action {};
        action.sa_handler = onSignal;
        sigemptyset(&action.sa_mask);
        action.sa_flags = 0;
        sigaction(SIGINT, &action, nullptr);
        sigaction(SIGTERM, &action, nullptr);
    }
    OutputFiles& files() override { return files_; }
    bool interrupted() override { return caught != 0; }
    int exitStatus(int status) override {
        if (caught == 0) return status;
        // Ends by the signal that stopped it, so that a shell or a script
        // sees a program stopped by the user, not one that failed.
        int number = caught;
        std::signal(number, SIG_DFL);
        raise(number);
        return 128 + number;
    }

private:
    PosixOutputFiles files_;
};

}  // namespace

Console& prepareConsole() {
    static PosixConsole console;
    return console;
}
