#include "cli/Convert.h"

#include <algorithm>

#include "cli/Console.h"
#include "cli/OutputFiles.h"
#include "cli/OutsideArea.h"
#include "cli/PointReading.h"
#include "cli/Report.h"
#include "files/PointFormats.h"
#include "files/TextEncoding.h"
#include "files/TextSink.h"

namespace {

class Converter {
public:
    Converter(const ConvertRequest& request, ConvertStreams& streams) : request_(request), streams_(streams) {
        if (request.settings.crs) outsideArea_ = std::make_unique<OutsideArea>(*request.settings.crs);
    }

    bool writeTarget(const std::vector<std::string>& inputs, const std::string& target);
    // The warning about the points written outside the system's area of use.
    void warn() {
        if (outsideArea_) outsideArea_->warn(streams_.report, request_.systems);
    }

private:
    bool intoStream(const std::vector<std::string>& inputs, std::FILE* stream, const std::string& shown);
    bool intoNewFile(const std::vector<std::string>& inputs, const std::string& target);
    bool writeAll(const std::vector<std::string>& inputs, TextSink& sink);
    // Reads one input; writes its points to stream, or only checks them when
    // stream is nullptr. False when the output must not be kept.
    bool convertInput(const std::string& input, PointStream* stream, const TextSink* sink, bool warn);

    const ConvertRequest& request_;
    ConvertStreams& streams_;
    std::unique_ptr<OutsideArea> outsideArea_;
};

bool Converter::convertInput(const std::string& input, PointStream* stream, const TextSink* sink, bool warn) {
    ReadStreams reading{streams_.in, streams_.files, streams_.report, streams_.stopRequested};
    const std::string shown = shownInputName(input);
    return readPoints(input, *request_.from, request_.strict, warn, reading,
                      [&](const PointRecord& point, long line) {
                          const Refusal why = request_.to->refuses(point, request_.settings);
                          if (why != Refusal::None) {
                              streams_.report.atLine(shown, line,
                                                     refusalText(*request_.to, point, why,
                                                                 encodingName(request_.settings),
                                                                 request_.settings.crs));
                              return false;
                          }
                          if (!stream) return true;
                          if (outsideArea_) outsideArea_->check(point, shown, line);
                          stream->write(point);
                          return !(sink && sink->failed());  // the caller reports a failed write
                      });
}

// The whole output: the format's beginning, the points of every input in
// turn, its end. False when an input failed; a failed write shows in sink.
bool Converter::writeAll(const std::vector<std::string>& inputs, TextSink& sink) {
    PointStream stream(*request_.to, sink, request_.settings);
    stream.begin();
    for (const std::string& input : inputs)
        if (!convertInput(input, &stream, &sink, true)) return false;
    if (!sink.failed()) stream.end();
    return true;
}

// An output that cannot be taken back (standard output, a FIFO, a device):
// when every input is a file, all of them are checked first.
bool Converter::intoStream(const std::vector<std::string>& inputs, std::FILE* stream, const std::string& shown) {
    const bool allFiles = std::none_of(inputs.begin(), inputs.end(),
                                       [](const std::string& input) { return input == kStandardStream; });
    if (allFiles)
        for (const std::string& input : inputs)
            if (!convertInput(input, nullptr, nullptr, false)) return false;
    TextSink sink(stream);
    bool ok = writeAll(inputs, sink);
    if (!sink.flush()) {
        streams_.report.onFile(shown, "cannot write: " + streams_.files.errorText());
        return false;
    }
    if (!ok) streams_.report.onFile(shown, "output ends before the point that failed");
    return ok;
}

bool Converter::intoNewFile(const std::vector<std::string>& inputs, const std::string& target) {
    Report& report = streams_.report;
    OutputFiles& files = streams_.files;
    std::string temp;
    std::FILE* file = files.createBeside(target, temp);
    if (!file) {
        report.onFile(target, "cannot write a file in its folder: " + files.errorText());
        return false;
    }
    TextSink sink(file, files.system());
    bool ok = writeAll(inputs, sink);
    if (!sink.flush()) {
        const std::string why = sink.errorText();
        report.onFile(target, "cannot write: " + (why.empty() ? files.errorText() : why));
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

bool Converter::writeTarget(const std::vector<std::string>& inputs, const std::string& target) {
    if (target == kStandardStream) return intoStream(inputs, streams_.out, shownOutputName(target));
    OutputFiles& files = streams_.files;
    bool inPlace = false;
    std::FILE* device = files.openInPlace(target, inPlace);
    if (!inPlace) return intoNewFile(inputs, target);
    if (!device) {
        streams_.report.onFile(target, "cannot open: " + files.errorText());
        return false;
    }
    bool ok = intoStream(inputs, device, target);
    if (std::fclose(device) != 0 && ok) {
        streams_.report.onFile(target, "cannot write: " + files.errorText());
        ok = false;
    }
    return ok;
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

std::string checkConvertRequest(const ConvertRequest& request, ConsoleFiles& files) {
    if (request.outDir.empty()) return std::string();
    for (const std::string& input : request.inputs)
        if (input == kStandardStream) return "standard input (-) needs an output file (-o), not an output folder";
    if (request.inputs.size() < 2) return std::string();
    // Every output lies in the one folder: names that its file system takes
    // for one file would overwrite each other.
    std::vector<std::string> outputs;
    for (const std::string& input : request.inputs) outputs.push_back(outputNameIn(request.outDir, input, *request.to));
    const bool fold = files.foldsCase(request.outDir);
    auto order = [&](const std::string& a, const std::string& b) { return files.compareFileNames(a, b, fold) < 0; };
    std::stable_sort(outputs.begin(), outputs.end(), order);
    const auto same = std::adjacent_find(outputs.begin(), outputs.end(), [&](const std::string& a, const std::string& b) {
        return files.compareFileNames(a, b, fold) == 0;
    });
    if (same == outputs.end()) return std::string();
    if (*same == *(same + 1)) return "two inputs would both be written to " + *same;
    return "two inputs would both be written to one file: " + *same + " and " + *(same + 1) +
           " differ only in case";
}

int runConvert(const ConvertRequest& request, ConvertStreams& streams) {
    Converter converter(request, streams);
    bool ok = true;
    if (request.outDir.empty()) {
        ok = converter.writeTarget(request.inputs, request.output);
    } else {
        for (const std::string& input : request.inputs)
            ok = converter.writeTarget({input}, outputNameIn(request.outDir, input, *request.to)) && ok;
    }
    converter.warn();
    return ok ? 0 : 1;
}
