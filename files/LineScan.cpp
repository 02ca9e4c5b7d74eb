#include "files/LineScan.h"

#include <cstring>

#include "points/NumberText.h"

LineScan::LineScan(const char* line) : pos_(line), end_(line + std::strlen(line)) {
    if (end_ > pos_ && end_[-1] == '\n') --end_;
    if (end_ > pos_ && end_[-1] == '\r') --end_;
}

void LineScan::skipWhiteSpace() {
    while (pos_ < end_ && isScanSpace(*pos_)) ++pos_;
}

bool LineScan::accept(char c) {
    if (pos_ == end_ || *pos_ != c) return false;
    ++pos_;
    return true;
}

bool LineScan::skipPast(char c) {
    takeUntil(c);
    return accept(c);
}

std::string_view LineScan::takeUntil(char stop) {
    const char* start = pos_;
    while (pos_ < end_ && *pos_ != stop) ++pos_;
    return std::string_view(start, static_cast<std::size_t>(pos_ - start));
}

std::string_view LineScan::takeWord() {
    const char* start = pos_;
    while (pos_ < end_ && *pos_ != ',' && !isScanSpace(*pos_)) ++pos_;
    return std::string_view(start, static_cast<std::size_t>(pos_ - start));
}

std::string_view LineScan::takeString() {
    skipWhiteSpace();
    const char* start = pos_;
    while (pos_ < end_ && !isScanSpace(*pos_)) ++pos_;
    return std::string_view(start, static_cast<std::size_t>(pos_ - start));
}

bool LineScan::scanNumber(double& value) {
    const char* after = ::scanNumber(pos_, end_, value);
    if (!after) return false;
    pos_ = after;
    return true;
}
