#include "points/NumberText.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>

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

bool sameValue(double a, double b) {
    if (std::isnan(a) || std::isnan(b)) return std::isnan(a) && std::isnan(b);
    return std::memcmp(&a, &b, sizeof a) == 0;  // tells -0 from 0
}

TEST(NumberText, FixedMatchesPrintfOnChosenValues) {
    const double values[] = {0.0, -0.0, 0.00005, -0.00005, 2.5e-4, 0.00015, 0.125, 0.375, 2.5, 0.03125,
                             0.0625, -0.0001, 1234.5678, 9999999.9995, 9999999.999, 1e7, 1e20, -1e20,
                             123456789012.34567, 1e300, -1.7976931348623157e308, 4.9e-324, 0.5, 1.5,
                             HUGE_VAL, -HUGE_VAL, std::nan("")};
    for (double v : values) {
        for (int d = 0; d <= kFixedDecimalsMax; ++d) EXPECT_EQ(fixed(v, d), printfFixed(v, d)) << v << " " << d;
    }
}

TEST(NumberText, FixedMatchesPrintfOnRandomValues) {
    std::mt19937_64 random(20240601);
    for (int i = 0; i < 200000; ++i) {
        double v;
        switch (i % 4) {
        case 0: {  // any finite double
            std::uint64_t bits = random();
            std::memcpy(&v, &bits, sizeof v);
            if (!std::isfinite(v)) continue;
            break;
        }
        case 1:  // survey-sized values
            v = std::uniform_real_distribution<double>(-2e7, 2e7)(random);
            break;
        case 2:  // exact binary ties at the last decimal: odd multiples of 2^-k
            v = static_cast<double>(random() % 100000 * 2 + 1) / static_cast<double>(1u << (random() % 20));
            break;
        default:  // decimal-looking values with five decimals (near ties)
            v = static_cast<double>(static_cast<std::int64_t>(random() % 2000000000) - 1000000000) / 100000.0;
            break;
        }
        int d = 3 + static_cast<int>(i & 1);
        ASSERT_EQ(fixed(v, d), printfFixed(v, d)) << v;
    }
}

// The number a C runtime reads from text when only the decimal syntax may
// take part: strtod on a copy that ends at the first character outside that
// syntax's alphabet (digits, '.', 'e', 'E', signs, white space). With no 'x',
// 'i', 'n' or 'p' left, strtod can only read a decimal number.
struct DecimalReading {
    std::string copy;
    std::size_t used = 0;  // 0: no number
    double value = 0.0;
};

DecimalReading strtodDecimal(const char* text) {
    DecimalReading r;
    r.copy = text;
    std::size_t keep = r.copy.find_first_not_of("0123456789.eE+- \t\n\v\f\r");
    if (keep != std::string::npos) r.copy.resize(keep);
    char* end;
    r.value = std::strtod(r.copy.c_str(), &end);
    r.used = static_cast<std::size_t>(end - r.copy.c_str());
    return r;
}

void expectReadsLikeStrtod(const char* text) {
    const DecimalReading expected = strtodDecimal(text);
    double value = -77.0;
    const char* after = scanNumber(text, text + std::strlen(text), value);
    if (expected.used == 0) {
        EXPECT_EQ(after, nullptr) << text;
        EXPECT_EQ(value, -77.0) << text;
    } else {
        ASSERT_NE(after, nullptr) << text;
        EXPECT_EQ(static_cast<std::size_t>(after - text), expected.used) << text;
        EXPECT_TRUE(sameValue(value, expected.value)) << text << " " << value << " " << expected.value;
    }
}

// What the conversion takes, where C libraries agree with strtod.
TEST(NumberText, ScanTakesWhatStrtodTakesOfTheDecimalSyntax) {
    const char* inputs[] = {"2.5e2", "+3", "-0", ".5", "5.", "1e", "1e+", "1e-2x", "0x10", "-0x1.8p1", "0x",
                            "0x.", "0x.8", "0xg", "inf", "-INF", "infinity", "infin", "nan", "NaN(1_a)x",
                            "nan(", "\t\v\f\r\n 7", " +", "+-3", "-", ".", ".e1", "e5", "1e400", "-1e400",
                            "1e-400", "2e-324", "4.9e-324", "1e99999999999999999999", "0x1p99999",
                            "0x1p-99999", "00000012.5xy", "1.7976931348623157e308", "12,5", "\xA0" "5",
                            "123456789012345678901234567890", "0.000000000000000000000000000001e-300",
                            "1" "000000000000000000000000000000000000000000000000000000000000e300", ""};
    for (const char* text : inputs) expectReadsLikeStrtod(text);
}

// Texts that a C runtime reads as infinity, NaN or a hexadecimal number are
// no number here, or a number that ends where the decimal syntax ends.
TEST(NumberText, ScanTakesNoInfinityNanOrHexadecimal) {
    struct Case {
        const char* text;
        std::size_t used;  // 0: no number
        double value;
    } cases[] = {{"inf", 0, 0}, {"-INF", 0, 0}, {"infinity", 0, 0}, {"+Infinity", 0, 0}, {"nan", 0, 0},
                 {"-nan(0x1)", 0, 0}, {"NAN", 0, 0}, {"0x10", 1, 0.0}, {"-0x1.8p1", 2, -0.0},
                 {"0X1P3", 1, 0.0}, {"10x", 2, 10.0}, {"1e5infinity", 3, 1e5}, {"  0x", 3, 0.0},
                 {"0x1p,", 1, 0.0}};
    for (const Case& c : cases) {
        double value = -77.0;
        const char* after = scanNumber(c.text, c.text + std::strlen(c.text), value);
        if (c.used == 0) {
            EXPECT_EQ(after, nullptr) << c.text;
            EXPECT_EQ(value, -77.0) << c.text;
            continue;
        }
        ASSERT_NE(after, nullptr) << c.text;
        EXPECT_EQ(static_cast<std::size_t>(after - c.text), c.used) << c.text;
        EXPECT_TRUE(sameValue(value, c.value)) << c.text;
    }
}

// Random texts from the pieces numbers are made of: the conversion takes
// what strtod takes of the decimal syntax, with the same value; where
// scanf("%lf") reads a number from that part, it is the same number.
TEST(NumberText, ScanAgreesWithStrtodAndScanfOnRandomTexts) {
    const char* pieces[] = {"0", "1", "5", "9", "37", ".", ".", "e", "E", "p", "P", "+", "-", "0x", "0X", "a",
                            "f", "inf", "INF", "inity", "nan", "(", "b_2", ")", " ", "\t", "\xA0", ",", "e3"};
    std::mt19937 random(7);
    for (int i = 0; i < 100000; ++i) {
        char text[64] = "";
        std::size_t count = random() % 8;
        for (std::size_t k = 0; k < count; ++k) std::strcat(text, pieces[random() % (sizeof pieces / sizeof *pieces)]);
        std::size_t len = std::strlen(text);
        const DecimalReading expected = strtodDecimal(text);
        double value = 0.0;
        const char* after = scanNumber(text, text + len, value);
        ASSERT_EQ(after ? static_cast<std::size_t>(after - text) : 0, expected.used) << text;
        if (after) {
            ASSERT_TRUE(sameValue(value, expected.value)) << text;
        }

        double scanned;
        if (std::sscanf(expected.copy.c_str(), "%lf", &scanned) == 1) {
            ASSERT_NE(after, nullptr) << text;
            ASSERT_TRUE(sameValue(value, scanned)) << text;
        }
    }
}

// Random texts inside the syntax (sign, digits, point, exponent, in every
// arrangement the syntax allows), followed by a character that cannot
// continue them: read whole, with exactly strtod's value.
TEST(NumberText, ScanReadsEveryWellFormedNumberAsStrtodDoes) {
    std::mt19937_64 random(20250101);
    auto digits = [&](std::size_t min, std::size_t max) {
        std::string out(min + random() % (max - min + 1), '0');
        for (char& c : out) c = static_cast<char>('0' + random() % 10);
        return out;
    };
    const char* signs[] = {"", "", "+", "-"};
    const char* follow[] = {"", ",", " ", "x", "e", "E+", "inf", "\r\n"};
    for (int i = 0; i < 200000; ++i) {
        std::string number = signs[random() % 4];
        switch (random() % 3) {
        case 0: number += digits(1, 25); break;
        case 1: number += digits(0, 12) + "." + digits(1, 12); break;
        default: number += digits(1, 12) + "." + digits(0, 12); break;
        }
        if (random() % 2) {
            number += random() % 2 ? "e" : "E";
            number += signs[random() % 4];
            number += digits(1, random() % 8 ? 2 : 4);
        }
        std::string text = number + follow[random() % 8];
        char* end;
        double expected = std::strtod(number.c_str(), &end);
        ASSERT_EQ(*end, '\0') << number;
        double value = 0.0;
        const char* after = scanNumber(text.data(), text.data() + text.size(), value);
        ASSERT_EQ(after, text.data() + number.size()) << text;
        ASSERT_TRUE(sameValue(value, expected)) << text;
    }
}

// Where C libraries differ (glibc's scanf swallows a dangling exponent), the
// number ends where it can no longer grow.
TEST(NumberText, ScanEndsBeforeAnUnfinishedExponent) {
    struct Case {
        const char* text;
        double value;
        std::size_t used;
    } cases[] = {{"1e,5", 1.0, 1}, {"1e+", 1.0, 1}, {"100ergs", 100.0, 3}, {"0x", 0.0, 1}, {"2.5E-", 2.5, 3}};
    for (const Case& c : cases) {
        double value = -1.0;
        const char* after = scanNumber(c.text, c.text + std::strlen(c.text), value);
        ASSERT_NE(after, nullptr) << c.text;
        EXPECT_EQ(value, c.value) << c.text;
        EXPECT_EQ(static_cast<std::size_t>(after - c.text), c.used) << c.text;
    }
}

TEST(NumberText, ScanStopsAtTheGivenEnd) {
    const char text[] = "  12.75e3";
    double value = 0.0;
    EXPECT_EQ(scanNumber(text, text + 2, value), nullptr);  // only white space before the end
    EXPECT_EQ(scanNumber(text, text + 6, value), text + 6);
    EXPECT_EQ(value, 12.7);
    EXPECT_EQ(scanNumber(text, text + 8, value), text + 7);  // "e" without digits is left
    EXPECT_EQ(value, 12.75);
}

}  // namespace
