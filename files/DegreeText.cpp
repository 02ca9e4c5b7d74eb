#include "files/DegreeText.h"

#include <charconv>

std::string_view degreeText(double degrees, char* text) {
    const std::to_chars_result made =
        std::to_chars(text, text + kDegreeTextMax, degrees, std::chars_format::fixed, kDegreeDecimals);
    const char* start = text;
    if (*start == '-') {
        const char* digit = start + 1;
        while (digit < made.ptr && (*digit == '0' || *digit == '.')) ++digit;
        if (digit == made.ptr) ++start;  // every digit is 0
    }
    return std::string_view(start, static_cast<std::size_t>(made.ptr - start));
}
