// A scratch folder and a convert run in-process, with standard input and
// output as temporary files and messages gathered.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "cli/Convert.h"
#include "cli/Report.h"
#include "cli/OutputFiles.h"
#include "cli/posix/PosixConsoleFiles.h"
#include "files/PointFormats.h"
#include "files/TextSink.h"
#include "points/PointRecord.h"

namespace fs = std::filesystem;

inline std::string slurp(std::FILE* file) {
    std::string bytes;
    std::rewind(file);
    char block[4096];
    std::size_t got;
    while ((got = std::fread(block, 1, sizeof block, file)) > 0) bytes.append(block, got);
    return bytes;
}

// The bytes a format writes for the points, through PointStream, and
// whether every write went through.
struct WrittenPoints {
    std::string bytes;
    bool whole;
};

inline WrittenPoints writePoints(const char* format, const std::vector<PointRecord>& points,
                                 const WriteSettings& settings = WriteSettings()) {
    std::FILE* file = std::tmpfile();
    TextSink sink(file);
    PointStream stream(*findPointFormat(format), sink, settings);
    stream.begin();
    for (const PointRecord& point : points) stream.write(point);
    stream.end();
    const bool whole = sink.flush();
    WrittenPoints written{slurp(file), whole};
    std::fclose(file);
    return written;
}

struct ScratchFolder {
    ScratchFolder() {
        static int made = 0;
        dir = fs::temp_directory_path() /
              ("pointlink-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + "-" +
               std::to_string(::getpid()) + "-" + std::to_string(++made));
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    ~ScratchFolder() { fs::remove_all(dir); }

    std::string path(const std::string& name) const { return (dir / name).string(); }
    void write(const std::string& name, const std::string& bytes) const {
        std::ofstream(path(name), std::ios::binary) << bytes;
    }
    std::string read(const std::string& name) const {
        std::ifstream in(path(name), std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
    std::vector<std::string> names() const {
        std::vector<std::string> found;
        for (const auto& entry : fs::directory_iterator(dir)) found.push_back(entry.path().filename().string());
        std::sort(found.begin(), found.end());
        return found;
    }
    fs::path dir;
};

struct ConvertRun : ScratchFolder {
    ConvertRun() : in(std::tmpfile()), out(std::tmpfile()), err(std::tmpfile()), report(err), files(consoleFiles) {}
    ~ConvertRun() {
        std::fclose(in);
        std::fclose(out);
        std::fclose(err);
    }

    // Runs convert with these inputs (names in the folder, or "-") and
    // output (a name in the folder, or "-"); returns the exit status.
    int run(std::vector<std::string> inputs, const char* from, const char* to, const std::string& output,
            bool strict = false) {
        ConvertRequest request;
        for (const std::string& input : inputs) request.inputs.push_back(input == "-" ? input : path(input));
        request.from = findPointFormat(from);
        request.to = findPointFormat(to);
        request.output = output == "-" ? output : path(output);
        request.strict = strict;
        return run(request);
    }
    int run(const ConvertRequest& request) {
        std::rewind(in);
        ConvertStreams streams{in, out, files, report, [this] { return stop; }};
        return runConvert(request, streams);
    }
    void standardInput(const std::string& bytes) {
        std::fwrite(bytes.data(), 1, bytes.size(), in);
        std::fflush(in);
    }
    std::string standardOutput() { return slurp(out); }
    // The messages, with the folder's path taken out.
    std::string messages() {
        std::string text = slurp(err);
        const std::string prefix = dir.string() + "/";
        for (std::size_t at; (at = text.find(prefix)) != std::string::npos;) text.erase(at, prefix.size());
        std::fseek(err, 0, SEEK_END);
        return text;
    }

    std::FILE* in;
    std::FILE* out;
    std::FILE* err;
    Report report;
    PosixConsoleFiles consoleFiles;
    OutputFiles files;
    bool stop = false;
};
