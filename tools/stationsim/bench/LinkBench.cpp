// Figures of the workers' waiting over a real pty against stationsim: the
// CPU the worker thread spends while it waits, its polls per second, and
// the instrument's view of how fast each Korvel frame reply comes.
//
// Usage: stationsim_linkbench [points]   (default 20 points at 1200 baud)
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

#include "PosixBytePort.h"
#include "RealtimeHost.h"
#include "SimProcess.h"
#include "link/KorvelWorkers.h"

namespace {

double threadCpuMs() {
    rusage u{};
    getrusage(RUSAGE_THREAD, &u);
    return (u.ru_utime.tv_sec + u.ru_stime.tv_sec) * 1e3 + (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e3;
}

struct Figures {
    double wallMs = 0, cpuMs = 0;
    int polls = 0;
    std::string ending, simLog;
};

Figures receive(const std::vector<std::string>& simArgs) {
    Figures f;
    SimProcess sim;
    std::vector<std::string> args{"--model", "korvel", "--direction", "to-pc", "--stats", "--timeout", "600000"};
    args.insert(args.end(), simArgs.begin(), simArgs.end());
    PosixBytePort port;
    if (!sim.start(args, sim.file("log")) || !sim.waitForLink(5000) || !port.open(sim.linkPath())) {
        f.ending = "could not start the simulator";
        return f;
    }
    RealtimeHost host(std::chrono::minutes(10));
    std::thread worker([&] {
        const auto start = std::chrono::steady_clock::now();
        const double cpu0 = threadCpuMs();
        runKorvelReceive(port, host);
        f.cpuMs = threadCpuMs() - cpu0;
        f.wallMs = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    });
    worker.join();
    f.polls = port.queuedCalls();
    f.ending = host.ending();
    sim.waitExit(10000);
    f.simLog = readWholeFile(sim.file("log"));
    return f;
}

void print(const char* what, const Figures& f) {
    std::printf("%s\n", what);
    std::printf("  ending: %s\n", f.ending.c_str());
    std::printf("  wall %.0f ms, worker CPU %.1f ms = %.2f %% of a core, %d polls (%.0f per second)\n", f.wallMs,
                f.cpuMs, f.wallMs > 0 ? 100.0 * f.cpuMs / f.wallMs : 0.0, f.polls,
                f.wallMs > 0 ? f.polls * 1000.0 / f.wallMs : 0.0);
    const std::size_t at = f.simLog.find("reply latency");
    if (at != std::string::npos) std::printf("  %s", f.simLog.substr(at).c_str());
}

}  // namespace

int main(int argc, char** argv) {
    const std::string points = argc > 1 ? argv[1] : "20";
    print("Korvel receive, instrument silent for 5 s before its handshake, then 1 point:",
          receive({"--points", "1", "--start-delay", "5000"}));
    print(("Korvel receive of " + points + " points paced at 1200 baud:").c_str(),
          receive({"--points", points, "--baud-pace", "--start-delay", "50"}));
    print("Korvel receive of 500 points at full pty speed:", receive({"--points", "500", "--start-delay", "50"}));
    return 0;
}
