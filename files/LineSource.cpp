#include "files/LineSource.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace {
constexpr std::size_t kBlockSize = 1 << 16;
// A text-mode stream ends the file at a Ctrl-Z.
constexpr char kEndOfText = 0x1A;
}

LineSource::LineSource(std::FILE* file) : file_(file), block_(kBlockSize) {}

bool LineSource::fill() {
    if (eof_) return false;
    end_ = std::fread(block_.data(), 1, block_.size(), file_);
    pos_ = 0;
    if (end_ == 0) {
        failed_ = std::ferror(file_) != 0;
        eof_ = true;
        return false;
    }
    return true;
}

// The next byte of the file, or -1 at its end: the end of the data or the
// first Ctrl-Z, after which nothing is read.
int LineSource::raw() {
    if (pushed_ >= 0) {
        int c = pushed_;
        pushed_ = -1;
        return c;
    }
    if (pos_ == end_ && !fill()) return -1;
    char c = block_[pos_++];
    if (c == kEndOfText) {
        eof_ = true;
        pos_ = end_;
        return -1;
    }
    return static_cast<unsigned char>(c);
}

// The next character after CR LF has become LF; a lone CR stays.
int LineSource::get() {
    int c = raw();
    if (c != '\r') return c;
    int following = raw();
    if (following == '\n') return '\n';
    pushed_ = following;
    return '\r';
}

const char* LineSource::next() {
    std::size_t length = 0;
    while (length < kMaxPiece) {
        // Plain bytes go over from the block in one run; a CR, a Ctrl-Z and
        // the end of the block take the byte-by-byte way below.
        if (pushed_ < 0 && pos_ < end_) {
            const char* start = block_.data() + pos_;
            const char* stop = start + std::min(kMaxPiece - length, end_ - pos_);
            const char* p = start;
            // Eight bytes at a time while none is below 0x1B, as LF, CR and
            // Ctrl-Z are (a word that only seems to hold one goes on below).
            for (std::uint64_t word; stop - p >= 8; p += 8) {
                std::memcpy(&word, p, sizeof word);
                if ((word - 0x1B1B1B1B1B1B1B1Bu) & ~word & 0x8080808080808080u) break;
            }
            while (p < stop && *p != '\n' && *p != '\r' && *p != kEndOfText) ++p;
            std::memcpy(line_ + length, start, static_cast<std::size_t>(p - start));
            length += static_cast<std::size_t>(p - start);
            pos_ += static_cast<std::size_t>(p - start);
            if (p < stop && *p == '\n') {
                line_[length++] = '\n';
                ++pos_;
                break;
            }
            if (length == kMaxPiece || p == stop) continue;
        }
        int c = get();
        if (c < 0) break;
        line_[length++] = static_cast<char>(c);
        if (c == '\n') break;
    }
    if (length == 0) return nullptr;
    line_[length] = '\0';
    return line_;
}

std::size_t countLines(std::FILE* file) {
    long start = std::ftell(file);
    if (start < 0) return 0;
    std::vector<char> block(kBlockSize);
    std::size_t lines = 0;
    char last = '\n';
    bool ended = false;
    while (!ended) {
        std::size_t got = std::fread(block.data(), 1, block.size(), file);
        if (got == 0) break;
        const char* end = block.data() + got;
        if (const void* stop = std::memchr(block.data(), kEndOfText, got)) {
            end = static_cast<const char*>(stop);
            ended = true;
        }
        for (const char* p = block.data(); (p = static_cast<const char*>(std::memchr(p, '\n', end - p))); ++p)
            ++lines;
        if (end > block.data()) last = end[-1];
    }
    if (last != '\n') ++lines;
    std::clearerr(file);
    if (std::fseek(file, start, SEEK_SET) != 0) return 0;
    return lines;
}
