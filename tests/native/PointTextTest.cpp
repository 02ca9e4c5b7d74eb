#include "points/PointText.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>

#include "fakes/Points.h"

namespace {


std::string lineOf(const PointRecord& point) {
    char work[kPointFrameLength];
    std::memset(work, '#', sizeof work);
    const char* text = formatPointLine(point, work);
    EXPECT_EQ(text, work + kPointTextOffset);
    EXPECT_EQ(work[59], '\0');
    return text;
}

PointRecord parsedLine(const std::string& line) {
    PointRecord point;
    parsePointLine(line.c_str(), point);
    return point;
}

// The printf sequence that defines the text, for values that fit it.
std::string referenceText(const PointRecord& p) {
    char frame[128];
    auto sign = [](double v) { return v < 0 ? '-' : '0'; };
    std::snprintf(frame + 9, sizeof frame - 9, "%-7s%-7s%c%11.3lf%c%11.3f%c%11.3f", p.name, p.mark, sign(p.n),
                  std::fabs(p.n), sign(p.e), std::fabs(p.e), sign(p.z), std::fabs(p.z));
    frame[59] = '\r';
    for (int i = 23; i <= 59; ++i) {
        if (frame[i] == ' ') frame[i] = '0';
    }
    return std::string(frame + 9, 50);
}

const char kExample[] = "P1     M      00001234.568-0000012.30000000000.000";

TEST(PointText, FormatsTheExamplePointAndReadsItBack) {
    PointRecord point = makePoint("P1", "M", 1234.5678, -12.3, 0.0);
    EXPECT_EQ(lineOf(point), kExample);

    PointRecord back = parsedLine(kExample);
    EXPECT_STREQ(back.name, "P1");
    EXPECT_STREQ(back.mark, "M");
    EXPECT_EQ(back.n, 1234.568);
    EXPECT_EQ(back.e, -12.3);
    EXPECT_EQ(back.z, 0.0);
}

TEST(PointText, FrameCarriesTheTextAtOffsetNineAndEndsWithCr) {
    char frame[kPointFrameLength];
    std::memcpy(frame, "\x02" "00010003", 9);
    formatPointFrame(makePoint("P1", "M", 1234.5678, -12.3, 0.0), frame);
    EXPECT_EQ(std::string(frame, 60), std::string("\x02" "00010003") + kExample + "\r");

    PointRecord point;
    parsePointFrame(frame, point);
    EXPECT_STREQ(point.name, "P1");
    EXPECT_EQ(point.n, 1234.568);
}

TEST(PointText, FieldsKeepTheirColumns) {
    struct Case {
        PointRecord point;
        const char* text;
    } cases[] = {
        {makePoint("", "", 0, 0, 0), "              00000000.00000000000.00000000000.000"},
        {makePoint("ABCDEFG", "HIJKLMN", 1, 2, 3), "ABCDEFGHIJKLMN00000001.00000000002.00000000003.000"},
        // Longer names and marks are cut to the field.
        {makePoint("ABCDEFGHI", "MARK567890123", 0, 0, 0), "ABCDEFGMARK56700000000.00000000000.00000000000.000"},
        // Sign from value < 0, then the rounded magnitude.
        {makePoint("A", "", -0.0001, -0.0, 9999999.999), "A             -0000000.00000000000.00009999999.999"},
        // Values the field cannot hold stand as the largest it holds; NaN as 0.
        {makePoint("A", "", 12345678.9, -HUGE_VAL, std::nan("")), "A             09999999.999-9999999.99900000000.000"},
        {makePoint("A", "", 9999999.9995, -1e300, 0), "A             09999999.999-9999999.99900000000.000"},
    };
    for (const Case& c : cases) EXPECT_EQ(lineOf(c.point), c.text);
}

TEST(PointText, MatchesThePrintfSequenceForRandomPoints) {
    std::mt19937_64 random(11);
    std::uniform_real_distribution<double> value(-9999999.999, 9999999.999);
    std::uniform_real_distribution<double> small(-2.0, 2.0);
    for (int i = 0; i < 20000; ++i) {
        char name[8];
        std::snprintf(name, sizeof name, "%d", static_cast<int>(random() % 10000000));
        PointRecord point = makePoint(name, i % 3 ? "TREE" : "", value(random), small(random), i * 0.0005);
        std::string text = lineOf(point);
        ASSERT_EQ(text, referenceText(point));
        PointRecord back = parsedLine(text);
        char rounded[32];
        std::snprintf(rounded, sizeof rounded, "%.3f", point.n);
        ASSERT_EQ(back.n, std::strtod(rounded, nullptr));
    }
}

TEST(PointText, CanHoldMagnitudesThatRoundBelowTenMillion) {
    EXPECT_TRUE(pointTextCanHold(makePoint("", "", 9999999.999, -9999999.9994, 0)));
    EXPECT_TRUE(pointTextCanHold(makePoint("LONGNAME9", "", -0.0, 0, 0)));
    EXPECT_FALSE(pointTextCanHold(makePoint("", "", 0, 9999999.9995, 0)));
    EXPECT_FALSE(pointTextCanHold(makePoint("", "", 0, 0, -1e8)));
    EXPECT_FALSE(pointTextCanHold(makePoint("", "", std::nan(""), 0, 0)));
    EXPECT_FALSE(pointTextCanHold(makePoint("", "", 0, HUGE_VAL, 0)));
}

TEST(PointText, ReadsWordsAndNumbersAsTheFieldsHoldThem) {
    struct Case {
        const char* line;
        const char* name;
        const char* mark;
        double n, e, z;
    } cases[] = {
        {"  AB CDM      00000001.000", "AB", "M", 1, 0, 0},
        {"ABCDEFGHIJKLMN00000012.5xy            -0000000.000", "ABCDEFG", "HIJKLMN", 12.5, 0, -0.0},
        {"P1     M      abcdefghijkl            2.5e2", "P1", "M", 0, 0, 250},
        {"P1     M      +12.5 99999 -0000000012.3", "P1", "M", 12.5, -12, 3},  // each field read apart
        // Infinity, NaN and hexadecimal are no numbers; "0x10" reads 0.
        {"P1     M      0x10        infinity    nan         ", "P1", "M", 0, 0, 0},
        {"P1     M      -INF00000001000000000nan00000000.5e1", "P1", "M", 0, 0, 5},
        // Line ends: the rest of a long line and the line end are ignored.
        {"P1     M      00001234.568-0000012.30000000000.000\r\n", "P1", "M", 1234.568, -12.3, 0},
        {"P1     M      00001234.568-0000012.30000000000.000TRAILING", "P1", "M", 1234.568, -12.3, 0},
        {"P1     M      00001234.568-0000012.30000000000.0", "P1", "M", 1234.568, -12.3, 0},
        // Short lines: what is there is read; a line end ends a word.
        {"P1     M      000012\r\n", "P1", "M", 12, 0, 0},
        {"P1     MK\r\n", "P1", "MK", 0, 0, 0},
        {"P1\n", "P1", "", 0, 0, 0},
        {"\xB5\xE3\xC3\xFB   \xA0\xA1\n", "\xB5\xE3\xC3\xFB", "\xA0\xA1", 0, 0, 0},
        {"\n", "", "", 0, 0, 0},
        {"", "", "", 0, 0, 0},
    };
    for (const Case& c : cases) {
        PointRecord point = parsedLine(c.line);
        EXPECT_STREQ(point.name, c.name) << c.line;
        EXPECT_STREQ(point.mark, c.mark) << c.line;
        EXPECT_EQ(point.n, c.n) << c.line;
        EXPECT_EQ(point.e, c.e) << c.line;
        EXPECT_EQ(point.z, c.z) << c.line;
    }
}

TEST(PointText, FieldsPastTheEndOfAShortLineKeepTheirValues) {
    PointRecord point = makePoint("OLD", "OLDM", 1, 2, 3);
    parsePointLine("NEW    ", point);
    EXPECT_STREQ(point.name, "NEW");
    EXPECT_STREQ(point.mark, "OLDM");

    parsePointLine("NEW    NM     00000009.000-", point);  // E cut after its sign: no number
    EXPECT_STREQ(point.mark, "NM");
    EXPECT_EQ(point.n, 9.0);
    EXPECT_EQ(point.e, 2.0);
    EXPECT_EQ(point.z, 3.0);
}

TEST(PointText, FrameBytesAfterANulAreNotRead) {
    std::string body = std::string("AB\0DEFG", 7) + std::string("M\0 XYZW", 7) +
                       std::string("00000001.0\0" "9", 12) + std::string("\0" "12345678901", 12) + "000000003.00";
    char frame[kPointFrameLength] = {};
    std::memcpy(frame + kPointTextOffset, body.data(), kPointTextLength);
    PointRecord point;
    parsePointFrame(frame, point);
    EXPECT_STREQ(point.name, "AB");
    EXPECT_STREQ(point.mark, "M");
    EXPECT_EQ(point.n, 1.0);
    EXPECT_EQ(point.e, 0.0);
    EXPECT_EQ(point.z, 3.0);
}

}  // namespace
