// Longitude and latitude as the outputs in WGS 84 write them: degrees with
// nine decimals, a tenth of a millimetre on the ground, so that a position
// keeps what a survey measured. Correctly rounded and the same bytes on
// every platform (std::to_chars, not the C library's locale), and never
// "-0.000000000".
#pragma once

#include <cstddef>
#include <string_view>

constexpr int kDegreeDecimals = 9;
// The longest text: sign, three integer digits, point, nine decimals, with
// room to spare.
constexpr std::size_t kDegreeTextMax = 32;

// The text of degrees (finite, within +-360), made in text, which must
// hold kDegreeTextMax characters.
std::string_view degreeText(double degrees, char* text);
