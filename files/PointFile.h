// A whole point file in one exchange format: read into the point store, or
// written from it. Standard C streams and, for writing over a file safely,
// the platform's FileSystem; no dialogs, no boxes.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>

class FileSystem;
class PointRecord;
class PointStore;
struct FormatInfo;

// Where the points of a file go, in batches of consecutive lines.
class PointSink {
public:
    virtual ~PointSink() = default;
    // Takes count points in order and returns how many it took: all, or
    // fewer when it has no room for more.
    virtual std::size_t take(const PointRecord* points, std::size_t count) = 0;
};

enum class ReadEnd {
    Complete,   // every line became a point of the sink
    NoRoom,     // the sink took no more; the points before stay with it
    ReadError,  // reading the file failed; the points before stay with the sink
};

// Reads the file from its position on as lines (LineSource), each line a
// point of the format, and hands them to the sink in batches of up to
// kReadBatch. The caller opens and closes the file; after a ReadError, the
// platform's words for it are still to be had (FileSystem::lastErrorText).
constexpr std::size_t kReadBatch = 256;
ReadEnd readPointFile(std::FILE* file, const FormatInfo& format, PointSink& sink);

// The 0-based row of the first point that the format cannot hold exactly,
// or -1 when it holds every one.
int firstPointNotHeld(const FormatInfo& format, const PointStore& points);

// Writes every point in row order as the format's lines, each ended by
// CR LF, numbered from 1 where the format numbers its lines. False when a
// write failed (the file then holds an unknown part of the lines).
bool writePointFile(std::FILE* file, const FormatInfo& format, const PointStore& points);

// Writes the points to target as writePointFile does, replacing it only by
// the complete file (files/SafeReplace.h). True when target holds the
// points. False leaves target as it was and puts the platform's words for
// the failure in reason.
bool exportPointFile(FileSystem& files, const std::string& target, const FormatInfo& format,
                     const PointStore& points, std::string& reason);

// The name Export writes: the chosen name as it is when its file-name part
// (from fileOffset on) holds a '.', else with the extension appended.
std::string exportFileName(const std::string& chosen, std::size_t fileOffset, const char* extension);
