// The transfer workers against the simulated instruments over a real pty:
// both sides of each protocol must agree byte for byte.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <thread>

#include "PosixBytePort.h"
#include "RealtimeHost.h"
#include "SimPoint.h"
#include "SimProcess.h"
#include "app/TransferTitle.h"
#include "app/families/FamilyTable.h"
#include "fakes/ResourceTexts.h"
#include "link/KorvelWorkers.h"
#include "link/TassinWorkers.h"

using namespace std::chrono_literals;

namespace {

// A title as the family's program shows it in English.
std::string english(const InstrumentFamily& family, const TransferTitle& title) {
    return transferTitleText(family, rc::ProgramTexts(family.modelName), title);
}

constexpr int kLinkMs = 5000;
constexpr int kExitMs = 15000;

struct SimLinkTest : ::testing::Test {
    SimProcess sim;
    PosixBytePort port;
    RealtimeHost host{20s};

    void startSim(std::vector<std::string> args) {
        args.insert(args.end(), {"--timeout", "30000", "--start-delay", "50", "--dump", sim.file("dump")});
        ASSERT_TRUE(sim.start(args, sim.file("log")));
        ASSERT_TRUE(sim.waitForLink(kLinkMs));
        ASSERT_TRUE(port.open(sim.linkPath()));
    }
    std::string simLog() { return readWholeFile(sim.file("log")); }

    void expectPointsLike(const std::vector<SimPoint>& want) {
        const auto got = host.takePoints();
        ASSERT_EQ(got.size(), want.size());
        for (std::size_t i = 0; i < want.size(); ++i) {
            EXPECT_EQ(got[i]->name, want[i].name.substr(0, 7)) << i;
            EXPECT_EQ(got[i]->mark, want[i].mark.substr(0, 7)) << i;
            EXPECT_DOUBLE_EQ(got[i]->n, want[i].n) << i;
            EXPECT_DOUBLE_EQ(got[i]->e, want[i].e) << i;
            EXPECT_DOUBLE_EQ(got[i]->z, want[i].z) << i;
        }
    }
    void addRow(const char* name, const char* mark, double n, double e, double z) {
        host.rows.push_back(std::make_unique<PointRecord>());
        host.rows.back()->setName(name);
        host.rows.back()->setMark(mark);
        host.rows.back()->n = n;
        host.rows.back()->e = e;
        host.rows.back()->z = z;
    }
};

TEST_F(SimLinkTest, KorvelReceive) {
    startSim({"--model", "korvel", "--direction", "to-pc", "--points", "5"});
    runKorvelReceive(port, host);
    EXPECT_EQ(host.ending(), "finished");
    EXPECT_FALSE(port.isOpen());
    expectPointsLike(generatePoints(5));
    const auto titles = host.titles();
    ASSERT_EQ(titles.size(), 6u);
    EXPECT_EQ(english(kKorvelFamily, titles[0]), "Wait SyncData");
    EXPECT_EQ(english(kKorvelFamily, titles[3]), "Crurent Proc No. 0003, Total 0005 Points");
    EXPECT_EQ(sim.waitExit(kExitMs), 0) << simLog();
    const std::string dump = readWholeFile(sim.file("dump"));
    EXPECT_EQ(dump.substr(0, 9 + 30), "01 53 0D\n02 30 30 30 31 30 30 30 35 0D\n");
}

TEST_F(SimLinkTest, KorvelSend) {
    addRow("P1", "M", 1234.5678, -12.3, 0);
    addRow("LONGNAME9", "MARKLONG", -0.0001, 9999999.999, -42);
    addRow("", "", 1, 2, 3);
    startSim({"--model", "korvel", "--direction", "from-pc", "--out", sim.file("out")});
    runKorvelSend(port, host);
    EXPECT_EQ(host.ending(), "finished");
    EXPECT_EQ(sim.waitExit(kExitMs), 0) << simLog();
    EXPECT_EQ(readWholeFile(sim.file("out")),
              "P1,M,1234.568,-12.300,0.000\n"
              "LONGNAM,MARKLON,-0.000,9999999.999,-42.000\n"
              ",,1.000,2.000,3.000\n");
}

TEST_F(SimLinkTest, TassinReceive) {
    startSim({"--model", "tassin", "--direction", "to-pc", "--points", "4"});
    runTassinReceive(port, host);
    EXPECT_EQ(host.ending(), "finished");
    expectPointsLike(generatePoints(4));
    EXPECT_EQ(english(kTassinFamily, host.titles().back()), "processing  tag No.4");
    EXPECT_EQ(sim.waitExit(kExitMs), 0) << simLog();
}

TEST_F(SimLinkTest, TassinSend) {
    addRow("P1  ", "ABCDE", 1234.5, -0.25, 0);
    addRow("NINECHARS", "", -12345678.123, 2, 3);
    startSim({"--model", "tassin", "--direction", "from-pc", "--out", sim.file("out")});
    runTassinSend(port, host);
    EXPECT_EQ(host.ending(), "finished");
    EXPECT_STREQ(host.rows[0]->name, "P1  ");  // the worker only reads; the instrument gets "P1"
    EXPECT_EQ(sim.waitExit(kExitMs), 0) << simLog();
    EXPECT_EQ(readWholeFile(sim.file("out")),
              "P1,ABC,1234.500,-0.250,0.000\n"
              "NINECHA,,-12345678.123,2.000,3.000\n");
}

TEST_F(SimLinkTest, WrongHandshakeEndsWithFrameHeadErrorAndWritesNothing) {
    startSim({"--model", "korvel", "--direction", "to-pc", "--fault", "wrong-handshake"});
    runKorvelReceive(port, host);
    EXPECT_EQ(host.ending(), "failedProtocol:" + std::to_string(static_cast<int>(ProtocolFault::WrongOpening)));
    port.close();  // as the cancel sequence does
    EXPECT_EQ(sim.waitExit(kExitMs), 0) << simLog();
    EXPECT_EQ(readWholeFile(sim.file("dump")), "");
}

TEST_F(SimLinkTest, SilentInstrumentKeepsTheWorkerWaitingUntilCancel) {
    startSim({"--model", "tassin", "--direction", "to-pc", "--points", "5", "--fault", "silent-after=2"});
    std::thread worker([&] { runTassinReceive(port, host); });
    EXPECT_TRUE(host.waitForPoints(2, 10s));
    std::this_thread::sleep_for(300ms);
    EXPECT_EQ(host.ending(), "");
    host.requestStop();
    worker.join();
    EXPECT_EQ(host.ending(), "");
    EXPECT_FALSE(host.gaveUp());
    port.close();
    EXPECT_EQ(sim.waitExit(kExitMs), 0) << simLog();
}

TEST_F(SimLinkTest, VanishingLineIsAPlatformFailure) {
    startSim({"--model", "korvel", "--direction", "to-pc", "--points", "3", "--fault", "close-after=1"});
    runKorvelReceive(port, host);
    EXPECT_EQ(host.ending(), "failedPlatform");
    EXPECT_EQ(host.takePoints().size(), 1u);
    EXPECT_EQ(sim.waitExit(kExitMs), 0) << simLog();
}

TEST_F(SimLinkTest, GarbageShiftsEveryLaterTassinFrame) {
    startSim({"--model", "tassin", "--direction", "to-pc", "--points", "3", "--fault", "garbage=1"});
    std::thread worker([&] { runTassinReceive(port, host); });
    // 3 frames, 7 garbage bytes and the end frame make 4 blocks of 66 bytes
    // and 7 bytes over: four points, none of them after the first right,
    // and no end.
    EXPECT_TRUE(host.waitForPoints(4, 10s));
    std::this_thread::sleep_for(300ms);
    host.requestStop();
    worker.join();
    EXPECT_EQ(host.ending(), "");
    const auto points = host.takePoints();
    ASSERT_EQ(points.size(), 4u);
    EXPECT_STREQ(points[0]->name, "P1");
    EXPECT_STRNE(points[1]->name, "P2");
    port.close();
    EXPECT_EQ(sim.waitExit(kExitMs), 0) << simLog();
}

TEST_F(SimLinkTest, PointsFromAFile) {
    {
        std::FILE* f = std::fopen(sim.file("points").c_str(), "w");
        ASSERT_NE(f, nullptr);
        std::fputs("# name,mark,n,e,z\nA1,KERB,100.25,-200.5,3\n\n,,0,0,-0.125\n", f);
        std::fclose(f);
    }
    startSim({"--model", "korvel", "--direction", "to-pc", "--points-file", sim.file("points")});
    runKorvelReceive(port, host);
    EXPECT_EQ(host.ending(), "finished");
    expectPointsLike({{"A1", "KERB", 100.25, -200.5, 3}, {"", "", 0, 0, -0.125}});
    EXPECT_EQ(sim.waitExit(kExitMs), 0) << simLog();
}

TEST(SimCommandLineTest, RefusesWhatItCannotPlay) {
    const std::vector<std::vector<std::string>> bad = {
        {"--model", "korvel"},
        {"--model", "tassin", "--direction", "to-pc", "--fault", "wrong-handshake"},
        {"--model", "korvel", "--direction", "to-pc", "--fault", "silent-after"},
        {"--model", "korvel", "--direction", "to-pc", "--points-file", "/nonexistent/points"},
        {"--model", "korvel", "--direction", "sideways"},
    };
    for (const auto& args : bad) {
        SimProcess sim;
        ASSERT_TRUE(sim.start(args));
        EXPECT_EQ(sim.waitExit(kExitMs), 2) << args.back();
    }
}

TEST_F(SimLinkTest, LoopServesTheNextTransferOnACleanLine) {
    startSim({"--model", "korvel", "--direction", "to-pc", "--points", "3", "--baud-pace", "--loop"});
    {
        // First transfer: cancelled after one point, mid-way through the
        // instrument's next frame.
        std::thread worker([&] { runKorvelReceive(port, host); });
        EXPECT_TRUE(host.waitForPoints(1, 10s));
        std::this_thread::sleep_for(150ms);
        host.requestStop();
        worker.join();
        port.close();
    }
    std::this_thread::sleep_for(200ms);
    RealtimeHost second(20s);
    ASSERT_TRUE(port.open(sim.linkPath()));
    runKorvelReceive(port, second);
    EXPECT_EQ(second.ending(), "finished");
    EXPECT_EQ(second.takePoints().size(), 3u);
    sim.interrupt();
    EXPECT_EQ(sim.waitExit(kExitMs), 130) << simLog();
}

}  // namespace
