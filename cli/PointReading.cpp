#include "cli/PointReading.h"

#include <cstring>

#include "cli/OutputFiles.h"
#include "cli/Report.h"
#include "files/ExchangeLine.h"
#include "files/LineSource.h"
#include "files/PointFormats.h"

namespace {

// Unreadable lines reported one by one per input; the rest are counted.
constexpr long kLinesShown = 10;
// How often a long reading looks whether the user has stopped it.
constexpr long kStopCheckLines = 4096;

bool stopped(ReadStreams& streams) {
    if (!streams.stopRequested || !streams.stopRequested()) return false;
    streams.report.program("stopped");
    return true;
}

}  // namespace

bool readPoints(const std::string& input, const PointFormat& from, bool strict, bool warn, ReadStreams& streams,
                const std::function<bool(const PointRecord& point, long line)>& onPoint) {
    Report& report = streams.report;
    const std::string shown = shownInputName(input);
    std::FILE* file = input == kStandardStream ? streams.standardInput : streams.files.openInput(input);
    if (!file) {
        report.onFile(shown, "cannot open: " + streams.files.errorText());
        return false;
    }
    LineSource lines(file);
    long number = 1;
    long unreadable = 0;
    bool ok = true;
    PointRecord point;
    while (const char* line = lines.next()) {
        const long here = number;
        const std::size_t length = std::strlen(line);
        // A piece of a line longer than the reader takes keeps its number.
        if (length < LineSource::kMaxPiece || line[length - 1] == '\n') ++number;
        if (!readPointLine(*from.exchange, line, point)) {
            if (strict) {
                report.atLine(shown, here, std::string("not a line of ") + from.name + " (--strict)");
                ok = false;
                break;
            }
            if (warn && ++unreadable <= kLinesShown)
                report.atLine(shown, here,
                              std::string("warning: not a line of ") + from.name +
                                  "; taken as far as it could be read");
        }
        if (!onPoint(point, here) || (here % kStopCheckLines == 0 && stopped(streams))) {
            ok = false;
            break;
        }
    }
    if (ok && lines.failed()) {
        if (!stopped(streams)) report.onFile(shown, "cannot read: " + streams.files.errorText());
        ok = false;
    }
    if (warn && unreadable > kLinesShown)
        report.onFile(shown, "warning: " + std::to_string(unreadable - kLinesShown) +
                                 " more lines that are not lines of " + from.name);
    if (file != streams.standardInput) std::fclose(file);
    return ok;
}
