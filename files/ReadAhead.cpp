#include "files/ReadAhead.h"

#include <cstring>
#include <system_error>
#include <utility>

#include "files/ExchangeLine.h"
#include "files/FileSystem.h"

ReadAhead::ReadAhead(std::FILE* file, const FormatInfo& format, FileSystem& system, bool ahead)
    : format_(format), system_(system), lines_(file) {
    if (!ahead) return;
    try {
        thread_ = std::thread([this] { run(); });
    } catch (const std::system_error&) {
        // Read on the caller's thread.
    }
}

ReadAhead::~ReadAhead() {
    if (!thread_.joinable()) return;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stopping_ = true;
    }
    changed_.notify_all();
    thread_.join();
}

// Reads up to a batch of lines; the last batch says how the file ended.
void ReadAhead::readBatch(Batch& batch) {
    batch = Batch{std::move(batch.points)};
    batch.points.resize(kBatchPoints);
    std::size_t count = 0;
    while (count < kBatchPoints) {
        const char* line = lines_.next();
        if (!line) {
            batch.last = true;
            batch.failed = lines_.failed();
            if (batch.failed) batch.errorText = system_.lastErrorText();  // this thread's own error
            break;
        }
        AheadPoint& read = batch.points[count++];
        read.line = number_;
        const std::size_t length = std::strlen(line);
        if (length < LineSource::kMaxPiece || line[length - 1] == '\n') ++number_;
        read.whole = readPointLine(format_, line, read.point);
    }
    batch.points.resize(count);
}

// The reading thread: batches into the queue until the end, or until the
// caller no longer wants them.
void ReadAhead::run() {
    Batch batch;
    for (;;) {
        readBatch(batch);
        const bool last = batch.last;
        std::unique_lock<std::mutex> lock(mutex_);
        ready_.push_back(std::move(batch));
        changed_.notify_all();
        if (last) return;
        if (spare_.empty() && batches_ < kBatches) {
            ++batches_;
            batch = Batch();
        } else {
            changed_.wait(lock, [this] { return stopping_ || !spare_.empty(); });
            if (stopping_) return;
            batch = std::move(spare_.back());
            spare_.pop_back();
        }
    }
}

bool ReadAhead::take() {
    if (batch_.last) return false;
    if (!thread_.joinable()) {
        readBatch(batch_);
    } else {
        std::unique_lock<std::mutex> lock(mutex_);
        changed_.wait(lock, [this] { return !ready_.empty(); });
        Batch done = std::move(batch_);
        batch_ = std::move(ready_.front());
        ready_.pop_front();
        spare_.push_back(std::move(done));
        changed_.notify_all();
    }
    at_ = 0;
    return !batch_.points.empty();
}
