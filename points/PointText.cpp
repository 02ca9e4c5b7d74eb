#include "points/PointText.h"

#include <cmath>
#include <cstring>
#include <string_view>

#include "points/NumberText.h"

namespace {

constexpr std::size_t kWordWidth = 7;     // name and mark fields
constexpr std::size_t kNumberWidth = 12;  // sign character + 11 for the magnitude
constexpr std::size_t kMagnitudeWidth = kNumberWidth - 1;
constexpr std::size_t kMarkStart = kWordWidth;
constexpr std::size_t kNumberStart = 2 * kWordWidth;

void putWord(const char* text, char* field) {
    std::size_t len = boundedLength(text, kWordWidth);
    std::memcpy(field, text, len);
    std::memset(field + len, ' ', kWordWidth - len);
}

// Writes the magnitude as "%11.3f" gives it, without the padding, and returns
// its length; 0 when it does not fit 11 characters (a magnitude that rounds to 10000000 or more, infinity, NaN).
std::size_t magnitudeText(double value, char* text) {
    if (!std::isfinite(value)) return 0;
    std::size_t len = static_cast<std::size_t>(formatFixed(std::fabs(value), 3, text) - text);
    return len <= kMagnitudeWidth ? len : 0;
}

// Sign character '0' (value >= 0, negative zero included) or '-' (value < 0),
// then the magnitude right-justified in 11 characters with '0' fill. A value
// the field cannot hold is written as the largest magnitude it can hold, or
// as zero for NaN, so that the layout always stands.
void putNumber(double value, char* field) {
    char text[kFixedTextMax];
    std::size_t len = magnitudeText(value, text);
    if (len == 0) {
        const char* stand = std::isnan(value) ? "0.000" : "9999999.999";
        len = std::strlen(stand);
        std::memcpy(text, stand, len);
    }
    field[0] = value < 0 ? '-' : '0';
    std::memset(field + 1, '0', kMagnitudeWidth - len);
    std::memcpy(field + kNumberWidth - len, text, len);
}

void formatText(const PointRecord& point, char* text) {
    putWord(point.name, text);
    putWord(point.mark, text + kMarkStart);
    putNumber(point.n, text + kNumberStart);
    putNumber(point.e, text + kNumberStart + kNumberWidth);
    putNumber(point.z, text + kNumberStart + 2 * kNumberWidth);
}

// A name or mark field: leading spaces skipped, then the characters up to a
// space, the end of the field or the end of the text. A line end (CR, LF)
// also ends the word: it never becomes part of a name or mark.
std::string_view readWord(const char* field, std::size_t width) {
    std::size_t start = 0;
    while (start < width && field[start] == ' ') ++start;
    std::size_t stop = start;
    while (stop < width && field[stop] != ' ' && field[stop] != '\r' && field[stop] != '\n' &&
           field[stop] != '\0')
        ++stop;
    return std::string_view(field + start, stop - start);
}

// Fills the record from the `available` characters of a point text (50 in a
// frame, fewer for a short file line). A field that starts at or past the
// end of the text is absent and leaves its value as it was; a field cut by
// the end is read from what is there.
void parseText(const char* text, std::size_t available, PointRecord& point) {
    auto width = [available](std::size_t start, std::size_t full) {
        return start < available ? (available - start < full ? available - start : full) : 0;
    };
    if (std::size_t w = width(0, kWordWidth)) point.setName(readWord(text, w));
    if (std::size_t w = width(kMarkStart, kWordWidth)) point.setMark(readWord(text + kMarkStart, w));
    double* values[] = {&point.n, &point.e, &point.z};
    for (std::size_t i = 0; i < 3; ++i) {
        std::size_t start = kNumberStart + i * kNumberWidth;
        std::size_t w = width(start, kNumberWidth);
        if (w == 0) continue;
        // The scan stops at the field's end and at a NUL inside it, so it
        // never runs into the next field.
        const char* field = text + start;
        scanNumber(field, field + boundedLength(field, w), *values[i]);
    }
}

}  // namespace

void formatPointFrame(const PointRecord& point, char* frame) {
    formatText(point, frame + kPointTextOffset);
    frame[kPointTextOffset + kPointTextLength] = '\r';
}

void parsePointFrame(const char* frame, PointRecord& point) {
    parseText(frame + kPointTextOffset, kPointTextLength, point);
}

const char* formatPointLine(const PointRecord& point, char* work) {
    formatText(point, work + kPointTextOffset);
    work[kPointTextOffset + kPointTextLength] = '\0';
    return work + kPointTextOffset;
}

void parsePointLine(const char* line, PointRecord& point) {
    parseText(line, boundedLength(line, kPointTextLength), point);
}

namespace {
// A magnitude below this fits whatever its rounding; only the few values
// near the limit need the exact text.
constexpr double kSurelyFits = 9999999.99;

bool fits(double value) {
    if (std::fabs(value) < kSurelyFits) return true;
    char text[kFixedTextMax];
    return magnitudeText(value, text) != 0;
}
}  // namespace

bool pointTextCanHold(const PointRecord& point) { return fits(point.n) && fits(point.e) && fits(point.z); }
