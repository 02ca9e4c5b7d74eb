// Reading a point file line by line as the points of an exchange format,
// for every command that reads one: each point is handed on with the number
// of the line it came from, so that a message can name the line.
//
// A line that the format's reader cannot read whole is reported with its
// number (the first ten of a file one by one, then their count) and, as in
// the window programs' Import, still becomes the point the reader made of
// it; with strict it ends the reading as an error. "-" is standard input.
#pragma once

#include <cstdio>
#include <functional>
#include <string>

class OutputFiles;
class PointRecord;
class Report;
struct PointFormat;

struct ReadStreams {
    std::FILE* standardInput;
    OutputFiles& files;
    Report& report;
    // True once the user has asked the program to stop; may be empty.
    std::function<bool()> stopRequested;
};

// Reads input; onPoint gets each point and its line number and returns
// false to end the reading (having reported why). True when every line was
// read and taken; false when the file could not be opened or read, a line
// was refused (strict), onPoint ended it, or the user stopped it (each
// reported here but onPoint's own).
bool readPoints(const std::string& input, const PointFormat& from, bool strict, bool warn, ReadStreams& streams,
                const std::function<bool(const PointRecord& point, long line)>& onPoint);
