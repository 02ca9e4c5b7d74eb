#include "points/NumberText.h"

#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
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

// Two digits at a time: the text of 0..99.
const char kPairs[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

// Writes the digits of value, which has `count` of them, backwards from end.
void putDigitsBefore(char* end, std::uint64_t value, int count) {
    for (; count >= 2; count -= 2) {
        const char* pair = kPairs + 2 * (value % 100);
        *--end = pair[1];
        *--end = pair[0];
        value /= 100;
    }
    if (count == 1) *--end = static_cast<char>('0' + value);
}

// Writes value's digits (one for 0) at out; returns their end. The usual
// magnitudes, below 10^8, take the same steps whatever their length, which
// spares the mispredicted branches of a loop over the digits: all eight
// digits are made, and those after the leading zeros copied (out must hold
// eight characters more than value's).
char* putWhole(std::uint64_t value, char* out) {
    if (value < 100000000) {
        const auto v = static_cast<std::uint32_t>(value);
        const std::uint32_t high = v / 10000, low = v % 10000;
        char digits[16] = {};  // eight copied from anywhere in the first half
        std::memcpy(digits, kPairs + 2 * (high / 100), 2);
        std::memcpy(digits + 2, kPairs + 2 * (high % 100), 2);
        std::memcpy(digits + 4, kPairs + 2 * (low / 100), 2);
        std::memcpy(digits + 6, kPairs + 2 * (low % 100), 2);
        const int count = 1 + (v >= 10) + (v >= 100) + (v >= 1000) + (v >= 10000) + (v >= 100000) +
                          (v >= 1000000) + (v >= 10000000);
        std::memcpy(out, digits + 8 - count, 8);
        return out + count;
    }
    int count = 9;
    for (std::uint64_t limit = 1000000000; count < 20 && value >= limit; limit *= 10) ++count;
    putDigitsBefore(out + count, value, count);
    return out + count;
}

// Writes scaled / 10^D with D decimals (the integer part, then '.' and the
// decimals); returns the end. Division by a constant: a multiplication.
template <int D>
char* putScaled(std::uint64_t scaled, char* out) {
    constexpr std::uint64_t kUnit = D == 0 ? 1 : D == 1 ? 10 : D == 2 ? 100 : D == 3 ? 1000 : 10000;
    out = putWhole(scaled / kUnit, out);
    if (D == 0) return out;
    *out++ = '.';
    putDigitsBefore(out + D, scaled % kUnit, D);
    return out + D;
}

// The values most points hold, written without the general conversion:
// a magnitude m * 2^e (m below 2^53) times 10^d is m * 5^d * 2^(e + d), and
// m * 5^d stays below 2^63 for d <= 4, so the scaled value and its rounding
// to the nearest integer (ties to even, on the exact binary value) are exact
// in 64-bit integers. False for magnitudes of 2^50 / 10^d and more, and for
// infinity and NaN, which the general conversion writes.
bool formatFixedFast(double value, int decimals, char*& out) {
    static const std::uint64_t kPowersOf5[] = {1, 5, 25, 125, 625};
    static const double kLimits[] = {0x1p50, 0x1p50 / 10, 0x1p50 / 100, 0x1p50 / 1000, 0x1p50 / 10000};
    const double magnitude = std::fabs(value);
    if (!(magnitude < kLimits[decimals])) return false;
    std::uint64_t bits;
    std::memcpy(&bits, &magnitude, sizeof bits);
    const int field = static_cast<int>(bits >> 52);
    std::uint64_t m = bits & ((std::uint64_t{1} << 52) - 1);
    int e = -1074;  // subnormal
    if (field != 0) {
        m |= std::uint64_t{1} << 52;
        e = field - 1075;
    }
    const std::uint64_t product = m * kPowersOf5[decimals];
    const int shift = -(e + decimals);  // scaled value = product / 2^shift
    std::uint64_t scaled;
    if (shift <= 0) {
        scaled = product << -shift;  // an integer; below 2^50 by the test above
    } else if (shift >= 64) {
        scaled = 0;  // product < 2^63: below one half
    } else {
        scaled = product >> shift;
        const std::uint64_t rest = product & ((std::uint64_t{1} << shift) - 1);
        const std::uint64_t half = std::uint64_t{1} << (shift - 1);
        if (rest > half || (rest == half && (scaled & 1))) ++scaled;
    }
    *out = '-';
    out += std::signbit(value);
    switch (decimals) {
    case 0: out = putScaled<0>(scaled, out); break;
    case 1: out = putScaled<1>(scaled, out); break;
    case 2: out = putScaled<2>(scaled, out); break;
    case 3: out = putScaled<3>(scaled, out); break;
    default: out = putScaled<4>(scaled, out); break;
    }
    return true;
}

// The digits of a mantissa as they are recognised: their integer w (its
// first 19 significant digits) and the decimal exponent k that makes the
// mantissa w * 10^k, so that the usual numbers need no second pass.
struct MantissaDigits {
    std::uint64_t w = 0;
    int significant = 0;  // digits after the leading zeros
    long k = 0;

    const char* integerPart(const char* p, const char* end) {
        for (; p < end && isDigit(*p); ++p) add(*p, false);
        return p;
    }
    const char* fractionPart(const char* p, const char* end) {
        for (; p < end && isDigit(*p); ++p) add(*p, true);
        return p;
    }
    void add(char digit, bool fraction) {
        if (w == 0 && digit == '0') {  // a leading zero carries no digit
            if (fraction) --k;
            return;
        }
        if (++significant > 19) return;  // too many for the quick way
        w = w * 10 + static_cast<std::uint64_t>(digit - '0');
        if (fraction) --k;
    }
};

// The value of the mantissa and the exponent text [exponent, exponentEnd)
// without the general conversion, for at most 19 digits whose integer is
// below 2^53 and a decimal exponent of at most 22 either way: w and 10^|k|
// are then exact doubles, and one IEEE multiplication or division gives the
// correctly rounded value. Only where double arithmetic is done in double
// precision (not on the x87, whose extra precision would round twice).
bool scanFast(const MantissaDigits& digits, const char* exponent, const char* exponentEnd, double& result) {
#if FLT_EVAL_METHOD == 0
    static const double kPowersOf10[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                         1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    if (digits.significant > 19 || digits.w >= (std::uint64_t{1} << 53)) return false;
    long k = digits.k;
    if (exponent < exponentEnd) {
        const char* q = exponent + 1;
        bool negative = false;
        if (*q == '+' || *q == '-') negative = *q++ == '-';
        long exp = 0;
        for (; q < exponentEnd; ++q) {
            exp = exp * 10 + (*q - '0');
            if (exp > 1000) return false;
        }
        k += negative ? -exp : exp;
    }
    if (digits.w == 0) {
        result = 0.0;
        return true;
    }
    if (k < -22 || k > 22) return false;
    const double exact = static_cast<double>(digits.w);
    result = k < 0 ? exact / kPowersOf10[-k] : exact * kPowersOf10[k];
    return true;
#else
    (void)digits, (void)exponent, (void)exponentEnd, (void)result;
    return false;
#endif
}

// The numbers that point files hold: at most 19 digits with an optional
// '.', no exponent, and an integer w below 2^53 and at most 22 decimals, so
// that w and 10^decimals are exact doubles and one IEEE division gives the
// correctly rounded value (only where doubles are computed in double
// precision, as scanFast below). Returns the end of the number, having
// stored the value; nullptr for any other text, which the general reading
// then takes.
const char* scanPlain(const char* p, const char* end, double& value, bool negative) {
#if FLT_EVAL_METHOD == 0
    static const double kPowersOf10[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                         1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    std::uint64_t w = 0;
    const char* start = p;
    for (; p < end && isDigit(*p); ++p) w = w * 10 + static_cast<std::uint64_t>(*p - '0');
    std::ptrdiff_t count = p - start;
    std::ptrdiff_t decimals = 0;
    if (p < end && *p == '.') {
        const char* fraction = ++p;
        for (; p < end && isDigit(*p); ++p) w = w * 10 + static_cast<std::uint64_t>(*p - '0');
        decimals = p - fraction;
        count += decimals;
    }
    if (count == 0 || count > 19 || decimals > 22 || w >= (std::uint64_t{1} << 53)) return nullptr;
    if (p < end && (*p == 'e' || *p == 'E')) return nullptr;
    const double magnitude = static_cast<double>(w) / kPowersOf10[decimals];
    value = negative ? -magnitude : magnitude;
    return p;
#else
    (void)p, (void)end, (void)value, (void)negative;
    return nullptr;
#endif
}

}  // namespace

char* formatFixed(double value, int decimals, char* out) {
    if (formatFixedFast(value, decimals, out)) return out;
    return std::to_chars(out, out + kFixedTextMax, value, std::chars_format::fixed, decimals).ptr;
}

const char* scanNumber(const char* begin, const char* end, double& value) {
    const char* p = begin;
    while (p < end && isScanSpace(*p)) ++p;
    bool negative = false;
    if (p < end && (*p == '+' || *p == '-')) negative = *p++ == '-';

    const char* mantissa = p;
    if (const char* after = scanPlain(mantissa, end, value, negative)) return after;
    MantissaDigits digits;
    const char* q = digits.integerPart(mantissa, end);
    bool anyDigit = q > mantissa;
    if (q < end && *q == '.') {
        const char* fraction = q + 1;
        q = digits.fractionPart(fraction, end);
        anyDigit = anyDigit || q > fraction;
    }
    if (!anyDigit) return nullptr;
    const char* mantissaEnd = q;
    q = skipExponent(q, end);
    double result = 0.0;
    if (scanFast(digits, mantissaEnd, q, result)) {
        value = negative ? -result : result;
        return q;
    }
    auto converted = std::from_chars(mantissa, q, result, std::chars_format::general);
    if (converted.ec == std::errc::result_out_of_range) {
        result = overflows(mantissa, mantissaEnd, mantissaEnd, q) ? std::numeric_limits<double>::infinity() : 0.0;
    } else if (converted.ec != std::errc() || converted.ptr != q) {
        return nullptr;  // cannot happen for the text recognised above
    }
    value = negative ? -result : result;
    return q;
}
