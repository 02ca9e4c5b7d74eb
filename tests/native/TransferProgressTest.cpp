// The progress figures that the workers hand the host: what the taskbar
// button shows during each kind of transfer.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "fakes/FakeInstrument.h"
#include "link/KorvelLink.h"
#include "link/KorvelWorkers.h"
#include "link/TassinWorkers.h"

using fake::Bytes;
using fake::join;

namespace {

using Figures = std::vector<std::pair<int, int>>;

const Bytes kKorvelHandshake{0x01, 0x53, 0x0D};
const Bytes kKorvelEnd{0x01, 0x45, 0x0D};
const Bytes kAck{0x06, 0x06, 0x06};
const Bytes kTassinSync{0xA0, 0x01, 0xA5};
const std::string kText = "A1     CODE   00000100.000-0000200.50000000003.250";

Bytes korvelFrame(const std::string& counters) {
    return join({Bytes{0x02}, fake::bytesOf(counters), fake::bytesOf(kText), Bytes{0x0D}});
}

Bytes korvelFrame(int sequence, int total) {
    char counters[16];
    std::snprintf(counters, sizeof counters, "%04d%04d", sequence, total);
    return korvelFrame(counters);
}

KorvelFrame frameOf(const std::string& counters) {
    const Bytes bytes = korvelFrame(counters);
    KorvelFrame frame{};
    std::copy(bytes.begin(), bytes.end(), frame.begin());
    return frame;
}

Bytes tassinFrame() {
    Bytes f(66, 0);
    f[0] = 0x55;
    f[25] = 'P';
    return f;
}

Bytes tassinEnd() {
    Bytes f(66, 0);
    f[0] = 0x33;
    f[1] = 0x44;
    return f;
}

struct ProgressTest : ::testing::Test {
    fake::World world;
    fake::FakePort port{world};
    fake::FakeHost host{world};

    void addRows(int count) {
        for (int i = 0; i < count; ++i) host.addRow("P", "", i, i, i);
    }
};

TEST(KorvelReceiveProgressTest, FromTheFrameCounters) {
    struct Case {
        const char* counters;
        int done, total;
    } cases[] = {
        {"00010003", 1, 3},
        {"00030003", 3, 3},
        {"99999999", 9999, 9999},
        {"00000005", 0, 5},
        // The total first, as an instrument may put it: the same figures.
        {"00030001", 1, 3},
        {"00050002", 2, 5},
        // Counters that are not four digits: the total is unknown.
        {"00000000", 0, 0},
        {"0001 003", 0, 0},
        {"A0010003", 0, 0},
        {"0001000-", 0, 0},
        {"\x01\x02\x03\x04\x05\x06\x07\x08", 0, 0},
    };
    for (const Case& c : cases) {
        const KorvelProgress progress = korvelReceiveProgress(frameOf(c.counters));
        EXPECT_EQ(std::make_pair(progress.done, progress.total), std::make_pair(c.done, c.total)) << c.counters;
    }
}

TEST(KorvelReceiveProgressTest, NeverMoreDoneThanTheTotal) {
    for (int a = 0; a <= 9999; a += 101)
        for (int b = 0; b <= 9999; b += 97) {
            char counters[16];
            std::snprintf(counters, sizeof counters, "%04d%04d", a, b);
            const KorvelProgress progress = korvelReceiveProgress(frameOf(counters));
            ASSERT_GE(progress.done, 0) << counters;
            ASSERT_LE(progress.done, progress.total) << counters;
        }
}

TEST_F(ProgressTest, KorvelReceiveShowsEachFramesCountersAfterItsPoint) {
    port.sends(kKorvelHandshake)
        .afterWrite(1, korvelFrame(1, 3), 10)
        .afterWrite(2, korvelFrame(2, 3), 10)
        .afterWrite(3, korvelFrame(3, 3), 10)
        .afterWrite(4, kKorvelEnd, 10);
    runKorvelReceive(port, host);
    EXPECT_EQ(host.progressFigures, (Figures{{1, 3}, {2, 3}, {3, 3}}));
    EXPECT_EQ(world.events.back(), "finished");
}

TEST_F(ProgressTest, KorvelReceiveWithoutFramesShowsNothing) {
    port.sends(kKorvelHandshake).afterWrite(1, kKorvelEnd, 10);
    runKorvelReceive(port, host);
    EXPECT_TRUE(host.progressFigures.empty());
}

TEST_F(ProgressTest, KorvelReceiveOfUnreadableCountersShowsThatItRuns) {
    port.sends(kKorvelHandshake).afterWrite(1, korvelFrame("    ????"), 10).afterWrite(2, kKorvelEnd, 10);
    runKorvelReceive(port, host);
    EXPECT_EQ(host.progressFigures, (Figures{{0, 0}}));
}

TEST_F(ProgressTest, KorvelSendCountsAcknowledgedFrames) {
    addRows(3);
    port.sends(kKorvelHandshake).afterWrite(2, kAck, 50).afterWrite(3, kAck, 50).afterWrite(4, kAck, 50);
    runKorvelSend(port, host);
    EXPECT_EQ(host.progressFigures, (Figures{{1, 3}, {2, 3}, {3, 3}}));
    EXPECT_EQ(world.events.back(), "finished");
}

TEST_F(ProgressTest, KorvelSendOfAnEmptyListShowsNothing) {
    port.sends(kKorvelHandshake);
    runKorvelSend(port, host);
    EXPECT_TRUE(host.progressFigures.empty());
}

TEST_F(ProgressTest, KorvelSendCancelledHalfWayStopsTheFigures) {
    addRows(4);
    port.sends(kKorvelHandshake).afterWrite(2, kAck, 50);  // the second frame is never answered
    host.stopAtMs = 30000;
    runKorvelSend(port, host);
    EXPECT_EQ(host.progressFigures, (Figures{{1, 4}}));
}

TEST_F(ProgressTest, TassinReceiveCountsPointsOfAnUnknownTotal) {
    port.sends(tassinFrame(), 10).sends(tassinFrame(), 10).sends(tassinEnd(), 10);
    runTassinReceive(port, host);
    EXPECT_EQ(host.progressFigures, (Figures{{1, 0}, {2, 0}}));
    EXPECT_EQ(world.events.back(), "finished");
}

TEST_F(ProgressTest, TassinSendCountsAnsweredFrames) {
    addRows(3);
    port.sends(kTassinSync).afterWrite(1, kAck, 50).afterWrite(2, kAck, 50).afterWrite(3, kAck, 50);
    runTassinSend(port, host);
    EXPECT_EQ(host.progressFigures, (Figures{{1, 3}, {2, 3}, {3, 3}}));
    EXPECT_EQ(world.events.back(), "finished");
}

TEST_F(ProgressTest, TassinSendFailingHalfWayStopsTheFigures) {
    addRows(3);
    port.sends(kTassinSync).afterWrite(1, kAck, 50);
    port.failWriteAt = 2;
    runTassinSend(port, host);
    EXPECT_EQ(host.progressFigures, (Figures{{1, 3}}));
    EXPECT_EQ(world.events.back(), "failedPlatform");
}

}  // namespace
