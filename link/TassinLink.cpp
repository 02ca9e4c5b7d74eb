#include "link/TassinLink.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

const std::uint8_t kTassinSync[kTassinSyncLength] = {0xA0, 0x01, 0xA5};

namespace {

constexpr std::size_t kFlagsAt = 5;
constexpr std::size_t kNameAt = 25;
constexpr std::size_t kNameLength = 7;
constexpr std::size_t kMarkAt = 32;
constexpr std::size_t kMarkLength = 4;
constexpr std::size_t kNAt = 51;
constexpr std::size_t kEAt = 56;
constexpr std::size_t kZAt = 61;

constexpr std::uint8_t kFrameHead = 0xA0;
constexpr std::uint8_t kFrameBodyLength = 0x37;  // bytes after the length byte
constexpr std::size_t kOutTotalAt = 2;
constexpr std::size_t kOutNameAt = 6;
constexpr std::size_t kOutMarkAt = 13;
constexpr std::size_t kOutMarkChars = 3;
constexpr std::size_t kOutNAt = 17;
constexpr std::size_t kOutEAt = 30;
constexpr std::size_t kOutZAt = 43;

std::string textUpToZero(const std::uint8_t* bytes, std::size_t length) {
    std::size_t n = 0;
    while (n < length && bytes[n] != 0) ++n;
    return std::string(reinterpret_cast<const char*>(bytes), n);
}

// Copies text into a field of the given width: cut to the width, followed by
// one zero byte when shorter. The rest of the field stays as it is (zero).
void putTextField(std::uint8_t* field, std::size_t width, const char* text, std::size_t length) {
    const std::size_t n = length < width ? length : width;
    std::memcpy(field, text, n);
    if (n < width) field[n] = 0;
}

void putNumberField(std::uint8_t* field, double value) {
    char text[32];
    const int length = std::snprintf(text, sizeof text, "%.3f", value);
    const std::size_t stored = length < 0 ? 0 : static_cast<std::size_t>(length);
    putTextField(field, kTassinNumberField, text,
                 stored < sizeof text - 1 ? stored : sizeof text - 1);
}

}  // namespace

bool isTassinSync(const std::uint8_t* bytes) {
    return std::memcmp(bytes, kTassinSync, kTassinSyncLength) == 0;
}

double decodePackedNumber(const std::uint8_t* packed, bool negative) {
    // Digit characters as the instrument's text would hold them: 0x30 + nibble,
    // so nibbles 10..15 become ':' to '?', which end a number.
    char digits[10];
    for (std::size_t i = 0; i < kTassinPackedLength; ++i) {
        digits[2 * i] = static_cast<char>('0' + (packed[i] & 0x0F));
        digits[2 * i + 1] = static_cast<char>('0' + (packed[i] >> 4));
    }
    std::size_t first = 0;
    while (first < 6 && digits[first] == '0') ++first;  // keep at least one integer digit
    std::string text(digits + first, digits + 7);
    text += '.';
    text.append(digits + 7, digits + 10);

    // Read it as "%lf" would: the longest prefix of digits, a point and
    // digits. from_chars does not depend on the locale's decimal point.
    std::size_t end = 0;
    while (end < text.size() && text[end] >= '0' && text[end] <= '9') ++end;
    if (end == 0) return 0.0;  // not one digit: the field keeps its 0
    if (end < text.size() && text[end] == '.') {
        ++end;
        while (end < text.size() && text[end] >= '0' && text[end] <= '9') ++end;
    }
    double magnitude = 0.0;
    std::from_chars(text.data(), text.data() + end, magnitude);
    if (magnitude == 0.0) return 0.0;  // no negative zero in the list
    return negative ? -magnitude : magnitude;
}

bool isTassinEndFrame(const TassinInFrame& frame) {
    for (std::size_t i = 2; i < kTassinInFrameLength; ++i)
        if (frame[i] != 0) return false;
    return true;
}

void decodeTassinFrame(const TassinInFrame& frame, PointRecord& point) {
    point.setName(textUpToZero(frame.data() + kNameAt, kNameLength));
    point.setMark(textUpToZero(frame.data() + kMarkAt, kMarkLength));
    const std::uint8_t flags = frame[kFlagsAt];
    point.z = decodePackedNumber(frame.data() + kZAt, (flags & kTassinFlagZ) != 0);
    point.e = decodePackedNumber(frame.data() + kEAt, (flags & kTassinFlagE) != 0);
    point.n = decodePackedNumber(frame.data() + kNAt, (flags & kTassinFlagN) != 0);
}

namespace {
std::size_t trimmedNameLength(const PointRecord& point) {
    std::size_t length = std::strlen(point.name);
    while (length > 0 && point.name[length - 1] == ' ') --length;
    return length;
}
}  // namespace

bool trimTassinName(PointRecord& point) {
    std::size_t length = trimmedNameLength(point);
    if (point.name[length] == '\0') return false;
    point.name[length] = '\0';
    return true;
}

void encodeTassinRecord(const PointRecord& point, int total, TassinOutFrame& frame) {
    frame.fill(0);
    frame[0] = kFrameHead;
    frame[1] = kFrameBodyLength;

    char totalText[16];
    std::snprintf(totalText, sizeof totalText, "%4d", total);
    std::memcpy(frame.data() + kOutTotalAt, totalText, 4);

    putTextField(frame.data() + kOutNameAt, 7, point.name, trimmedNameLength(point));

    const std::size_t markLength = std::strlen(point.mark);
    std::memcpy(frame.data() + kOutMarkAt, point.mark,
                markLength < kOutMarkChars ? markLength : kOutMarkChars);

    putNumberField(frame.data() + kOutNAt, point.n);
    putNumberField(frame.data() + kOutEAt, point.e);
    putNumberField(frame.data() + kOutZAt, point.z);
}

std::size_t tassinNumberTextLength(double value) {
    const int length = std::snprintf(nullptr, 0, "%.3f", value);
    return length < 0 ? 0 : static_cast<std::size_t>(length);
}

namespace {
bool numberFits(double value) { return std::isfinite(value) && tassinNumberTextLength(value) <= kTassinNumberField; }
}  // namespace

bool tassinCanCarry(const PointRecord& point) {
    return numberFits(point.n) && numberFits(point.e) && numberFits(point.z);
}
