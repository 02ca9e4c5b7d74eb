// The scale bar: always a round length (1, 2 or 5 times a power of ten),
// the longest that fits its room, at any scale the plot allows; and how the
// plot writes it.
#include "app/plot/ScaleBar.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

namespace {

TEST(ScaleBar, IsTheLongestRoundLengthThatFits) {
    std::mt19937 random(3);
    std::uniform_real_distribution<double> logScale(-290, 290), room(40, 400);
    for (int i = 0; i < 5000; ++i) {
        double scale = std::pow(10.0, logScale(random));
        double maxPixels = room(random);
        ScaleBar bar = chooseScaleBar(scale, maxPixels);
        ASSERT_TRUE(bar.digit == 1 || bar.digit == 2 || bar.digit == 5) << bar.digit;
        ASSERT_DOUBLE_EQ(bar.length, bar.digit * std::pow(10.0, bar.exponent));
        ASSERT_DOUBLE_EQ(bar.pixels, bar.length * scale);
        ASSERT_LE(bar.pixels, maxPixels * (1 + 1e-12)) << scale << " " << maxPixels;
        // The next round length up (2, 5, 10 times) would not fit: the bar
        // is longer than 2 / 5 of the room.
        ASSERT_GT(bar.pixels, maxPixels * 0.4 * (1 - 1e-12)) << scale << " " << maxPixels;
    }
}

TEST(ScaleBar, ExactPowersAndTheirNeighbours) {
    struct Case {
        double scale;
        double maxPixels;
        int digit;
        int exponent;
    } cases[] = {
        {1, 100, 1, 2},        // exactly 100 units fit
        {1, 99.999, 5, 1},
        {1, 199.9, 1, 2},
        {1, 200, 2, 2},
        {1, 500, 5, 2},
        {1000, 100, 1, -1},    // 0.1 unit = 100 pixels
        {1e-3, 120, 1, 5},
        {0.5, 100, 2, 2},
        {1e6, 100, 1, -4},     // the finest scale the plot allows
    };
    for (const Case& c : cases) {
        ScaleBar bar = chooseScaleBar(c.scale, c.maxPixels);
        EXPECT_EQ(bar.digit, c.digit) << c.scale << " " << c.maxPixels;
        EXPECT_EQ(bar.exponent, c.exponent) << c.scale << " " << c.maxPixels;
    }
    // Out of every bound, the bar stays finite and round.
    for (double scale : {1e-320, std::numeric_limits<double>::max(), 0.0}) {
        ScaleBar bar = chooseScaleBar(scale, 100);
        EXPECT_TRUE(std::isfinite(bar.length) && bar.length > 0) << scale;
        EXPECT_TRUE(bar.exponent >= -300 && bar.exponent <= 300) << scale;
    }
}

TEST(ScaleBar, Text) {
    struct Case {
        int digit;
        int exponent;
        const char* text;
    } cases[] = {
        {1, 0, "1"},      {2, 0, "2"},       {5, 1, "50"},   {1, 3, "1000"}, {5, 6, "5000000"},
        {1, 7, "1e7"},    {2, 12, "2e12"},   {5, -1, "0.5"}, {2, -2, "0.02"}, {1, -4, "0.0001"},
        {5, -5, "5e-5"},  {1, -300, "1e-300"},
    };
    for (const Case& c : cases) {
        ScaleBar bar;
        bar.digit = c.digit;
        bar.exponent = c.exponent;
        EXPECT_EQ(scaleBarText(bar), c.text);
    }
}

}  // namespace
