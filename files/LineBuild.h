// Builds one exchange-file line in a caller's buffer of kLineBufferSize
// characters: texts cut to their field's limit, ',' separators and numbers
// in the "%.4lf" form. The longest line a record can give (9 + 13 characters
// of text, three numbers of at most 315 characters, four separators) fits
// the buffer, so building never fails and never overruns.
#pragma once

#include <cstddef>

#include "files/ExchangeFormat.h"
#include "points/NumberText.h"

class LineBuild {
public:
    explicit LineBuild(char* buffer) : start_(buffer), out_(buffer) {}

    // At most max characters of a NUL-terminated text, byte for byte.
    LineBuild& text(const char* field, std::size_t max) {
        std::size_t len = boundedLength(field, max);
        for (std::size_t i = 0; i < len; ++i) *out_++ = field[i];
        return *this;
    }
    LineBuild& comma() {
        *out_++ = ',';
        return *this;
    }
    LineBuild& number(double value) {
        out_ = formatFixed(value, 4, out_);
        return *this;
    }
    // NUL-terminates the line and returns its start.
    const char* finish() {
        *out_ = '\0';
        return start_;
    }

private:
    char* start_;
    char* out_;
};

static_assert(PointRecord::kNameMax + PointRecord::kMarkMax + 4 + 3 * kFixedTextMax + 1 <= kLineBufferSize,
              "the longest line must fit the line buffer");
