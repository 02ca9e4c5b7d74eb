// A file's bytes written on a thread of their own: the thread that makes
// them goes on filling the next block while the system takes the last one.
// Every few megabytes the system is asked to start putting what it took on
// the disk (FileSystem::startWriteback), so that the sync that ends a safe
// write finds little left to do, and the disk works while the points are
// still being read.
//
// One thread fills blocks and hands them over; the file is the writing
// thread's alone from the first handOver() until drain() returns.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <deque>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class FileSystem;

class WriteBehind {
public:
    WriteBehind(std::FILE* file, FileSystem& system);
    // Waits for the blocks handed over, as drain() does.
    ~WriteBehind();
    WriteBehind(const WriteBehind&) = delete;
    WriteBehind& operator=(const WriteBehind&) = delete;

    // Takes block's first `used` bytes to write, and gives back an empty
    // block of the same size to fill next: a spare one, or a new one while
    // fewer than kBlocks exist. Waits while every block is being written.
    // Where no thread can be started the bytes are written before it
    // returns.
    std::vector<char> handOver(std::vector<char> block, std::size_t used);

    // Waits until every block handed over is written; false once a write
    // has failed (nothing is written after that).
    bool drain();

    // True once a write has failed; may lag behind the failure by the
    // blocks still queued.
    bool failed() const { return failed_.load(std::memory_order_relaxed); }

    // The system's words for the failed write (FileSystem::lastErrorText),
    // taken on the thread that wrote; empty while none failed.
    std::string errorText();

    static constexpr int kBlocks = 4;                         // at most, counting the one being filled
    static constexpr std::uint64_t kWritebackStep = 8 << 20;  // bytes between two writeback requests

private:
    struct Filled {
        std::vector<char> block;
        std::size_t used;
    };

    void run();
    void writeOut(const Filled& filled);
    void fail();
    void stop();

    std::FILE* file_;
    FileSystem& system_;
    std::atomic<bool> failed_{false};
    std::string errorText_;

    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<Filled> queued_;
    std::vector<std::vector<char>> spare_;
    int blocks_ = 1;       // made so far, counting the one the caller fills
    bool writing_ = false;  // a block is out of the queue, being written
    bool stopping_ = false;
    std::thread thread_;
    bool threadless_ = false;  // no thread could be started: write at once

    // The writing thread's own.
    std::uint64_t written_ = 0;
    std::uint64_t writebackFrom_ = 0;
};
