#include "points/NumberText.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

bool isHexDigit(char c) {
    char lower = static_cast<char>(c | 0x20);
    return isDigit(c) || (lower >= 'a' && lower <= 'f');
}


bool isLetter(char c) {
    char lower = static_cast<char>(c | 0x20);
    return lower >= 'a' && lower <= 'z';
}

// Case-insensitive match of a lower-case word at p, within [p, end).
bool matchesWord(const char* p, const char* end, const char* word) {
    for (; *word; ++p, ++word) {
        if (p == end || static_cast<char>(*p | 0x20) != *word) return false;
    }
    return true;
}

const char* skipDigits(const char* p, const char* end, bool hex) {
    while (p < end && (hex ? isHexDigit(*p) : isDigit(*p))) ++p;
    return p;
}

// An exponent: marker letter, optional sign, at least one decimal digit.
// Returns the end of the exponent, or p when none follows.
const char* skipExponent(const char* p, const char* end, char marker) {
    if (p == end || static_cast<char>(*p | 0x20) != marker) return p;
    const char* q = p + 1;
    if (q < end && (*q == '+' || *q == '-')) ++q;
    if (q == end || !isDigit(*q)) return p;
    return skipDigits(q, end, false);
}

// A value outside the double range is either too large (it reads as
// infinity) or too small (it reads as zero). Tells which, from the weight of
// the first non-zero digit of the mantissa and the exponent that follows it
// (exponent == exponentEnd when there is none). Hex digits weigh 4 bits.
bool overflows(const char* mantissa, const char* mantissaEnd, const char* exponent,
               const char* exponentEnd, bool hex) {
    const char* point = mantissa;
    while (point < mantissaEnd && *point != '.') ++point;
    const char* first = mantissa;
    while (first < mantissaEnd && (*first == '0' || *first == '.')) ++first;
    long weight = first < point ? (point - first) - 1 : -(first - point);
    if (hex) weight *= 4;
    long exp = 0;
    if (exponent < exponentEnd) {
        const char* q = exponent + 1;
        bool negative = false;
        if (*q == '+' || *q == '-') negative = *q++ == '-';
        for (; q < exponentEnd; ++q) {
            if (exp < 100000000L) exp = exp * 10 + (*q - '0');
        }
        if (negative) exp = -exp;
    }
    return weight + exp > 0;
}

}  // namespace

char* formatFixed(double value, int decimals, char* out) {
    return std::to_chars(out, out + kFixedTextMax, value, std::chars_format::fixed, decimals).ptr;
}

const char* scanNumber(const char* begin, const char* end, double& value) {
    const char* p = begin;
    while (p < end && isScanSpace(*p)) ++p;
    bool negative = false;
    if (p < end && (*p == '+' || *p == '-')) negative = *p++ == '-';

    double result = 0.0;
    if (matchesWord(p, end, "inf")) {
        p += matchesWord(p, end, "infinity") ? 8 : 3;
        result = std::numeric_limits<double>::infinity();
    } else if (matchesWord(p, end, "nan")) {
        p += 3;
        if (p < end && *p == '(') {
            const char* q = p + 1;
            while (q < end && (isDigit(*q) || isLetter(*q) || *q == '_')) ++q;
            if (q < end && *q == ')') p = q + 1;
        }
        result = std::numeric_limits<double>::quiet_NaN();
    } else {
        bool hex = end - p >= 3 && p[0] == '0' && (p[1] | 0x20) == 'x' &&
                   (isHexDigit(p[2]) || (p[2] == '.' && end - p >= 4 && isHexDigit(p[3])));
        const char* mantissa = hex ? p + 2 : p;
        const char* q = skipDigits(mantissa, end, hex);
        bool anyDigit = q > mantissa;
        if (q < end && *q == '.') {
            const char* fraction = q + 1;
            q = skipDigits(fraction, end, hex);
            anyDigit = anyDigit || q > fraction;
        }
        if (!anyDigit) return nullptr;
        const char* mantissaEnd = q;
        q = skipExponent(q, end, hex ? 'p' : 'e');
        auto converted = std::from_chars(mantissa, q, result,
                                         hex ? std::chars_format::hex : std::chars_format::general);
        if (converted.ec == std::errc::result_out_of_range) {
            result = overflows(mantissa, mantissaEnd, mantissaEnd, q, hex)
                         ? std::numeric_limits<double>::infinity()
                         : 0.0;
        } else if (converted.ec != std::errc() || converted.ptr != q) {
            return nullptr;  // cannot happen for the text recognised above
        }
        p = q;
    }
    value = negative ? -result : result;
    return p;
}
