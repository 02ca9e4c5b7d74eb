// Number text as the point texts and exchange files carry it, independent of
// the C runtime, so that every build writes and reads the same bytes.
//
// Writing: fixed point with a given number of decimals, byte for byte what
// printf("%.*f") gives in the "C" locale (correctly rounded, ties to even on
// the exact binary value, "-" for negative values and negative zero,
// "inf"/"nan" for the non-finite values).
//
// Reading: the "%lf" conversion of scanf as the point files and frames
// define their numbers: white space (space, \t, \n, \v, \f, \r; bytes
// 0x80..0xFF never) is skipped, then an optional sign and a decimal number:
// digits with an optional '.', at least one digit, and an optional exponent
// (e or E, optional sign, digits). Nothing else is a number: "inf", "nan"
// and the like give none, and "0x10" reads as 0, ending before the 'x'. The
// number ends at the first character that cannot continue it: "1e+" reads 1
// and ends before the 'e'. Within this syntax the value is the one strtod
// gives in the "C" locale, bit for bit: values beyond the double range read
// as infinity, values below it as zero.
#pragma once

#include <cstddef>

// True for the characters that "%lf" and "%s" skip: space, \t, \n, \v, \f, \r.
inline bool isScanSpace(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

// Length of a NUL-terminated text, looking at no more than max characters.
inline std::size_t boundedLength(const char* text, std::size_t max) {
    std::size_t len = 0;
    while (len < max && text[len] != '\0') ++len;
    return len;
}

// Longest text formatFixed can give: 309 integer digits of the largest
// double, sign, point and up to 4 decimals, plus room for the terminator.
constexpr std::size_t kFixedTextMax = 320;
constexpr int kFixedDecimalsMax = 4;

// Writes value with `decimals` (0..4) decimals at out, which must hold
// kFixedTextMax characters; returns the end of the text (no terminator).
// The characters after the end may have been written over.
char* formatFixed(double value, int decimals, char* out);

// Reads one "%lf" number from [begin, end). On success stores the value and
// returns the position after the number; when there is no number returns
// nullptr and leaves value unchanged. Never reads at or past end.
const char* scanNumber(const char* begin, const char* end, double& value);
