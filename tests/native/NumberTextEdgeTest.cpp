// The number text where the quick ways meet the general conversion: every
// magnitude band near 2^50 / 10^d, exact halves at every scale, and numbers
// of 15 to 20 digits with exponents around +-22, against printf and strtod.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>

#include "points/NumberText.h"

namespace {

std::string fixed(double value, int decimals) {
    char text[kFixedTextMax];
    return std::string(text, formatFixed(value, decimals, text));
}

std::string printfFixed(double value, int decimals) {
    char text[400];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

TEST(NumberTextEdges, FixedMatchesPrintfAtHalvesAndAtTheLimitOfTheQuickWay) {
    std::mt19937_64 random(50);
    for (int d = 0; d <= kFixedDecimalsMax; ++d) {
        const double limit = std::ldexp(1.0, 50) / std::pow(10.0, d);
        for (int i = 0; i < 20000; ++i) {
            double v;
            switch (i % 4) {
            case 0:  // exact halves of the last decimal, and their neighbours
                v = (static_cast<double>(random() % 2000000) + 0.5) / std::pow(10.0, d);
                v = std::nextafter(v, i % 8 < 4 ? 0.0 : 1e300);
                if (i % 3 == 0) v = (static_cast<double>(random() % 2000000) * 2 + 1) / std::ldexp(1.0, 1 + d);
                break;
            case 1:  // around the limit
                v = limit * (1.0 + (static_cast<double>(random() % 2001) - 1000.0) * 1e-15);
                break;
            case 2:  // tiny and subnormal
                v = std::ldexp(static_cast<double>(random() % 1000000 + 1), -static_cast<int>(random() % 1100));
                break;
            default:  // any bits of a finite double with a small exponent
                v = std::ldexp(static_cast<double>(random() >> 11), static_cast<int>(random() % 80) - 70);
                break;
            }
            if (random() % 2) v = -v;
            ASSERT_EQ(fixed(v, d), printfFixed(v, d)) << std::hexfloat << v << " with " << d;
        }
    }
}

TEST(NumberTextEdges, ScanMatchesStrtodAroundTheQuickWaysLimits) {
    std::mt19937_64 random(22);
    for (int i = 0; i < 200000; ++i) {
        std::string digits;
        const int count = 1 + static_cast<int>(random() % 21);
        for (int k = 0; k < count; ++k) digits += static_cast<char>('0' + random() % 10);
        const std::size_t point = random() % (digits.size() + 1);
        std::string text = digits.substr(0, point) + "." + digits.substr(point);
        if (text == ".") text = "0.";
        if (random() % 3 == 0) text += "e" + std::to_string(static_cast<int>(random() % 61) - 30);
        if (random() % 4 == 0) text = "-" + text;
        double value = 7;
        const char* end = scanNumber(text.data(), text.data() + text.size(), value);
        ASSERT_EQ(end, text.data() + text.size()) << text;
        const double expected = std::strtod(text.c_str(), nullptr);
        ASSERT_EQ(std::memcmp(&value, &expected, sizeof value), 0) << text << ": " << value << " " << expected;
    }
}

}  // namespace
