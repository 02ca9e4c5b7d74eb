// What a UTF-8 output writes for a mark, kept for the last few marks met: a
// survey has a few marks over many points, so most points find theirs here
// and their mark is neither converted from the points' code page nor
// escaped again. Memory stays that of a few marks.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "files/Utf8.h"
#include "points/NumberText.h"
#include "points/PointRecord.h"

// A string that a writer's put functions, made for a TextSink, can put to.
struct StringOut {
    std::string& text;
    void put(char c) { text += c; }
    void put(std::string_view part) { text.append(part); }
};

class RecentMarks {
public:
    explicit RecentMarks(const TextEncoding* encoding) : encoding_(encoding) {}

    // The text for mark: made by make(utf8, out), which puts it to a
    // StringOut, when the mark is not among the recent ones.
    template <class Make>
    const std::string& of(const char* mark, Make make) {
        const std::string_view bytes(mark, boundedLength(mark, PointRecord::kMarkMax));
        for (std::size_t i = 0; i < used_; ++i)
            if (entries_[i].mark == bytes) return entries_[i].text;
        Entry& entry = entries_[next_];
        next_ = (next_ + 1) % kCount;
        if (used_ < kCount) ++used_;
        entry.mark.assign(bytes);
        entry.text.clear();
        StringOut out{entry.text};
        make(utf8Of(mark, PointRecord::kMarkMax, encoding_, buffer_), out);
        return entry.text;
    }

private:
    static constexpr std::size_t kCount = 8;
    struct Entry {
        std::string mark;  // the bytes, as the point holds them
        std::string text;
    };
    const TextEncoding* encoding_;
    Entry entries_[kCount];
    std::size_t used_ = 0;
    std::size_t next_ = 0;
    std::string buffer_;
};
