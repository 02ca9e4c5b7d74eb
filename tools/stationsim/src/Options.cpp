#include "Options.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "Instruments.h"

namespace {

bool toInt(const std::string& text, int min, int& value) {
    if (text.empty()) return false;
    errno = 0;
    char* end = nullptr;
    const long v = std::strtol(text.c_str(), &end, 10);
    if (errno || *end || v < min || v > 100000000) return false;
    value = static_cast<int>(v);
    return true;
}

bool parseFault(const std::string& text, Fault& fault) {
    const std::size_t eq = text.find('=');
    const std::string kind = text.substr(0, eq);
    const std::string count = eq == std::string::npos ? "" : text.substr(eq + 1);
    if (kind == "wrong-handshake" && count.empty()) {
        fault.kind = Fault::Kind::WrongHandshake;
        return true;
    }
    if (kind == "garbage") {
        fault.kind = Fault::Kind::Garbage;
        fault.frames = 1;
        return count.empty() || toInt(count, 1, fault.frames);
    }
    if (kind == "silent-after") fault.kind = Fault::Kind::SilentAfter;
    else if (kind == "close-after") fault.kind = Fault::Kind::CloseAfter;
    else return false;
    return toInt(count, 0, fault.frames);
}

}  // namespace

bool parseOptions(int argc, char** argv, Options& o, std::string& error) {
    bool haveModel = false, haveDirection = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        auto value = [&](std::string& v) {
            if (i + 1 >= argc) return false;
            v = argv[++i];
            return true;
        };
        std::string v;
        if (arg == "--help" || arg == "-h") {
            o.help = true;
            return true;
        } else if (arg == "--model" && value(v) && findInstrument(v)) {
            o.instrument = findInstrument(v);
            haveModel = true;
        } else if (arg == "--direction" && value(v) && (v == "to-pc" || v == "from-pc")) {
            o.direction = v == "to-pc" ? Options::Direction::ToPc : Options::Direction::FromPc;
            haveDirection = true;
        } else if (arg == "--link" && value(o.link)) {
        } else if (arg == "--points" && value(v) && toInt(v, 0, o.points)) {
        } else if (arg == "--points-file" && value(o.pointsFile)) {
        } else if (arg == "--out" && value(o.out)) {
        } else if (arg == "--dump" && value(o.dump)) {
        } else if (arg == "--fault" && value(v) && parseFault(v, o.fault)) {
        } else if (arg == "--baud-pace") {
            o.baudPace = true;
        } else if (arg == "--start-delay" && value(v) && toInt(v, 0, o.startDelayMs)) {
        } else if (arg == "--loop") {
            o.loop = true;
        } else if (arg == "--timeout" && value(v) && toInt(v, 1, o.timeoutMs)) {
        } else if (arg == "--stats") {
            o.stats = true;
        } else if (arg == "--quiet") {
            o.quiet = true;
        } else {
            error = "cannot use argument '" + arg + "'" + (v.empty() ? "" : " with '" + v + "'");
            return false;
        }
    }
    if (!haveModel || !haveDirection) {
        error = "--model and --direction are required";
        return false;
    }
    if (o.fault.kind == Fault::Kind::WrongHandshake && !o.instrument->handshakesToPc &&
        o.direction == Options::Direction::ToPc) {
        error = "a Tassin receive has no handshake to get wrong";
        return false;
    }
    return true;
}

const char* usageText() {
    return R"(Usage: stationsim --model korvel|tassin --direction to-pc|from-pc [options]

Plays a Korvel or Tassin total station on a pseudo-terminal. Prints the
pty's slave device on the first line of standard output; open that device
(or the --link) as the PC's serial port, e.g. a Wine COM port.

  --direction to-pc    the instrument sends points (press Recv on the PC)
  --direction from-pc  the PC sends its list (press Send on the PC)

Options:
  --link PATH          keep a symlink at PATH pointing at the pty slave
  --points N           send N generated points (to-pc; default 3)
  --points-file FILE   send the points of FILE: one "name,mark,n,e,z" a line,
                       '#' starts a comment line
  --out FILE           write the points received from the PC to FILE in the
                       same format ("-" for standard output)
  --dump FILE          write every unit the PC sent as one line of hex bytes
  --fault KIND         wrong-handshake   open with the wrong handshake/sync
                       silent-after=N    go silent after N frames, line open
                       close-after=N     close the pty after N frames
                       garbage[=N]       7 garbage bytes after frame N (1)
  --baud-pace          pace bytes like 1200 baud (8.33 ms a byte)
  --start-delay MS     wait after the PC opened the port (default 300)
  --loop               serve one transfer after another until interrupted
  --timeout MS         give up after MS milliseconds (exit 5)
  --stats              print reply latency figures (Korvel to-pc)
  --quiet              print only errors

A transfer starts when the PC opens the port: the instrument waits until a
process opens the pty slave, then the start delay, then opens the exchange.
When the PC closes the port, the transfer ends and bytes left on the line
are thrown away; with --loop the next open starts the next transfer.

Exit status: 0 transfer completed, or the fault was played and the PC gave
up; 1 the PC broke the protocol; 2 bad command line or point file; 3 pty or
file failure; 4 the PC closed the port before the transfer ended; 5 timed
out; 130 interrupted.
)";
}
