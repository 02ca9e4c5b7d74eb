#include "link/KorvelLink.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "fakes/FakeInstrument.h"

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

}  // namespace
