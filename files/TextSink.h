// Bytes on their way into an open file, gathered in one block so that a
// million short lines cost a few hundred writes. Remembers whether any write
// failed, so that a file is never taken for written when it is not.
#pragma once

#include <cstddef>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class FileSystem;
class WriteBehind;

class TextSink {
public:
    explicit TextSink(std::FILE* file);
    // For a new file of system's that is filled at once: the blocks are
    // written on a thread of their own and put on the disk as they go
    // (files/WriteBehind.h).
    TextSink(std::FILE* file, FileSystem& system);
    ~TextSink();

    void put(char c) {
        if (used_ == block_.size()) spill();
        block_[used_++] = c;
    }
    void put(std::string_view text) {
        if (text.size() <= block_.size() - used_) {
            std::memcpy(block_.data() + used_, text.data(), text.size());
            used_ += text.size();
        } else {
            putLong(text);
        }
    }

    // Room for n bytes (at most kRoomMax) to be written straight into the
    // block, for a writer that makes many short pieces: returns where they
    // go; took(end) then takes those written, up to end.
    static constexpr std::size_t kRoomMax = 1 << 14;
    char* room(std::size_t n) {
        if (block_.size() - used_ < n) spill();
        return block_.data() + used_;
    }
    void took(const char* end) { used_ = static_cast<std::size_t>(end - block_.data()); }

    // A number as the point files write it: fixed point with `decimals`
    // decimals (points/NumberText.h).
    void putFixed(double value, int decimals);
    // As putFixed, but a value that rounds to zero is written without a
    // sign: "0.0000", never "-0.0000". For the outputs that are written
    // only; the exchange formats keep their bytes as putFixed makes them.
    void putCoordinate(double value, int decimals);

    // Takes the sink for failed, as a failed write does: for a writer whose
    // own scratch storage failed, so that the file is not taken for whole.
    void markFailed() { failed_ = true; }

    // Hands everything gathered so far to the file and flushes the stream.
    // False once any write has failed; nothing is written after that.
    bool flush();
    bool failed() const;
    // The system's words for a failed write made on the writing thread;
    // empty when the failure, if any, is the caller's to tell (the last
    // error of its own thread).
    std::string errorText() const;

private:
    void spill();
    void putLong(std::string_view text);

    std::FILE* file_;
    std::vector<char> block_;
    std::size_t used_ = 0;
    bool failed_ = false;
    std::unique_ptr<WriteBehind> behind_;
};

// The text that TextSink::putCoordinate writes for value, made in text,
// which must hold kFixedTextMax characters (points/NumberText.h): for a
// writer that puts the same coordinate more than once.
std::string_view coordinateText(double value, int decimals, char* text);
