#include "points/NumberText.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

const char* skipDigits(const char* p, const char* end) {
    while (p < end && isDigit(*p)) ++p;
    return p;
}

// An exponent: 'e' or 'E', optional sign, at least one digit. Returns the
// end of the exponent, or p when none follows.
const char* skipExponent(const char* p, const char* end) {
    if (p == end || (*p != 'e' && *p != 'E')) return p;
    const char* q = p + 1;
    if (q < end && (*q == '+' || *q == '-')) ++q;
    if (q == end || !isDigit(*q)) return p;
    return skipDigits(q, end);
}

// A value outside the double range is either too large (it reads as
// infinity) or too small (it reads as zero). Tells which, from the weight of
// the first non-zero digit of the mantissa and the exponent that follows it
// (exponent == exponentEnd when there is none).
bool overflows(const char* mantissa, const char* mantissaEnd, const char* exponent, const char* exponentEnd) {
    const char* point = mantissa;
    while (point < mantissaEnd && *point != '.') ++point;
    const char* first = mantissa;
    while (first < mantissaEnd && (*first == '0' || *first == '.')) ++first;
    long weight = first < point ? (point - first) - 1 : -(first - point);
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

    const char* mantissa = p;
    const char* q = skipDigits(mantissa, end);
    bool anyDigit = q > mantissa;
    if (q < end && *q == '.') {
        const char* fraction = q + 1;
        q = skipDigits(fraction, end);
        anyDigit = anyDigit || q > fraction;
    }
    if (!anyDigit) return nullptr;
    const char* mantissaEnd = q;
    q = skipExponent(q, end);
    double result = 0.0;
    auto converted = std::from_chars(mantissa, q, result, std::chars_format::general);
    if (converted.ec == std::errc::result_out_of_range) {
        result = overflows(mantissa, mantissaEnd, mantissaEnd, q) ? std::numeric_limits<double>::infinity() : 0.0;
    } else if (converted.ec != std::errc() || converted.ptr != q) {
        return nullptr;  // cannot happen for the text recognised above
    }
    value = negative ? -result : result;
    return q;
}
