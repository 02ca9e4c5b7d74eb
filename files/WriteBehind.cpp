#include "files/WriteBehind.h"

#include <system_error>
#include <utility>

#include "files/FileSystem.h"

WriteBehind::WriteBehind(std::FILE* file, FileSystem& system) : file_(file), system_(system) {}

WriteBehind::~WriteBehind() { stop(); }

void WriteBehind::stop() {
    if (!thread_.joinable()) return;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stopping_ = true;
    }
    changed_.notify_all();
    thread_.join();
}

std::vector<char> WriteBehind::handOver(std::vector<char> block, std::size_t used) {
    const std::size_t size = block.size();
    if (!threadless_ && !thread_.joinable()) {
        try {
            thread_ = std::thread([this] { run(); });
        } catch (const std::system_error&) {
            threadless_ = true;
        }
    }
    if (threadless_) {
        writeOut(Filled{std::move(block), used});
        return std::vector<char>(size);
    }
    std::unique_lock<std::mutex> lock(mutex_);
    queued_.push_back(Filled{std::move(block), used});
    changed_.notify_all();
    if (spare_.empty() && blocks_ < kBlocks) {
        ++blocks_;
        lock.unlock();
        return std::vector<char>(size);
    }
    changed_.wait(lock, [this] { return !spare_.empty(); });
    std::vector<char> next = std::move(spare_.back());
    spare_.pop_back();
    return next;
}

bool WriteBehind::drain() {
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait(lock, [this] { return queued_.empty() && !writing_; });
    return !failed();
}

std::string WriteBehind::errorText() {
    std::lock_guard<std::mutex> lock(mutex_);
    return errorText_;
}

void WriteBehind::run() {
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
        changed_.wait(lock, [this] { return stopping_ || !queued_.empty(); });
        if (queued_.empty()) return;  // stopping, and everything is written
        Filled filled = std::move(queued_.front());
        queued_.pop_front();
        writing_ = true;
        lock.unlock();
        writeOut(filled);
        lock.lock();
        writing_ = false;
        spare_.push_back(std::move(filled.block));
        changed_.notify_all();
    }
}

// On the writing thread (or the caller's, without one).
void WriteBehind::writeOut(const Filled& filled) {
    if (failed()) return;
    if (std::fwrite(filled.block.data(), 1, filled.used, file_) != filled.used) return fail();
    written_ += filled.used;
    if (written_ - writebackFrom_ < kWritebackStep) return;
    if (std::fflush(file_) != 0) return fail();
    system_.startWriteback(file_);
    writebackFrom_ = written_;
}

void WriteBehind::fail() {
    std::string words = system_.lastErrorText();  // this thread's own error
    std::lock_guard<std::mutex> lock(mutex_);
    errorText_ = std::move(words);
    failed_ = true;
}
