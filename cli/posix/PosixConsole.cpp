// The POSIX console: standard streams are bytes already; Ctrl-C (SIGINT)
// and SIGTERM set a flag that the commands look at. The handler is
// installed without SA_RESTART, so that a read or wait in progress returns
// and the command sees the flag at once.
#include <csignal>
#include <unistd.h>

#include "cli/Console.h"
#include "cli/posix/PosixConsoleFiles.h"
#include "files/proj/ProjCoordinateSystems.h"
#include "link/posix/PosixSerialPort.h"

namespace {

volatile std::sig_atomic_t caught = 0;

extern "C" void onSignal(int number) { caught = number; }

class PosixConsolePort : public ConsolePort {
public:
    explicit PosixConsolePort(std::unique_ptr<PosixSerialPort> port) : port_(std::move(port)) {}
    bool queued(std::size_t& count) override { return port_->queued(count); }
    bool read(std::uint8_t* data, std::size_t n, std::size_t& got) override { return port_->read(data, n, got); }
    bool write(const std::uint8_t* data, std::size_t n) override { return port_->write(data, n); }
    void close() override { port_->close(); }
    void cancel() override { port_->cancelWrites(); }
    std::string errorText() override { return port_->errorText(); }

private:
    std::unique_ptr<PosixSerialPort> port_;
};

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
    ConsoleFiles& files() override { return files_; }
    CoordinateSystems& coordinateSystems() override {
        if (!systems_) systems_ = openProjCoordinateSystems(std::string());
        return *systems_;
    }
    std::unique_ptr<ConsolePort> openPort(const std::string& device, std::string& error) override {
        std::unique_ptr<PosixSerialPort> port = PosixSerialPort::open(device, error);
        if (!port) return nullptr;
        return std::make_unique<PosixConsolePort>(std::move(port));
    }
    bool interrupted() override { return caught != 0; }
    int exitStatus(int status) override {
        if (caught == 0) return status;
        // Ends by the signal that stopped it, so that a shell or a script
        // sees a program stopped by the user, not one that failed.
        const int number = caught;
        std::signal(number, SIG_DFL);
        raise(number);
        return 128 + number;
    }

private:
    PosixConsoleFiles files_;
    std::unique_ptr<CoordinateSystems> systems_;
};

}  // namespace

Console& prepareConsole() {
    static PosixConsole console;
    return console;
}
