#include "cli/Convert.h"

#include <cmath>
#include <set>

#include "cli/OutputFiles.h"
#include "cli/PointReading.h"
#include "cli/Report.h"
#include "files/PointFormats.h"
#include "files/TextSink.h"

namespace {

const char kStandard[] = "-";
const char kStdoutShown[] = "<stdout>";
std::string refusal(const PointFormat& to, const PointRecord& point) {
    bool finite = std::isfinite(point.n) && std::isfinite(point.e) && std::isfinite(point.z);
    return "point " + shownText(point.name) + " cannot be written as " + to.name + " without changing it (" +
           (finite ? "a coordinate is larger than " + std::string(to.name) + " can hold"
                   : std::string("a coordinate is not a finite number")) +
           ")";
}

class Converter {
public:
    Converter(const ConvertRequest& request, ConvertStreams& streams) : request_(request), streams_(streams) {}

    bool writeTarget(const std::vector<std::string>& inputs, const std::string& target);

private:
    bool toStandardOutput(const std::vector<std::string>& inputs);
    bool writeAll(const std::vector<std::string>& inputs, TextSink& sink);
    // Reads one input; writes its points to stream, or only checks them when
    // stream is nullptr. False when the output must not be kept.
    bool pump(const std::string& input, PointStream* stream, const TextSink* sink, bool warn);

    const ConvertRequest& request_;
    ConvertStreams& streams_;
};

bool Converter::pump(const std::string& input, PointStream* stream, const TextSink* sink, bool warn) {
    ReadingPlace place{streams_.in, streams_.files, streams_.report, streams_.stopRequested};
    return readPoints(input, *request_.from, request_.strict, warn, place,
                      [&](const PointRecord& point, long line) {
                          if (!request_.to->canHold(point)) {
                              streams_.report.atLine(shownInputName(input), line, refusal(*request_.to, point));
                              return false;
                          }
                          if (stream) stream->write(point);
                          return !(sink && sink->failed());  // the caller reports a failed write
                      });
}

// The whole output: the format's beginning, the points of every input in
// turn, its end. False when an input failed; a failed write shows in sink.
bool Converter::writeAll(const std::vector<std::string>& inputs, TextSink& sink) {
    PointStream stream(*request_.to, sink);
    stream.begin();
    for (const std::string& input : inputs)
        if (!pump(input, &stream, &sink, true)) return false;
    if (!sink.failed()) stream.end();
    return true;
}

bool Converter::toStandardOutput(const std::vector<std::string>& inputs) {
    bool allFiles = true;
    for (const std::string& input : inputs) allFiles = allFiles && input != kStandard;
    if (allFiles)
        for (const std::string& input : inputs)
            if (!pump(input, nullptr, nullptr, false)) return false;
    TextSink sink(streams_.out);
    bool ok = writeAll(inputs, sink);
    if (!sink.flush()) {
        streams_.report.onFile(kStdoutShown, "cannot write: " + streams_.files.errorText());
        return false;
    }
    if (!ok) streams_.report.onFile(kStdoutShown, "output ends before the point that failed");
    return ok;
}

bool Converter::writeTarget(const std::vector<std::string>& inputs, const std::string& target) {
    if (target == kStandard) return toStandardOutput(inputs);
    Report& report = streams_.report;
    OutputFiles& files = streams_.files;
    std::string temp;
    std::FILE* file = files.createBeside(target, temp);
    if (!file) {
        report.onFile(target, "cannot write a file in its folder: " + files.errorText());
        return false;
    }
    TextSink sink(file);
    bool ok = writeAll(inputs, sink);
    if (!sink.flush()) {
        report.onFile(target, "cannot write: " + files.errorText());
        ok = false;
    }
    if (!ok) {
        files.discard(file, temp);
        report.onFile(target, "not written; the file is as it was");
        return false;
    }
    if (!files.commit(file, temp, target)) {
        report.onFile(target, "cannot replace: " + files.errorText() + "; the file is as it was");
        return false;
    }
    return true;
}

// The file-name part of a path, without its last extension.
std::string stemOf(const std::string& path) {
    std::size_t slash = path.find_last_of("/\\:");
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    std::size_t dot = name.rfind('.');
    return dot == std::string::npos || dot == 0 ? name : name.substr(0, dot);
}

}  // namespace

std::string outputNameIn(const std::string& outDir, const std::string& input, const PointFormat& to) {
    std::string folder = outDir;
    if (!folder.empty() && folder.back() != '/' && folder.back() != '\\') folder += '/';
    return folder + stemOf(input) + to.extension;
}

std::string checkConvertRequest(const ConvertRequest& request) {
    if (request.outDir.empty()) return std::string();
    std::set<std::string> outputs;
    for (const std::string& input : request.inputs) {
        if (input == kStandard) return "standard input (-) needs an output file (-o), not an output folder";
        std::string output = outputNameIn(request.outDir, input, *request.to);
        if (!outputs.insert(output).second) return "two inputs would both be written to " + output;
    }
    return std::string();
}

int runConvert(const ConvertRequest& request, ConvertStreams& streams) {
    Converter converter(request, streams);
    if (request.outDir.empty()) return converter.writeTarget(request.inputs, request.output) ? 0 : 1;
    bool ok = true;
    for (const std::string& input : request.inputs)
        ok = converter.writeTarget({input}, outputNameIn(request.outDir, input, *request.to)) && ok;
    return ok ? 0 : 1;
}
