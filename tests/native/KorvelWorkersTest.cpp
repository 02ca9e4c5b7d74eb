#include "link/KorvelWorkers.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "fakes/FakeInstrument.h"
#include "link/KorvelLink.h"

using fake::Bytes;
using fake::join;

namespace {

const Bytes kHandshake{0x01, 0x53, 0x0D};
const Bytes kEnd{0x01, 0x45, 0x0D};
const Bytes kAck{0x06, 0x06, 0x06};

Bytes frameBytes(int seq, int total, const std::string& text50) {
    char counters[16];
    std::snprintf(counters, sizeof counters, "%04d%04d", seq, total);
    return join({Bytes{0x02}, fake::bytesOf(counters), fake::bytesOf(text50), Bytes{0x0D}});
}

Bytes replyTo(const Bytes& frame) { return join({Bytes(frame.begin(), frame.begin() + 9), Bytes{0x0D}}); }

const std::string kA = "A1     CODE   00000100.000-0000200.50000000003.250";
const std::string kB = "B2            00001234.568-0000012.30000000000.000";

struct KorvelWorkerTest : ::testing::Test {
    fake::World world;
    fake::FakePort port{world};
    fake::FakeHost host{world};

    std::vector<std::string> hostEnds() const {
        std::vector<std::string> ends;
        for (const std::string& e : world.events)
            if (e == "finished" || e.rfind("failed", 0) == 0) ends.push_back(e);
        return ends;
    }
};

// ---- receive -------------------------------------------------------------

TEST_F(KorvelWorkerTest, ReceiveTwoPoints) {
    const Bytes f1 = frameBytes(1, 2, kA), f2 = frameBytes(2, 2, kB);
    port.sends(kHandshake, 300).afterWrite(1, f1, 40).afterWrite(2, f2, 40).afterWrite(3, kEnd, 40);
    runKorvelReceive(port, host);

    EXPECT_EQ(world.events, (std::vector<std::string>{
                                "title:Wait SyncData",
                                "write:" + fake::hex(kHandshake),
                                "point",
                                "title:Crurent Proc No. 0001, Total 0002 Points",
                                "write:" + fake::hex(replyTo(f1)),
                                "point",
                                "title:Crurent Proc No. 0002, Total 0002 Points",
                                "write:" + fake::hex(replyTo(f2)),
                                "close",
                                "finished",
                            }));
    ASSERT_EQ(host.points.size(), 2u);
    EXPECT_STREQ(host.points[0]->name, "A1");
    EXPECT_STREQ(host.points[0]->mark, "CODE");
    EXPECT_DOUBLE_EQ(host.points[0]->n, 100.0);
    EXPECT_DOUBLE_EQ(host.points[0]->e, -200.5);
    EXPECT_DOUBLE_EQ(host.points[0]->z, 3.25);
    EXPECT_STREQ(host.points[1]->name, "B2");
    EXPECT_STREQ(host.points[1]->mark, "");
    EXPECT_EQ(port.callsAfterEnd, 0);
}

TEST_F(KorvelWorkerTest, ReceiveHandshakeThenEndAddsNothing) {
    port.sends(kHandshake).afterWrite(1, kEnd, 100);
    runKorvelReceive(port, host);
    EXPECT_TRUE(host.points.empty());
    EXPECT_EQ(port.written(), kHandshake);
    EXPECT_TRUE(port.closed);
    EXPECT_EQ(hostEnds(), std::vector<std::string>{"finished"});
}

TEST_F(KorvelWorkerTest, ReplyFollowsTheLastByteOfATricklingFrameAtOnce) {
    port.sends(kHandshake, 2000)
        .afterWriteTrickles(1, frameBytes(1, 1, kA), 8)
        .afterWrite(2, kEnd, 30);
    runKorvelReceive(port, host);
    ASSERT_EQ(port.writes.size(), 2u);
    // bytes released: 3 of the handshake step (1 step) + 60 frame bytes
    const long lastFrameByte = port.releaseTimes[60];
    EXPECT_LE(port.writeTimes[1] - lastFrameByte, 1);
    EXPECT_EQ(hostEnds(), std::vector<std::string>{"finished"});
}

TEST_F(KorvelWorkerTest, WrongHandshakeIsAFrameHeadErrorAndNothingIsWritten) {
    for (const Bytes& first : {kEnd, Bytes{0x01, 0x53, 0x0A}, Bytes{0x02, 0x30, 0x30}}) {
        fake::World w;
        fake::FakePort p(w);
        fake::FakeHost h(w);
        p.sends(first);
        runKorvelReceive(p, h);
        EXPECT_TRUE(p.writes.empty()) << fake::hex(first);
        EXPECT_FALSE(p.closed);
        EXPECT_EQ(w.events.back(), "failedProtocol:wrong-opening");
    }
}

TEST_F(KorvelWorkerTest, HandshakeFollowedAtOnceByMoreBytesWaitsUntilCancel) {
    port.sends(join({kHandshake, Bytes{0x02, 0x30}}));
    host.stopAtMs = 60000;
    runKorvelReceive(port, host);
    EXPECT_TRUE(port.writes.empty());
    EXPECT_EQ(world.events.back(), "stopped");
    EXPECT_TRUE(hostEnds().empty());
    EXPECT_EQ(port.callsAfterStop, 0);
    EXPECT_FALSE(host.timedOut());
}

TEST_F(KorvelWorkerTest, CancelWhileTheInstrumentIsSilentKeepsThePointsDelivered) {
    const Bytes f1 = frameBytes(1, 5, kA);
    port.sends(kHandshake).afterWrite(1, f1, 50).afterWrite(2, Bytes(20, 0x30), 50);
    host.stopAtMs = 30000;
    runKorvelReceive(port, host);
    EXPECT_EQ(host.points.size(), 1u);
    EXPECT_EQ(port.writes.size(), 2u);
    EXPECT_FALSE(port.closed);
    EXPECT_TRUE(hostEnds().empty());
    EXPECT_EQ(port.callsAfterStop, 0);
}

TEST_F(KorvelWorkerTest, FailingPortCallsEndWithThePlatformErrorAndLeaveThePortAlone) {
    struct Case {
        const char* what;
        int queuedAt, readAt, writeAt;
        std::size_t points;
    } cases[] = {
        {"first poll", 1, 0, 0, 0},
        {"handshake read", 0, 1, 0, 0},
        {"echo", 0, 0, 1, 0},
        {"frame read", 0, 3, 0, 0},
        {"reply", 0, 0, 2, 1},
        {"poll during frames", 30, 0, 0, 1},
    };
    for (const Case& c : cases) {
        fake::World w;
        fake::FakePort p(w);
        fake::FakeHost h(w);
        const Bytes f1 = frameBytes(1, 2, kA);
        p.sends(kHandshake).afterWrite(1, f1, 5).afterWrite(2, frameBytes(2, 2, kB), 2000).afterWrite(3, kEnd);
        p.failQueuedAt = c.queuedAt;
        p.failReadAt = c.readAt;
        p.failWriteAt = c.writeAt;
        runKorvelReceive(p, h);
        EXPECT_EQ(w.events.back(), "failedPlatform") << c.what;
        EXPECT_EQ(eventsStarting(w, "failed").size(), 1u) << c.what;
        EXPECT_EQ(p.callsAfterEnd, 0) << c.what;
        EXPECT_FALSE(p.closed) << c.what;
        EXPECT_EQ(h.points.size(), c.points) << c.what;
    }
}

// ---- send ----------------------------------------------------------------

TEST_F(KorvelWorkerTest, SendFromAnEmptyListEchoesAndFinishes) {
    port.sends(kHandshake);
    runKorvelSend(port, host);
    EXPECT_EQ(port.written(), kHandshake);
    EXPECT_EQ(world.events, (std::vector<std::string>{"title:Wait SyncData", "write:01 53 0D", "close",
                                                      "finished"}));
}

TEST_F(KorvelWorkerTest, SendThreePoints) {
    host.addRow("P1", "M", 1234.5678, -12.3, 0);
    host.addRow("Q", "", 1, 2, 3);
    host.addRow("LONGNAME9", "MARK", -0.0001, 0, 9999999.999);
    port.sends(kHandshake).afterWrite(2, kAck, 300).afterWrite(3, kAck, 300).afterWrite(4, kAck, 300);
    runKorvelSend(port, host);

    ASSERT_EQ(port.writes.size(), 4u);
    EXPECT_EQ(port.writes[1], frameBytes(1, 3, "P1     M      00001234.568-0000012.30000000000.000"));
    EXPECT_EQ(port.writes[2], frameBytes(2, 3, "Q             00000001.00000000002.00000000003.000"));
    EXPECT_EQ(port.writes[3], frameBytes(3, 3, "LONGNAMMARK   -0000000.00000000000.00009999999.999"));
    EXPECT_EQ(host.titles, (std::vector<std::string>{"Wait SyncData", "Sending Tag 0001,Total 0003",
                                                     "Sending Tag 0002,Total 0003",
                                                     "Sending Tag 0003,Total 0003"}));
    EXPECT_EQ(host.rowCountCalls, 1);
    EXPECT_EQ(host.sent, (std::vector<int>{0, 1, 2}));
    // Each frame waits 200 ms; frames 2 and 3 wait for the acknowledgement
    // of the one before.
    EXPECT_GE(port.writeTimes[1] - port.writeTimes[0], 200);
    EXPECT_GE(port.writeTimes[2], port.releaseTimes[1] + 200);
    EXPECT_GE(port.writeTimes[3], port.releaseTimes[2] + 200);
    // No wait for the last acknowledgement: the worker ends at once.
    EXPECT_EQ(world.now, port.writeTimes[3]);
    EXPECT_EQ(world.events.back(), "finished");
    EXPECT_TRUE(port.closed);
}

TEST_F(KorvelWorkerTest, SendDoesNotWriteTheNextFrameBeforeThreeAckBytes) {
    host.addRow("A", "", 1, 1, 1);
    host.addRow("B", "", 2, 2, 2);
    port.sends(kHandshake).afterWrite(2, {0x06, 0x06}, 100);
    host.stopAtMs = 20000;
    runKorvelSend(port, host);
    EXPECT_EQ(port.writes.size(), 2u);
    EXPECT_EQ(port.callsAfterStop, 0);
}

TEST_F(KorvelWorkerTest, CancelDuringTheFramePauseWritesNothingMore) {
    host.addRow("A", "", 1, 1, 1);
    port.sends(kHandshake);
    host.stopAtMs = 150;
    runKorvelSend(port, host);
    EXPECT_EQ(port.written(), kHandshake);
    EXPECT_EQ(port.callsAfterStop, 0);
    EXPECT_TRUE(host.sent.empty());
    EXPECT_TRUE(hostEnds().empty());
}

TEST_F(KorvelWorkerTest, SendWrongHandshakeWritesNothing) {
    host.addRow("A", "", 1, 1, 1);
    port.sends(kEnd);
    runKorvelSend(port, host);
    EXPECT_TRUE(port.writes.empty());
    EXPECT_EQ(host.rowCountCalls, 0);
    EXPECT_EQ(world.events.back(), "failedProtocol:wrong-opening");
}

TEST_F(KorvelWorkerTest, SendOfMoreThanTheCountersHoldIsRefusedBeforeAnyFrame) {
    for (int i = 0; i < kKorvelMaxPoints + 1; ++i) host.addRow("P", "", i, 0, 0);
    port.sends(kHandshake);
    runKorvelSend(port, host);
    EXPECT_EQ(port.written(), kHandshake);
    EXPECT_EQ(world.events.back(), "failedProtocol:too-many-points");
}

TEST_F(KorvelWorkerTest, FailingFrameWriteEndsTheSend) {
    host.addRow("A", "", 1, 1, 1);
    host.addRow("B", "", 2, 2, 2);
    port.sends(kHandshake).afterWrite(2, kAck);
    port.failWriteAt = 3;
    runKorvelSend(port, host);
    EXPECT_EQ(port.writes.size(), 2u);
    EXPECT_EQ(host.sent, std::vector<int>{0});  // the failed frame did not go out
    EXPECT_EQ(world.events.back(), "failedPlatform");
    EXPECT_EQ(port.callsAfterEnd, 0);
    EXPECT_FALSE(port.closed);
}

}  // namespace
