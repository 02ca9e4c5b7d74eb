#include "app/plot/ScaleBar.h"

#include <cmath>

namespace {

constexpr int kLowestExponent = -300;
constexpr int kHighestExponent = 300;

double lengthOf(int digit, int exponent) { return digit * std::pow(10.0, exponent); }

}  // namespace

ScaleBar chooseScaleBar(double scale, double maxPixels) {
    ScaleBar bar;
    double room = maxPixels / scale;  // the longest length that fits, in units
    int exponent = std::isfinite(room) && room > 0 ? static_cast<int>(std::floor(std::log10(room))) : 0;
    if (!(room > 0)) exponent = kLowestExponent;
    if (exponent < kLowestExponent) exponent = kLowestExponent;
    if (exponent > kHighestExponent) exponent = kHighestExponent;
    // log10 may be off by one near a power of ten: step until 10^exponent
    // fits and 10^(exponent + 1) does not.
    while (exponent > kLowestExponent && lengthOf(1, exponent) > room) --exponent;
    while (exponent < kHighestExponent && lengthOf(1, exponent + 1) <= room) ++exponent;
    bar.digit = 1;
    for (int digit : {5, 2}) {
        if (lengthOf(digit, exponent) <= room) {
            bar.digit = digit;
            break;
        }
    }
    bar.exponent = exponent;
    bar.length = lengthOf(bar.digit, exponent);
    bar.pixels = bar.length * scale;
    return bar;
}

std::string scaleBarText(const ScaleBar& bar) {
    std::string digit(1, static_cast<char>('0' + bar.digit));
    if (bar.exponent >= 0 && bar.exponent <= 6) return digit + std::string(static_cast<std::size_t>(bar.exponent), '0');
    if (bar.exponent < 0 && bar.exponent >= -4)
        return "0." + std::string(static_cast<std::size_t>(-bar.exponent - 1), '0') + digit;
    return digit + "e" + std::to_string(bar.exponent);
}
