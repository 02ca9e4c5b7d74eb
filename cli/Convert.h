// pointlink convert: point files from one format to another, streamed line
// by line (one point in memory at a time, whatever the size of the file).
//
// With an output file (-o OUT) every input goes, in order, into that one
// file, numbered on across the inputs where the format numbers its lines.
// With an output folder (--out-dir DIR) each input becomes DIR/<its name
// without its extension><the output format's extension>. "-" as an input is
// standard input, as the output standard output.
//
// A file is never left half-written: the output goes to a file beside the
// target, which replaces the target only when every point is in it. Should
// a point be one that the output format cannot write faithfully (the
// window programs' Export refuses the same points), or a line unreadable
// under --strict, or any read or write fail, the new file is removed and
// the target stays as it was. Standard output, and an output that is no
// file but a FIFO or a device (written into, never replaced), cannot be
// taken back: when every input is a file, all of them are checked before
// the first byte goes out; points from standard input are checked as they
// come, and a refusal ends the output before the refused point.
//
// A line that its format's reader cannot read is reported with its number
// and, as in the window programs' Import, still becomes the point that the
// reader made of it; --strict makes it an error instead.
//
// With the points' coordinate system (settings.crs), the points written
// that lie outside its area of use are counted, and a warning after the
// output says so (cli/OutsideArea.h).
#pragma once

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "files/PointFormats.h"

class ConsoleFiles;
class CoordinateSystems;
class OutputFiles;
class Report;

struct ConvertRequest {
    std::vector<std::string> inputs;
    const PointFormat* from = nullptr;  // one that can be read
    const PointFormat* to = nullptr;
    std::string output;  // -o; empty when outDir is given
    std::string outDir;
    bool strict = false;
    WriteSettings settings;  // the points' encoding (--encoding), the scratch files, the system (--crs)
    CoordinateSystems* systems = nullptr;  // for the zone that a warning suggests; may be nullptr
};

struct ConvertStreams {
    std::FILE* in;   // standard input, in binary mode
    std::FILE* out;  // standard output, in binary mode
    OutputFiles& files;
    Report& report;
    // True once the user has asked the program to stop (Ctrl-C); the output
    // is then treated as failed. May be empty.
    std::function<bool()> stopRequested;
};

// The output file for an input in outDir.
std::string outputNameIn(const std::string& outDir, const std::string& input, const PointFormat& to);

// Checks what can be told before anything is read: an input "-" with an
// output folder, two inputs whose outputs would be one file there (names
// that differ only in case are one file where the folder folds case,
// ConsoleFiles::foldsCase). Empty when the request can run; else the
// reason, a usage error.
std::string checkConvertRequest(const ConvertRequest& request, ConsoleFiles& files);

// Runs the request; 0 when every output was written, 1 when any failed.
int runConvert(const ConvertRequest& request, ConvertStreams& streams);
