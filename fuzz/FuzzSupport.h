// What the codec fuzz targets share: cutting an input into lines the way an
// import reads a file, and the checks every decoded record must pass.
#pragma once

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "points/PointRecord.h"

// A fuzz check that failed: abort so that libFuzzer keeps the input.
#define FUZZ_CHECK(condition)  \
    do {                       \
        if (!(condition)) {    \
            std::abort();      \
        }                      \
    } while (0)

// A heap copy of exactly len bytes plus the terminator, so that any read
// past the NUL lands outside the allocation and AddressSanitizer sees it.
inline std::unique_ptr<char[]> exactLine(const char* bytes, std::size_t len) {
    std::unique_ptr<char[]> line(new char[len + 1]);
    std::memcpy(line.get(), bytes, len);
    line[len] = '\0';
    return line;
}

// Calls use(line) with the whole input as one NUL-terminated line, then with
// the lines an import would read from it: each ends after an LF or after
// 1023 characters, whichever comes first.
template <class Use>
void forEachLine(const std::uint8_t* data, std::size_t size, Use use) {
    const char* bytes = reinterpret_cast<const char*>(data);
    use(exactLine(bytes, size).get());
    std::size_t pos = 0;
    while (pos < size) {
        std::size_t len = 0;
        while (pos + len < size && len < 1023) {
            if (bytes[pos + len++] == '\n') break;
        }
        use(exactLine(bytes + pos, len).get());
        pos += len;
    }
}

// Name and mark within their limits and terminated inside their fields.
inline void checkFields(const PointRecord& point) {
    FUZZ_CHECK(std::memchr(point.name, '\0', sizeof point.name) != nullptr);
    FUZZ_CHECK(std::memchr(point.mark, '\0', sizeof point.mark) != nullptr);
    FUZZ_CHECK(std::strlen(point.name) <= PointRecord::kNameMax);
    FUZZ_CHECK(std::strlen(point.mark) <= PointRecord::kMarkMax);
}

inline bool sameValue(double a, double b) { return a == b || (std::isnan(a) && std::isnan(b)); }

inline bool sameRecord(const PointRecord& a, const PointRecord& b) {
    return std::strcmp(a.name, b.name) == 0 && std::strcmp(a.mark, b.mark) == 0 && sameValue(a.n, b.n) &&
           sameValue(a.e, b.e) && sameValue(a.z, b.z);
}
