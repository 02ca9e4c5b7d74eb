#include "link/KorvelLink.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "fakes/FakeInstrument.h"
#include "app/TextFill.h"

namespace {

const std::string kP1Text = "P1     M      00001234.568-0000012.30000000000.000";

KorvelFrame frameOf(const std::string& counters, const std::string& text) {
    KorvelFrame f{};
    f[0] = 0x02;
    std::memcpy(f.data() + 1, counters.data(), 8);
    std::memcpy(f.data() + 9, text.data(), 50);
    f[59] = 0x0D;
    return f;
}

TEST(KorvelLinkTest, FrameOfFirstOfThreePoints) {
    PointRecord p;
    p.setName("P1");
    p.setMark("M");
    p.n = 1234.5678;
    p.e = -12.3;
    p.z = 0;
    KorvelFrame frame{};
    ASSERT_TRUE(buildKorvelFrame(p, 1, 3, frame));
    EXPECT_EQ(frame, frameOf("00010003", kP1Text));
}

TEST(KorvelLinkTest, CountersBeyondFourDigitsAreRefused) {
    PointRecord p;
    KorvelFrame frame{};
    frame.fill(0xEE);
    EXPECT_FALSE(buildKorvelFrame(p, 1, 10000, frame));
    EXPECT_FALSE(buildKorvelFrame(p, 10000, 10000, frame));
    EXPECT_FALSE(buildKorvelFrame(p, 0, 5, frame));
    EXPECT_EQ(frame[1], 0xEE);
    EXPECT_TRUE(buildKorvelFrame(p, 9999, 9999, frame));
    EXPECT_EQ(std::string(frame.begin() + 1, frame.begin() + 9), "99999999");
}

TEST(KorvelLinkTest, ParsesThePointTextOnly) {
    KorvelFrame frame = frameOf("zz??0005", kP1Text);
    frame[0] = 'X';
    frame[59] = 'Y';
    PointRecord p;
    parseKorvelFrame(frame, p);
    EXPECT_STREQ(p.name, "P1");
    EXPECT_STREQ(p.mark, "M");
    EXPECT_DOUBLE_EQ(p.n, 1234.568);
    EXPECT_DOUBLE_EQ(p.e, -12.3);
    EXPECT_DOUBLE_EQ(p.z, 0.0);
}

TEST(KorvelLinkTest, ReplyIsTheFirstNineBytesAndCr) {
    const KorvelFrame frame = frameOf("00020005", kP1Text);
    const KorvelReply reply = korvelFrameReply(frame);
    EXPECT_EQ(fake::hex(reply.data(), reply.size()), "02 30 30 30 32 30 30 30 35 0D");
}

TEST(KorvelLinkTest, ControlMessages) {
    const std::uint8_t hs[] = {0x01, 0x53, 0x0D}, end[] = {0x01, 0x45, 0x0D}, other[] = {0x01, 0x53, 0x0A};
    EXPECT_TRUE(isKorvelHandshake(hs));
    EXPECT_FALSE(isKorvelHandshake(end));
    EXPECT_FALSE(isKorvelHandshake(other));
    EXPECT_TRUE(isKorvelEndMessage(end));
    EXPECT_FALSE(isKorvelEndMessage(hs));
}

TEST(KorvelLinkTest, ReceiveTitleNamesTheCountersInTheLanguagesOrder) {
    // English names the point's number first, Chinese the total first.
    const KorvelFrame frame = frameOf("00020005", kP1Text);
    EXPECT_EQ(korvelReceiveTitle(fake::englishText(kTextKorvelProgress), "1234", frame),
              "Crurent Proc No. 0002, Total 0005 Points");
    EXPECT_EQ(korvelReceiveTitle("%c%c%c%c|%c%c%c%c", "5678", frameOf("12345678", kP1Text)), "5678|1234");
    EXPECT_EQ(korvelReceiveTitle("%c%c%c%c|%c%c%c%c", "", frameOf("12345678", kP1Text)), "5678|1234");
}

TEST(TextFillTest, Conversions) {
    struct Case {
        const char* pattern;
        std::vector<TextValue> values;
        const char* expected;
    } cases[] = {
        {"Sending Tag %04d,Total %04d", {1, 3}, "Sending Tag 0001,Total 0003"},
        {"Sending Tag %04d,Total %04d", {12345, 9999}, "Sending Tag 12345,Total 9999"},
        {"processing  tag No.%d", {3}, "processing  tag No.3"},
        {"%4d|%-d|%05d", {5, -42}, "   5|%-d|-0042"},  // "%-d" is not served: kept, takes no value
        {"%c%c and %s", {'a', 'b', "text"}, "ab and text"},
        {"100%% %d%%", {7}, "100% 7%"},
        {"%d %d", {1}, "1 %d"},             // no value left: kept as text
        {"%x %n %d", {4}, "%x %n 4"},       // unknown conversions: kept as text
        {"tail %", {1}, "tail %"},
    };
    for (const Case& c : cases) EXPECT_EQ(fillText(c.pattern, c.values), c.expected) << c.pattern;
}

}  // namespace
