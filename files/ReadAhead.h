// The points of a point file read a batch ahead, on a thread of their own:
// while the caller writes one batch's points, the next lines are read and
// their points made. The caller sees exactly what reading them line by line
// would give (LineSource, readPointLine): the same points with the same line
// numbers, in order, then the end or the failure. Everything else (what to
// report, when to stop) stays with the caller, on its own thread.
//
// Only for a file that is read to its end at once (FileSystem::isPlainFile):
// a terminal or a pipe could keep the reading thread waiting after the
// caller has been stopped.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <cstdio>
#include <deque>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "files/ExchangeFormat.h"
#include "files/LineSource.h"

class FileSystem;

// A line's point: what readPointLine made of it, and whether it read whole.
struct AheadPoint {
    PointRecord point;
    long line;   // its number, from 1; a piece of a long line keeps the line's number
    bool whole;  // readPointLine came to every coordinate
};

class ReadAhead {
public:
    // Reads file (which the caller keeps open and closes) in format; with
    // ahead false, or where no thread can be started, reads each batch only
    // when it is asked for.
    ReadAhead(std::FILE* file, const FormatInfo& format, FileSystem& system, bool ahead);
    // Stops the reading thread, where it has not come to the end.
    ~ReadAhead();
    ReadAhead(const ReadAhead&) = delete;
    ReadAhead& operator=(const ReadAhead&) = delete;

    // The next line's point; nullptr at the end of the file or after a read
    // error (failed() tells which).
    const AheadPoint* next() {
        if (at_ == batch_.points.size() && !take()) return nullptr;
        return &batch_.points[at_++];
    }
    bool failed() const { return batch_.failed; }
    // The system's words for the failed read, taken on the thread that read.
    const std::string& errorText() const { return batch_.errorText; }

    static constexpr std::size_t kBatchPoints = 2048;
    static constexpr int kBatches = 3;  // at most, counting the caller's

private:
    struct Batch {
        std::vector<AheadPoint> points;
        bool last = false;  // nothing follows: the end, or the failure
        bool failed = false;
        std::string errorText;
    };

    bool take();
    void readBatch(Batch& batch);
    void run();

    const FormatInfo& format_;
    FileSystem& system_;
    Batch batch_;
    std::size_t at_ = 0;

    // The reading side: the reading thread's, or the caller's without one.
    LineSource lines_;
    long number_ = 1;

    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<Batch> ready_;
    std::vector<Batch> spare_;
    int batches_ = 2;  // the caller's and the reading thread's first
    bool stopping_ = false;
    std::thread thread_;
};
