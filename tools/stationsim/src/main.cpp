// stationsim: a simulated total station on a pseudo-terminal (see usageText).
#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <thread>
#include <unistd.h>

#include "Instruments.h"
#include "Options.h"
#include "Pty.h"

namespace {

bool gQuiet = false;

void say(const std::string& text) {
    if (!gQuiet) std::fprintf(stderr, "stationsim: %s\n", text.c_str());
}

void onSignal(int) { gLineInterrupted = 1; }

struct Files {
    std::FILE* out = nullptr;
    std::FILE* dump = nullptr;
    ~Files() {
        if (out && out != stdout) std::fclose(out);
        if (dump) std::fclose(dump);
    }
};

bool loadPoints(const Options& o, std::vector<SimPoint>& points, std::string& error) {
    if (o.direction != Options::Direction::ToPc) return true;
    if (o.pointsFile.empty()) points = generatePoints(o.points);
    else if (!readPointFile(o.pointsFile, points, error)) return false;
    for (std::size_t i = 0; i < points.size(); ++i) {
        const std::string why = o.instrument->cannotCarry(points[i]);
        if (!why.empty()) {
            error = "point " + std::to_string(i + 1) + " (" + points[i].name + "): " + why;
            return false;
        }
    }
    return true;
}

bool startPty(Pty& pty, const Options& o) {
    if (!pty.open()) {
        std::fprintf(stderr, "stationsim: %s\n", pty.errorText().c_str());
        return false;
    }
    std::printf("%s\n", pty.slavePath().c_str());
    std::fflush(stdout);
    std::string error;
    if (!o.link.empty() && !publishLink(o.link, pty.slavePath(), error)) {
        std::fprintf(stderr, "stationsim: %s: %s\n", o.link.c_str(), error.c_str());
        return false;
    }
    say("instrument ready on " + pty.slavePath() + (o.link.empty() ? "" : " (" + o.link + ")"));
    return true;
}

// Waits until the PC opens the port; Ok, or why the wait ended.
LineStatus waitForPc(Pty& pty, const LineOptions& lo) {
    while (!pty.peerOpen()) {
        if (gLineInterrupted) return LineStatus::Interrupted;
        if (lo.hasDeadline && Clock::now() >= lo.deadline) return LineStatus::TimedOut;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return LineStatus::Ok;
}

Outcome play(const Options& o, Session& s) {
    return o.direction == Options::Direction::ToPc ? o.instrument->toPc(s) : o.instrument->fromPc(s);
}

void printStats(const std::vector<double>& ms) {
    if (ms.empty()) return;
    std::vector<double> v = ms;
    std::sort(v.begin(), v.end());
    const double median = v[v.size() / 2];
    const double p95 = v[std::min(v.size() - 1, (v.size() * 95 + 99) / 100 - 1)];
    std::fprintf(stderr, "stationsim: reply latency over %zu frames: median %.2f ms, p95 %.2f ms, max %.2f ms\n",
                 v.size(), median, p95, v.back());
}

}  // namespace

int main(int argc, char** argv) {
    Options o;
    std::string error;
    if (!parseOptions(argc, argv, o, error)) {
        std::fprintf(stderr, "stationsim: %s\n\n%s", error.c_str(), usageText());
        return 2;
    }
    if (o.help) {
        std::fputs(usageText(), stdout);
        return 0;
    }
    gQuiet = o.quiet;
    std::vector<SimPoint> points;
    if (!loadPoints(o, points, error)) {
        std::fprintf(stderr, "stationsim: %s\n", error.c_str());
        return 2;
    }
    Files files;
    if (!o.out.empty()) files.out = o.out == "-" ? stdout : std::fopen(o.out.c_str(), "w");
    if (!o.dump.empty()) files.dump = std::fopen(o.dump.c_str(), "w");
    if ((!o.out.empty() && !files.out) || (!o.dump.empty() && !files.dump)) {
        std::fprintf(stderr, "stationsim: cannot write %s: %s\n", (!files.out && !o.out.empty() ? o.out : o.dump).c_str(),
                     std::strerror(errno));
        return 3;
    }
    std::signal(SIGINT, onSignal);
    std::signal(SIGTERM, onSignal);
    std::signal(SIGPIPE, SIG_IGN);

    LineOptions lo;
    lo.baudPace = o.baudPace;
    lo.dump = files.dump;
    if (o.timeoutMs) {
        lo.hasDeadline = true;
        lo.deadline = Clock::now() + std::chrono::milliseconds(o.timeoutMs);
    }
    Pty pty;
    if (!startPty(pty, o)) return 3;

    Outcome outcome = Outcome::Completed;
    for (;;) {
        const LineStatus waited = waitForPc(pty, lo);
        if (waited != LineStatus::Ok) {
            outcome = outcomeOf(waited);
            break;
        }
        say("the PC opened the port");
        Line line(pty, lo);
        const LineStatus delayed = line.pause(o.startDelayMs);
        if (delayed == LineStatus::PeerClosed) {  // opened and closed again: not a transfer
            pty.drainSlave();
            continue;
        }
        if (delayed != LineStatus::Ok) {
            outcome = outcomeOf(delayed);
            break;
        }
        Session s{line, o.fault, points, {}, {}, {}};
        outcome = play(o, s);
        say(std::string("transfer ") + outcomeName(outcome) + (s.detail.empty() ? "" : ": " + s.detail) +
            (o.direction == Options::Direction::FromPc ? ", " + std::to_string(s.received.size()) + " point(s) received" : ""));
        if (o.stats) printStats(s.replyMs);
        if (files.out && !writePointFile(files.out, s.received)) {
            std::fprintf(stderr, "stationsim: cannot write %s\n", o.out.c_str());
            return 3;
        }
        if (outcome == Outcome::CloseLine) {
            pty.close();
            say("pty closed");
            if (!o.loop) break;
            if (!startPty(pty, o)) return 3;
            continue;
        }
        if (!o.loop || outcome == Outcome::Interrupted || outcome == Outcome::TimedOut || outcome == Outcome::Failed)
            break;
        std::size_t ignored = 0;
        while (line.waitPeerClose(1000, ignored) == LineStatus::StillOpen) {
        }
        pty.drainSlave();
    }
    if (!o.link.empty()) ::unlink(o.link.c_str());
    return exitCodeOf(outcome);
}
