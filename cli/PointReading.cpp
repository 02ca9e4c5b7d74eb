#include "cli/PointReading.h"

#include <cstring>

#include "cli/OutputFiles.h"
#include "cli/Report.h"
#include "files/FileSystem.h"
#include "files/ReadAhead.h"
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
    // A file is read ahead of its points' writing; standard input, a
    // terminal or a pipe as it comes, so that Ctrl-C stops a wait for it.
    FileSystem& system = streams.files.system();
    ReadAhead lines(file, *from.exchange, system, file != streams.standardInput && system.isPlainFile(file));
    long unreadable = 0;
    bool ok = true;
    while (const AheadPoint* read = lines.next()) {
        if (!read->whole) {
            if (strict) {
                report.atLine(shown, read->line, std::string("not a line of ") + from.name + " (--strict)");
                ok = false;
                break;
            }
            if (warn && ++unreadable <= kLinesShown)
                report.atLine(shown, read->line,
                              std::string("warning: not a line of ") + from.name +
                                  "; taken as far as it could be read");
        }
        if (!onPoint(read->point, read->line) || (read->line % kStopCheckLines == 0 && stopped(streams))) {
            ok = false;
            break;
        }
    }
    if (ok && lines.failed()) {
        if (!stopped(streams)) report.onFile(shown, "cannot read: " + lines.errorText());
        ok = false;
    }
    if (warn && unreadable > kLinesShown)
        report.onFile(shown, "warning: " + std::to_string(unreadable - kLinesShown) +
                                 " more lines that are not lines of " + from.name);
    if (file != streams.standardInput) std::fclose(file);
    return ok;
}
