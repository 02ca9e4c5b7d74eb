// A worker that fails on its thread other than through its port: no memory
// for a record, or any other fault. The failure is reported like a failing
// port call, the points delivered before it stay, and the transfer ends
// through the cancel sequence.
#include "link/WorkerGuard.h"

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <new>
#include <stdexcept>
#include <string>

#include "fakes/AppFakes.h"
#include "fakes/FakeInstrument.h"
#include "link/KorvelWorkers.h"
#include "link/TassinWorkers.h"

namespace {

// Allocations of a PointRecord's size that may still succeed; -1: all.
long g_recordAllocationsLeft = -1;

}  // namespace

// Every allocation of the test program passes through here to the one it
// replaces (the sanitizer's, where it runs), so nothing else changes; only
// while g_recordAllocationsLeft counts does a record's allocation fail.
void* operator new(std::size_t size) {
    using New = void* (*)(std::size_t);
    static const New next = reinterpret_cast<New>(dlsym(RTLD_NEXT, "_Znwm"));
    if (size == sizeof(PointRecord) && g_recordAllocationsLeft >= 0 && g_recordAllocationsLeft-- == 0)
        throw std::bad_alloc();
    return next(size);
}

namespace {

using fake::Bytes;
using fake::join;

// Arms the failure for one test: the record after `succeed` more fails.
// The fake host's texts are read first, so that only the workers' own
// allocations count.
struct RecordAllocationFails {
    explicit RecordAllocationFails(long succeed) {
        for (const InstrumentFamily* family : instrumentFamilies()) fake::englishTexts(*family);
        g_recordAllocationsLeft = succeed;
    }
    ~RecordAllocationFails() { g_recordAllocationsLeft = -1; }
};

Bytes korvelFrame(int seq, const char* name) {
    char text[80];
    std::snprintf(text, sizeof text, "\x02%04d0003%-7s%-7s00000001.00000000002.00000000003.000\r", seq, name, "M");
    return fake::bytesOf(text);
}

Bytes tassinFrame(const char* name) {
    Bytes f(66, 0);
    for (std::size_t i = 0; name[i]; ++i) f[25 + i] = static_cast<std::uint8_t>(name[i]);
    f[55] = 0x10;
    return f;
}

struct WorkerGuardTest : ::testing::Test {
    fake::World world;
    fake::FakePort port{world};
    fake::FakeHost host{world};
};

TEST_F(WorkerGuardTest, AKorvelRecordWithoutMemoryEndsTheReceiveLikeAPortFailure) {
    port.sends({0x01, 0x53, 0x0D})
        .afterWrite(1, korvelFrame(1, "P1"), 10)
        .afterWrite(2, korvelFrame(2, "P2"), 10)
        .afterWrite(3, korvelFrame(3, "P3"), 10);
    RecordAllocationFails fails(1);
    runGuarded(runKorvelReceive, port, host);
    ASSERT_EQ(host.points.size(), 1u);
    EXPECT_STREQ(host.points[0]->name, "P1");
    EXPECT_EQ(world.events.back(), "failedInternally:no-memory");
    EXPECT_EQ(port.writes.size(), 2u);  // the echo and the first reply; the second frame goes unanswered
    EXPECT_FALSE(port.closed);          // the cancel sequence closes it
}

TEST_F(WorkerGuardTest, ATassinRecordWithoutMemoryEndsTheReceiveLikeAPortFailure) {
    port.sends(tassinFrame("T1")).sends(tassinFrame("T2"), 100);
    RecordAllocationFails fails(1);
    runGuarded(runTassinReceive, port, host);
    ASSERT_EQ(host.points.size(), 1u);
    EXPECT_STREQ(host.points[0]->name, "T1");
    EXPECT_EQ(world.events.back(), "failedInternally:no-memory");
    EXPECT_FALSE(port.closed);
}

TEST_F(WorkerGuardTest, OtherFaultsAreReportedAndAStoppedWorkerSaysNothing) {
    struct Case {
        WorkerBody body;
        bool stopFirst;
        const char* last;
    } cases[] = {
        {[](BytePort&, WorkerHost&) { throw std::runtime_error("fault"); }, false, "failedInternally:internal"},
        {[](BytePort&, WorkerHost&) { throw std::bad_alloc(); }, false, "failedInternally:no-memory"},
        {[](BytePort&, WorkerHost&) { throw 7; }, false, "failedInternally:internal"},
        {[](BytePort&, WorkerHost&) { throw std::bad_alloc(); }, true, "started"},  // nothing said
        {[](BytePort&, WorkerHost& h) { h.finished(); }, false, "finished"},
    };
    for (const Case& c : cases) {
        fake::World w;
        fake::FakePort p(w);
        fake::FakeHost h(w);
        if (c.stopFirst) h.requestStop();
        w.events.push_back("started");
        runGuarded(c.body, p, h);
        EXPECT_EQ(w.events.back(), c.last);
    }
}

// The whole way: the receive started by Recv, its worker out of memory at
// the second point, the report as the window hands it over.
TEST(WorkerFailure, NoMemoryOnTheWorkerShowsTheCauseThenTheWarningAndKeepsThePoints) {
    AppHarness h(kKorvelFamily);
    fake::World world;
    fake::FakeHost host(world);
    auto port = std::make_unique<fake::FakePort>(world);
    fake::FakePort& line = *port;
    line.sends({0x01, 0x53, 0x0D}).afterWrite(1, korvelFrame(1, "P1"), 10).afterWrite(2, korvelFrame(2, "P2"), 10);
    h.link.nextPort = std::move(port);
    h.link.host = &host;
    h.app.command(kIdRecv);
    ASSERT_TRUE(h.link.worker);
    {
        RecordAllocationFails fails(1);
        h.link.worker();
    }
    for (auto& point : host.points) h.app.pointArrived(*point);
    ASSERT_EQ(world.events.back(), "failedInternally:no-memory");
    EXPECT_FALSE(line.closed);
    h.app.transferFailed(ProtocolFault::None, "Not enough memory.");
    EXPECT_EQ(h.boxes.texts(), (std::vector<std::string>{"Not enough memory.", "text16"}));
    EXPECT_EQ(h.boxes.shown[0].caption, "Error");
    EXPECT_EQ(h.app.mode(), LinkMode::Idle);
    EXPECT_EQ(world.events.back(), "close");  // by the cancel sequence, which also destroyed the port
    ASSERT_EQ(h.list.rows.size(), 1u);
    EXPECT_EQ(h.list.cells(0)[0], "P1");
}

}  // namespace
