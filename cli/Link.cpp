#include "cli/Link.h"

#include <vector>

#include "cli/Console.h"
#include "cli/Instruments.h"
#include "cli/OutputFiles.h"
#include "cli/OutsideArea.h"
#include "cli/PointReading.h"
#include "cli/Report.h"
#include "cli/Transfer.h"
#include "files/PointFormats.h"
#include "files/TextSink.h"
#include "link/LinkProtocol.h"
#include "points/PointRecord.h"
#include "points/PointStore.h"

namespace {

// What went wrong with a transfer that did not end normally, for its port.
void reportEnd(TransferEnd end, const ConsoleHost& host, const Instrument& instrument, const std::string& port,
               Report& report) {
    switch (end) {
    case TransferEnd::Finished:
        break;
    case TransferEnd::PortFailed:
        report.onFile(port, host.reason());
        break;
    case TransferEnd::WrongOpening:
        report.onFile(port, std::string("the instrument did not open the transfer as a ") + instrument.modelName +
                                " instrument does (frame head error)");
        break;
    case TransferEnd::TooManyPoints:
        report.onFile(port, std::string("more points than a ") + instrument.modelName + " send can count");
        break;
    case TransferEnd::InternalFailure:
        report.program("out of memory");
        break;
    case TransferEnd::Stopped:
        break;  // reported by whoever stopped it
    }
}

// Where a receive writes its points: a new file beside the target, which
// takes the target's place at the end; or, for standard output, a FIFO or
// a device, the target itself, written into as the points come.
class ReceiveOutput {
public:
    ReceiveOutput(const std::string& target, LinkStreams& streams)
        : target_(target), shown_(shownOutputName(target)), streams_(streams) {}
    ~ReceiveOutput() { drop(); }

    // False, having reported why, when the output cannot be written.
    bool open() {
        OutputFiles& files = streams_.files;
        inPlace_ = target_ == kStandardStream;
        file_ = inPlace_ ? streams_.out : files.openInPlace(target_, inPlace_);
        if (!inPlace_) file_ = files.createBeside(target_, temp_);
        if (!file_)
            streams_.report.onFile(target_, (inPlace_ ? "cannot open: " : "cannot write a file in its folder: ") +
                                                files.errorText());
        return file_ != nullptr;
    }
    std::FILE* file() const { return file_; }
    bool inPlace() const { return inPlace_; }
    const std::string& shown() const { return shown_; }

    // What was written stays: the new file takes the target's place, a
    // stream is closed. False, having reported why, when that fails; a
    // target that was to be replaced is then as it was.
    bool keep() {
        std::FILE* file = file_;
        file_ = nullptr;
        if (!file) return false;
        OutputFiles& files = streams_.files;
        if (inPlace_) {
            if (file == streams_.out || std::fclose(file) == 0) return true;
            streams_.report.onFile(shown_, "cannot write: " + files.errorText());
            return false;
        }
        if (files.commit(file, temp_, target_)) return true;
        streams_.report.onFile(target_, "cannot replace: " + files.errorText() + "; the file is as it was");
        return false;
    }
    // Nothing of this run replaces the target.
    void drop() {
        if (!file_) return;
        if (!inPlace_)
            streams_.files.discard(file_, temp_);
        else if (file_ != streams_.out)
            std::fclose(file_);
        file_ = nullptr;
    }

private:
    const std::string target_;
    const std::string shown_;
    LinkStreams& streams_;
    bool inPlace_ = false;
    std::FILE* file_ = nullptr;
    std::string temp_;
};

std::string notSaved(long arrived) {
    return pointCount(arrived) + (arrived == 1 ? " arrived and was" : " arrived and were") +
           " not saved; the instrument still holds them";
}

}  // namespace

int runReceive(const ReceiveRequest& request, LinkStreams& streams) {
    Report& report = streams.report;
    ReceiveOutput output(request.output, streams);
    if (!output.open()) return 1;
    std::string error;
    std::unique_ptr<ConsolePort> port = streams.console.openPort(request.port, error);
    if (!port) {
        report.onFile(request.port, "cannot open: " + error);
        return 1;
    }
    report.program(std::string("receiving from the ") + request.instrument->modelName + " instrument on " +
                   request.port + " into " + output.shown() + " as " + request.to->name);

    // A point counts as saved once its bytes are written; a failed write
    // stops the transfer, and no later point is written.
    TextSink sink(output.file());
    PointStream stream(*request.to, sink, request.settings);
    stream.begin();
    long saved = 0;
    std::unique_ptr<OutsideArea> outsideArea;
    if (request.settings.crs) outsideArea = std::make_unique<OutsideArea>(*request.settings.crs);
    ConsoleHost host(
        report,
        [&](const PointRecord& point) {
            const Refusal why = stream.refusal(point);
            if (why != Refusal::None) {
                report.program(refusalText(*request.to, point, why, encodingName(request.settings),
                                           request.settings.crs) +
                               "; the transfer stops");
                return false;
            }
            if (outsideArea) outsideArea->check(point, std::string(), 0);
            stream.write(point);
            if (!sink.flush()) {
                report.onFile(output.shown(), "cannot write: " + streams.files.errorText() + "; the transfer stops");
                return false;
            }
            ++saved;
            return true;
        },
        nullptr);
    const TransferEnd end = host.run(request.instrument->link->receive, *port, streams.console);
    reportEnd(end, host, *request.instrument, request.port, report);
    if (streams.console.interrupted()) report.program("stopped");
    if (!sink.failed()) {
        stream.end();  // closes the format off: a csv or dxf ends properly
        if (!sink.flush()) report.onFile(output.shown(), "cannot write: " + streams.files.errorText());
    }
    const long arrived = host.received();
    const bool complete = end == TransferEnd::Finished && saved == arrived;
    if (outsideArea) outsideArea->warn(report, request.systems);

    if (output.inPlace()) {
        const bool written = !sink.failed() && output.keep();
        if (!written) {
            if (stream.writesAtEnd())
                report.program(pointCount(arrived) + " arrived; writing them to " + output.shown() + " failed");
            else
                report.program(pointCount(arrived) + " arrived; " + std::to_string(saved) +
                               " of them went to " + output.shown() + " before writing failed");
        } else if (complete) {
            report.program("received " + pointCount(arrived) +
                           (request.output == kStandardStream ? std::string() : " into " + output.shown()));
            return 0;
        } else {
            report.onFile(output.shown(),
                          "got the " + pointCount(saved) + " received before the transfer ended");
        }
        return 1;
    }
    if (sink.failed()) {
        output.drop();
        report.onFile(request.output, "not written; the file is as it was");
        if (arrived > 0) report.program(notSaved(arrived));
        return 1;
    }
    if (saved == 0 && !complete) {
        output.drop();
        report.onFile(request.output, std::string(arrived ? "no point saved" : "nothing received") +
                                          "; the file is as it was");
        return 1;
    }
    if (!output.keep()) {
        if (arrived > 0) report.program(notSaved(arrived));
        return 1;
    }
    if (complete) {
        report.program("received " + pointCount(arrived) + " into " + request.output);
        return 0;
    }
    report.onFile(request.output, "holds the " + pointCount(saved) + " received before the transfer ended");
    return 1;
}

int runSend(const SendRequest& request, LinkStreams& streams) {
    Report& report = streams.report;
    const Instrument& instrument = *request.instrument;
    const std::string shownInput = shownInputName(request.input);
    PointStore store;
    std::vector<long> lines;  // the line of each point, for messages
    ReadStreams reading{streams.in, streams.files, report, [&streams] { return streams.console.interrupted(); }};
    const bool read = readPoints(request.input, *request.from, request.strict, true, reading,
                                 [&](const PointRecord& point, long line) {
                                     if (store.append(point)) {
                                         lines.push_back(line);
                                         return true;
                                     }
                                     report.onFile(shownInput, "too many points to hold");
                                     return false;
                                 });
    if (!read) {
        report.program("nothing sent");
        return 1;
    }
    const SendRefusal refusal = checkSend(instrument.link->limits, store);
    if (refusal.reason == SendRefusal::Reason::TooManyPoints) {
        report.onFile(shownInput, pointCount(static_cast<long>(store.size())) + " are more than one " +
                                      instrument.modelName + " send carries (at most " +
                                      std::to_string(refusal.limit) + "); nothing sent");
        return 1;
    }
    if (refusal.reason == SendRefusal::Reason::PointDoesNotFit) {
        const std::size_t row = static_cast<std::size_t>(refusal.row);
        report.atLine(shownInput, lines[row],
                      "point " + shownText(store.at(row).name) + " cannot travel to the " + instrument.modelName +
                          " instrument without changing it (a coordinate beyond what its frames carry); "
                          "nothing sent");
        return 1;
    }

    std::string error;
    std::unique_ptr<ConsolePort> port = streams.console.openPort(request.port, error);
    if (!port) {
        report.onFile(request.port, "cannot open: " + error);
        return 1;
    }
    report.program("sending " + pointCount(static_cast<long>(store.size())) + " to the " + instrument.modelName +
                   " instrument on " + request.port);
    ConsoleHost host(report, nullptr, &store);
    const TransferEnd end = host.run(instrument.link->send, *port, streams.console);
    reportEnd(end, host, instrument, request.port, report);
    if (end == TransferEnd::Finished) {
        report.program("sent " + pointCount(static_cast<long>(store.size())));
        return 0;
    }
    if (streams.console.interrupted()) report.program("stopped");
    report.program("sent " + std::to_string(host.sent()) + " of " + pointCount(static_cast<long>(store.size())) +
                   " before the transfer ended");
    return 1;
}
