#include "cli/Link.h"

#include <vector>

#include "cli/Console.h"
#include "cli/Instruments.h"
#include "cli/OutputFiles.h"
#include "cli/PointReading.h"
#include "cli/Report.h"
#include "cli/Transfer.h"
#include "files/PointFormats.h"
#include "files/TextSink.h"
#include "link/LinkProtocol.h"
#include "points/PointRecord.h"
#include "points/PointStore.h"

namespace {

const char kStdoutShown[] = "<stdout>";

std::string points(int count) { return std::to_string(count) + (count == 1 ? " point" : " points"); }

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

}  // namespace

int runReceive(const ReceiveRequest& request, LinkStreams& streams) {
    Report& report = streams.report;
    OutputFiles& files = streams.files;
    const bool toStdout = request.output == "-";
    const std::string shownOutput = toStdout ? kStdoutShown : request.output;
    std::string temp;
    std::FILE* file = toStdout ? streams.out : files.createBeside(request.output, temp);
    if (!file) {
        report.onFile(request.output, "cannot write a file in its folder: " + files.errorText());
        return 1;
    }
    std::string error;
    std::unique_ptr<ConsolePort> port = streams.console.openPort(request.port, error);
    if (!port) {
        report.onFile(request.port, "cannot open: " + error);
        if (!toStdout) files.discard(file, temp);
        return 1;
    }
    report.program(std::string("receiving from the ") + request.instrument->modelName + " instrument on " +
                   request.port + " into " + shownOutput + " as " + request.to->name);

    TextSink sink(file);
    PointStream stream(*request.to, sink);
    stream.begin();
    ConsoleHost host(
        report,
        [&](const PointRecord& point) {
            if (!request.to->canHold(point)) {
                report.program("point " + shownText(point.name) + " cannot be written as " + request.to->name +
                               " without changing it; the transfer stops");
                return false;
            }
            stream.write(point);
            if (sink.flush()) return true;
            report.onFile(shownOutput, "cannot write: " + files.errorText() + "; the transfer stops");
            return false;
        },
        nullptr);
    const TransferEnd end = host.run(request.instrument->link->receive, *port, streams.console);
    reportEnd(end, host, *request.instrument, request.port, report);
    if (streams.console.interrupted()) report.program("stopped");
    stream.end();
    const bool written = sink.flush();
    const int received = host.received();
    if (toStdout) {
        if (end == TransferEnd::Finished && written) {
            report.program("received " + points(received));
            return 0;
        }
        return 1;
    }
    if (received == 0 && end != TransferEnd::Finished) {
        files.discard(file, temp);
        report.onFile(request.output, "nothing received; the file is as it was");
        return 1;
    }
    if (!files.commit(file, temp, request.output)) {
        report.onFile(request.output, "cannot replace: " + files.errorText() + "; the file is as it was");
        return 1;
    }
    if (end == TransferEnd::Finished && written) {
        report.program("received " + points(received) + " into " + request.output);
        return 0;
    }
    report.onFile(request.output, "holds the " + points(received) + " received before the transfer ended");
    return 1;
}

int runSend(const SendRequest& request, LinkStreams& streams) {
    Report& report = streams.report;
    const Instrument& instrument = *request.instrument;
    const std::string shownInput = shownInputName(request.input);
    PointStore store;
    std::vector<long> lines;  // the line of each point, for messages
    ReadingPlace place{streams.in, streams.files, report, [&streams] { return streams.console.interrupted(); }};
    const bool read = readPoints(request.input, *request.from, request.strict, true, place,
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
        report.onFile(shownInput, points(static_cast<int>(store.size())) + " are more than one " +
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
    report.program("sending " + points(static_cast<int>(store.size())) + " to the " + instrument.modelName +
                   " instrument on " + request.port);
    ConsoleHost host(report, nullptr, &store);
    const TransferEnd end = host.run(instrument.link->send, *port, streams.console);
    reportEnd(end, host, instrument, request.port, report);
    if (end == TransferEnd::Finished) {
        report.program("sent " + points(static_cast<int>(store.size())));
        return 0;
    }
    if (streams.console.interrupted()) report.program("stopped");
    report.program("sent " + std::to_string(host.sent()) + " of " + points(static_cast<int>(store.size())) +
                   " before the transfer ended");
    return 1;
}
