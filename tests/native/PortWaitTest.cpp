#include "link/PortWait.h"

#include <gtest/gtest.h>

#include "fakes/FakeInstrument.h"

using fake::Bytes;

namespace {

struct PortWaitTest : ::testing::Test {
    fake::World world;
    fake::FakePort port{world};
    fake::FakeHost host{world};
    PortWait wait{port, host};
};

TEST_F(PortWaitTest, ExactlyEndsOnlyWhenAPollFindsExactlyThat) {
    port.trickles({0x01, 0x53, 0x0D}, 8).sends({0x02}, 100);
    EXPECT_EQ(wait.exactly(3), WaitResult::Ok);
    EXPECT_EQ(port.pendingInput(), 3u);
    EXPECT_LT(world.now, 100);
}

TEST_F(PortWaitTest, ExactlyKeepsWaitingWhenMoreArrivedBeforeAnyPollSawThat) {
    port.sends({0x01, 0x53, 0x0D, 0x02});
    host.stopAtMs = 5000;
    EXPECT_EQ(wait.exactly(3), WaitResult::Stopped);
    EXPECT_EQ(world.now, 5000);
    EXPECT_FALSE(host.timedOut());
}

TEST_F(PortWaitTest, AtLeastAcceptsMore) {
    port.sends(Bytes(70, 0x11), 30);
    EXPECT_EQ(wait.atLeast(66), WaitResult::Ok);
}

TEST_F(PortWaitTest, FailingQueuedEndsTheWait) {
    port.failQueuedAt = 3;
    EXPECT_EQ(wait.atLeast(1), WaitResult::Failed);
    EXPECT_EQ(port.queuedCalls, 3);
}

TEST_F(PortWaitTest, StopIsSeenBeforeThePoll) {
    port.sends({1, 2, 3});
    host.requestStop();
    EXPECT_EQ(wait.atLeast(3), WaitResult::Stopped);
    EXPECT_EQ(port.queuedCalls, 0);
}

TEST_F(PortWaitTest, QuietLineIsPolledAboutAHundredTimesASecond) {
    host.stopAtMs = 10000;
    EXPECT_EQ(wait.atLeast(3), WaitResult::Stopped);
    // Ten seconds of quiet line: about a thousand polls, evenly spaced.
    EXPECT_GE(port.queuedCalls, 990);
    EXPECT_LE(port.queuedCalls, 1001);
    ASSERT_FALSE(host.pauses.empty());
    for (int ms : host.pauses) EXPECT_EQ(ms, host.pauses.front());
}

TEST_F(PortWaitTest, ArrivingBytesShortenThePauseUntilTheLineIsQuietAgain) {
    port.sends({0x55}, 95);
    host.stopAtMs = 400;
    EXPECT_EQ(wait.atLeast(2), WaitResult::Stopped);
    // 10 ms pauses up to the byte at 95 ms (seen at 100), then 1 ms pauses
    // for 50 ms, then 10 ms again.
    std::size_t i = 0;
    long t = 0;
    for (; t < 100; t += host.pauses[i++]) EXPECT_EQ(host.pauses[i], 10) << "at " << t;
    for (; t < 150; t += host.pauses[i++]) EXPECT_EQ(host.pauses[i], 1) << "at " << t;
    for (; i + 1 < host.pauses.size(); t += host.pauses[i++]) EXPECT_EQ(host.pauses[i], 10) << "at " << t;
}

TEST_F(PortWaitTest, FrameTricklingAt1200BaudIsSeenWithinAMillisecondOfItsLastByte) {
    port.sends({0x01}, 500).trickles(Bytes(59, 0x30), 8);
    Bytes frame(60);
    ASSERT_EQ(wait.read(frame.data(), frame.size()), WaitResult::Ok);
    ASSERT_TRUE(port.allReleased());
    EXPECT_LE(world.now - port.releaseTimes.back(), 1);
    // 500 ms of quiet line (50 polls), then about 500 ms of trickle, with
    // longer pauses while the frame's end is far: well under one poll a
    // millisecond (polling every millisecond would take about 530).
    EXPECT_LT(port.queuedCalls, 200);
}

TEST_F(PortWaitTest, ReadGetsEveryByteFromAPortThatHandsOverFewerThanQueued) {
    struct StingyPort : fake::FakePort {
        using FakePort::FakePort;
        bool read(std::uint8_t* data, std::size_t, std::size_t& got) override {
            return FakePort::read(data, 1, got);
        }
    } stingy(world);
    PortWait stingyWait(stingy, host);
    stingy.sends({1, 2, 3, 4, 5});
    std::uint8_t got[5] = {};
    ASSERT_EQ(stingyWait.read(got, 5), WaitResult::Ok);
    EXPECT_EQ(fake::hex(got, 5), "01 02 03 04 05");
}

TEST_F(PortWaitTest, ReadQueuedTakesWhatIsThereWithoutWaiting) {
    port.sends({7, 8}).sends({9}, 50);
    std::uint8_t got[3] = {};
    std::size_t n = 99;
    ASSERT_EQ(wait.readQueued(got, 3, n), WaitResult::Ok);
    EXPECT_EQ(n, 2u);
    EXPECT_EQ(world.now, 0);
    EXPECT_TRUE(host.pauses.empty());
}

TEST_F(PortWaitTest, FailureAfterAStopIsNotReported) {
    host.requestStop();
    endAfterPortFailure(host);
    EXPECT_TRUE(fake::eventsStarting(world, "failed").empty());
    fake::World other;
    fake::FakeHost running(other);
    endAfterPortFailure(running);
    EXPECT_EQ(fake::eventsStarting(other, "failed"), std::vector<std::string>{"failedPlatform"});
}

}  // namespace
