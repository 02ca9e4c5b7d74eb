#include "link/TassinLink.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "fakes/FakeInstrument.h"

using fake::Bytes;

namespace {

TassinInFrame dataFrame(std::uint8_t flags, const Bytes& n, const Bytes& e, const Bytes& z) {
    TassinInFrame f{};
    f[5] = flags;
    std::copy(n.begin(), n.end(), f.begin() + 51);
    std::copy(e.begin(), e.end(), f.begin() + 56);
    std::copy(z.begin(), z.end(), f.begin() + 61);
    return f;
}

std::string field(const TassinOutFrame& f, std::size_t at, std::size_t length) {
    return fake::hex(f.data() + at, length);
}

TEST(TassinLinkTest, PackedNumbers) {
    struct Case {
        Bytes packed;
        bool negative;
        double expected;
    } cases[] = {
        {{0x21, 0x43, 0x65, 0x87, 0x19}, false, 1234567.891},
        {{0x00, 0x00, 0x21, 0x43, 0x65}, false, 123.456},
        {{0x00, 0x00, 0x21, 0x43, 0x65}, true, -123.456},
        {{0x99, 0x99, 0x99, 0x99, 0x99}, false, 9999999.999},
        {{0x00, 0x00, 0x00, 0x00, 0x00}, false, 0.0},
        {{0x00, 0x00, 0x00, 0x00, 0x00}, true, 0.0},
        // A nibble above 9 ends the number at that digit.
        {{0x21, 0x4A, 0x65, 0x87, 0x19}, false, 12.0},
        {{0x21, 0x4A, 0x65, 0x87, 0x19}, true, -12.0},
        {{0x0A, 0x00, 0x00, 0x00, 0x00}, false, 0.0},   // no digit can be read
        {{0x0F, 0x00, 0x00, 0x00, 0x00}, true, 0.0},
        {{0x00, 0x00, 0x00, 0xA1, 0x05}, false, 1.0},   // "1.:5" reads as 1.
        {{0x00, 0x00, 0x00, 0x51, 0xB2}, false, 1.52},  // "1.52;" reads as 1.52
    };
    for (const Case& c : cases) {
        const double value = decodePackedNumber(c.packed.data(), c.negative);
        EXPECT_EQ(value, c.expected) << fake::hex(c.packed) << (c.negative ? " negative" : "");
        if (c.expected == 0.0) {
            EXPECT_FALSE(std::signbit(value)) << fake::hex(c.packed);
        }
    }
}

TEST(TassinLinkTest, SignFlagsBelongToTheirOwnCoordinate) {
    const Bytes v{0x00, 0x00, 0x21, 0x43, 0x65};
    struct Case {
        std::uint8_t flags;
        double n, e, z;
    } cases[] = {
        {0x08, -123.456, 123.456, 123.456},
        {0x30, 123.456, -123.456, -123.456},
        {0x10, 123.456, -123.456, 123.456},
        {0xC7, 123.456, 123.456, 123.456},  // other bits are ignored
    };
    for (const Case& c : cases) {
        PointRecord p;
        decodeTassinFrame(dataFrame(c.flags, v, v, v), p);
        EXPECT_EQ(p.n, c.n) << int(c.flags);
        EXPECT_EQ(p.e, c.e) << int(c.flags);
        EXPECT_EQ(p.z, c.z) << int(c.flags);
    }
}

TEST(TassinLinkTest, NameAndMarkEndAtTheFirstZeroByte) {
    TassinInFrame f{};
    const Bytes name{0x50, 0x31, 0x00, 0x41, 0x42, 0x43, 0x44};
    std::copy(name.begin(), name.end(), f.begin() + 25);
    const Bytes mark{'K', 'E', 'R', 'B'};
    std::copy(mark.begin(), mark.end(), f.begin() + 32);
    f[36] = 'X';  // not part of the mark
    PointRecord p;
    decodeTassinFrame(f, p);
    EXPECT_STREQ(p.name, "P1");
    EXPECT_STREQ(p.mark, "KERB");

    const Bytes full{'A', 'B', 'C', 'D', 'E', 'F', 'G'};
    std::copy(full.begin(), full.end(), f.begin() + 25);
    f[32] = 0;
    decodeTassinFrame(f, p);
    EXPECT_STREQ(p.name, "ABCDEFG");
    EXPECT_STREQ(p.mark, "");
}

TEST(TassinLinkTest, EndFrameIsBytesTwoToSixtyFiveZero) {
    TassinInFrame f{};
    f[0] = 0xFF;
    f[1] = 0x12;
    EXPECT_TRUE(isTassinEndFrame(f));
    f[10] = 1;  // an unused area still makes a data frame
    EXPECT_FALSE(isTassinEndFrame(f));
    PointRecord p;
    decodeTassinFrame(f, p);
    EXPECT_STREQ(p.name, "");
    EXPECT_STREQ(p.mark, "");
    EXPECT_EQ(p.n, 0.0);
    EXPECT_EQ(p.e, 0.0);
    EXPECT_EQ(p.z, 0.0);
    f[10] = 0;
    f[65] = 1;
    EXPECT_FALSE(isTassinEndFrame(f));
}

TEST(TassinLinkTest, EncodesAWholeFrame) {
    PointRecord p;
    p.setName("P1");
    p.setMark("A");
    p.n = 1234.5;
    p.e = -0.25;
    p.z = 0;
    TassinOutFrame f{};
    f.fill(0xEE);
    encodeTassinRecord(p, 5, f);
    const std::string expected =
        "A0 37 20 20 20 35 "                          // head, length, "   5"
        "50 31 00 00 00 00 00 "                       // "P1", zero
        "41 00 00 00 "                                // mark
        "31 32 33 34 2E 35 30 30 00 00 00 00 00 "     // "1234.500"
        "2D 30 2E 32 35 30 00 00 00 00 00 00 00 "     // "-0.250"
        "30 2E 30 30 30 00 00 00 00 00 00 00 00 "     // "0.000"
        "00";
    EXPECT_EQ(fake::hex(f.data(), f.size()), expected);
}

TEST(TassinLinkTest, TotalIsPrintedWithFourColumnsAndCut) {
    struct Case {
        int total;
        const char* text;
    } cases[] = {{5, "   5"}, {1234, "1234"}, {12345, "1234"}, {99, "  99"}};
    for (const Case& c : cases) {
        PointRecord p;
        TassinOutFrame f{};
        encodeTassinRecord(p, c.total, f);
        EXPECT_EQ(std::string(f.begin() + 2, f.begin() + 6), c.text) << c.total;
        EXPECT_EQ(f[6], 0) << "empty name ends at once";
    }
}

TEST(TassinLinkTest, MarksKeepThreeCharactersAndZeroPadding) {
    struct Case {
        const char* mark;
        const char* bytes;
    } cases[] = {{"ABCDE", "41 42 43 00"}, {"A", "41 00 00 00"}, {"", "00 00 00 00"}, {"ABC", "41 42 43 00"}};
    for (const Case& c : cases) {
        PointRecord p;
        p.setMark(c.mark);
        TassinOutFrame f{};
        encodeTassinRecord(p, 1, f);
        EXPECT_EQ(field(f, 13, 4), c.bytes) << c.mark;
    }
}

TEST(TassinLinkTest, NamesLoseTrailingSpacesInTheFrameAndThenInTheRecord) {
    struct Case {
        const char* name;
        const char* bytes;
        const char* after;
    } cases[] = {
        {"P1  ", "50 31 00 00 00 00 00", "P1"},
        {"ABCDEFG", "41 42 43 44 45 46 47", "ABCDEFG"},
        {"ABCDEFGHI", "41 42 43 44 45 46 47", "ABCDEFGHI"},
        {" A B ", "20 41 20 42 00 00 00", " A B"},
        {"   ", "00 00 00 00 00 00 00", ""},
    };
    for (const Case& c : cases) {
        PointRecord p;
        p.setName(c.name);
        TassinOutFrame f{};
        encodeTassinRecord(p, 1, f);
        EXPECT_EQ(field(f, 6, 7), c.bytes) << '"' << c.name << '"';
        EXPECT_STREQ(p.name, c.name) << "encoding only reads the record";
        // What the point keeps after the send, and a second trim changes nothing.
        EXPECT_EQ(trimTassinName(p), std::string(c.name) != c.after) << '"' << c.name << '"';
        EXPECT_STREQ(p.name, c.after);
        EXPECT_FALSE(trimTassinName(p));
        TassinOutFrame again{};
        encodeTassinRecord(p, 1, again);
        EXPECT_EQ(again, f);
    }
}

TEST(TassinLinkTest, NumbersFillThirteenBytesAtMost) {
    struct Case {
        double value;
        std::string text;  // the field's bytes as text, zeros shown as '.'
    } cases[] = {
        {1234.5, "1234.500....."},
        {-12345678.123, "-12345678.123"},
        {1234567890.125, "1234567890.12"},
        {-0.0, "-0.000......."},
        {0.0005, "0.001........"},
    };
    for (const Case& c : cases) {
        PointRecord p;
        p.n = p.e = p.z = c.value;
        TassinOutFrame f{};
        encodeTassinRecord(p, 1, f);
        for (std::size_t at : {17u, 30u, 43u}) {
            std::string got;
            for (std::size_t i = 0; i < 13; ++i) got += f[at + i] ? static_cast<char>(f[at + i]) : '.';
            EXPECT_EQ(got, c.text) << c.value << " at " << at;
        }
        EXPECT_EQ(f[56], 0);
    }
    EXPECT_EQ(tassinNumberTextLength(-12345678.123), 13u);
    EXPECT_EQ(tassinNumberTextLength(1234567890.125), 14u);
}

}  // namespace
