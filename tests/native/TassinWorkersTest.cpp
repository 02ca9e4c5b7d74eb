#include "link/TassinWorkers.h"

#include <gtest/gtest.h>

#include <string>

#include "fakes/FakeInstrument.h"
#include "link/TassinLink.h"

using fake::Bytes;
using fake::join;

namespace {

const Bytes kSync{0xA0, 0x01, 0xA5};
const Bytes kAck{0x06, 0x06, 0x06};

Bytes dataFrame(const char* name, std::uint8_t flags, std::uint8_t lastDigits) {
    Bytes f(66, 0);
    f[0] = 0x55;
    f[5] = flags;
    for (std::size_t i = 0; name[i] && i < 7; ++i) f[25 + i] = static_cast<std::uint8_t>(name[i]);
    f[55] = lastDigits;  // N's last byte: d9 low nibble, d10 high nibble
    return f;
}

Bytes endFrame() {
    Bytes f(66, 0);
    f[0] = 0x33;
    f[1] = 0x44;
    return f;
}

struct TassinWorkerTest : ::testing::Test {
    fake::World world;
    fake::FakePort port{world};
    fake::FakeHost host{world, kTassinFamily};
};

// ---- receive -------------------------------------------------------------

TEST_F(TassinWorkerTest, ReceiveThreePointsAndEnd) {
    port.sends(dataFrame("P1", 0x08, 0x21), 500)
        .trickles(dataFrame("P2", 0, 0x05), 8)
        .sends(dataFrame("P3", 0, 0), 100)
        .sends(endFrame(), 100);
    runTassinReceive(port, host);
    EXPECT_EQ(world.events, (std::vector<std::string>{
                                "title:Wait SyncData",
                                "point", "title:processing  tag No.1",
                                "point", "title:processing  tag No.2",
                                "point", "title:processing  tag No.3",
                                "close", "finished"}));
    ASSERT_EQ(host.points.size(), 3u);
    EXPECT_STREQ(host.points[0]->name, "P1");
    EXPECT_DOUBLE_EQ(host.points[0]->n, -0.012);  // low nibble first: digits 1, 2
    EXPECT_DOUBLE_EQ(host.points[1]->n, 0.05);
    EXPECT_TRUE(port.writes.empty());
}

TEST_F(TassinWorkerTest, EndFrameFirstAddsNothing) {
    port.sends(endFrame(), 10);
    runTassinReceive(port, host);
    EXPECT_TRUE(host.points.empty());
    EXPECT_EQ(world.events.back(), "finished");
    EXPECT_TRUE(port.closed);
}

TEST_F(TassinWorkerTest, CancelInTheMiddleOfAFrameKeepsEarlierPoints) {
    port.sends(dataFrame("P1", 0, 1)).sends(Bytes(40, 0x11), 100);
    host.stopAtMs = 10000;
    runTassinReceive(port, host);
    EXPECT_EQ(host.points.size(), 1u);
    EXPECT_FALSE(port.closed);
    EXPECT_EQ(world.events.back(), "stopped");
    EXPECT_EQ(port.callsAfterStop, 0);
}

TEST_F(TassinWorkerTest, ReceiveReadFailureIsReported) {
    port.sends(dataFrame("P1", 0, 1)).sends(dataFrame("P2", 0, 1), 100);
    port.failReadAt = 2;
    runTassinReceive(port, host);
    EXPECT_EQ(host.points.size(), 1u);
    EXPECT_EQ(world.events.back(), "failedPlatform");
    EXPECT_EQ(port.callsAfterEnd, 0);
    EXPECT_FALSE(port.closed);
}

// ---- send ----------------------------------------------------------------

TEST_F(TassinWorkerTest, OnePointSendReadsTheAnswerAtOnce) {
    host.addRow("P1  ", "ABCDE", 1234.5, 0, 0);
    port.sends(kSync, 200).afterWrite(1, kAck, 400);
    runTassinSend(port, host);
    ASSERT_EQ(port.writes.size(), 1u);
    EXPECT_EQ(port.writes[0].size(), 57u);
    EXPECT_EQ(fake::hex(port.writes[0].data(), 17), "A0 37 20 20 20 31 50 31 00 00 00 00 00 41 42 43 00");
    EXPECT_EQ(world.now, port.writeTimes[0]);  // no wait for the answer
    // The worker only reads the record; it tells which rows went out, and
    // the window trims their names once the send is over.
    EXPECT_STREQ(host.rows[0]->name, "P1  ");
    EXPECT_EQ(host.sent, std::vector<int>{0});
    EXPECT_EQ(world.events, (std::vector<std::string>{"title:Wait SyncData", "title:Sending Tag 0001,Total 0001",
                                                      "write:" + fake::hex(port.writes[0]), "close", "finished"}));
}

TEST_F(TassinWorkerTest, SecondFrameWaitsForThreeAnswerBytes) {
    host.addRow("A", "", 1, 2, 3);
    host.addRow("B", "", 4, 5, 6);
    port.sends(kSync).afterWrite(1, {0x06}, 100).sends({0x06, 0x06}, 700);
    runTassinSend(port, host);
    ASSERT_EQ(port.writes.size(), 2u);
    EXPECT_GE(port.writeTimes[0], 200);
    EXPECT_GE(port.writeTimes[1], port.releaseTimes.back() + 200);
    EXPECT_EQ(host.titles.back(), "Sending Tag 0002,Total 0002");
    EXPECT_EQ(host.sent, (std::vector<int>{0, 1}));
    EXPECT_EQ(world.events.back(), "finished");
}

TEST_F(TassinWorkerTest, SurplusAnswerBytesServeTheNextWait) {
    host.addRow("A", "", 1, 2, 3);
    host.addRow("B", "", 4, 5, 6);
    host.addRow("C", "", 7, 8, 9);
    port.sends(kSync).afterWrite(1, join({kAck, kAck}), 50);
    runTassinSend(port, host);
    EXPECT_EQ(port.writes.size(), 3u);
    EXPECT_EQ(world.events.back(), "finished");
}

TEST_F(TassinWorkerTest, WrongSyncWritesNothing) {
    host.addRow("A", "", 1, 2, 3);
    port.sends({0xA0, 0x01, 0xA6});
    runTassinSend(port, host);
    EXPECT_TRUE(port.writes.empty());
    EXPECT_EQ(world.events.back(), "failedProtocol:wrong-opening");
    EXPECT_FALSE(port.closed);
}

TEST_F(TassinWorkerTest, SyncFollowedAtOnceByAFourthByteWaitsUntilCancel) {
    host.addRow("A", "", 1, 2, 3);
    port.sends(join({kSync, Bytes{0x00}}));
    host.stopAtMs = 30000;
    runTassinSend(port, host);
    EXPECT_TRUE(port.writes.empty());
    EXPECT_EQ(world.events.back(), "stopped");
    EXPECT_FALSE(host.timedOut());
}

TEST_F(TassinWorkerTest, EmptyListEndsRightAfterTheSync) {
    port.sends(kSync);
    runTassinSend(port, host);
    EXPECT_TRUE(port.writes.empty());
    EXPECT_EQ(world.events.back(), "finished");
    EXPECT_TRUE(port.closed);
}

TEST_F(TassinWorkerTest, SendFailuresEndWithThePlatformError) {
    for (int writeAt : {1, 2}) {
        fake::World w;
        fake::FakePort p(w);
        fake::FakeHost h(w, kTassinFamily);
        h.addRow("A", "", 1, 2, 3);
        h.addRow("B", "", 4, 5, 6);
        p.sends(kSync).afterWrite(1, kAck, 30);
        p.failWriteAt = writeAt;
        runTassinSend(p, h);
        EXPECT_EQ(w.events.back(), "failedPlatform") << writeAt;
        EXPECT_EQ(h.sent.size(), static_cast<std::size_t>(writeAt - 1)) << writeAt;
        EXPECT_EQ(p.callsAfterEnd, 0) << writeAt;
        EXPECT_FALSE(p.closed);
    }
}

}  // namespace
