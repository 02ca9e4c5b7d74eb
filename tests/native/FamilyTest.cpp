// Every entry of the family table through the same checks: the program it
// makes, its list's columns, the way its received points enter the list, and its
// link part.
#include <gtest/gtest.h>

#include <random>
#include <set>
#include <sstream>
#include <string>

#include "fakes/AppFakes.h"
#include "fakes/Instruments.h"
#include "fakes/ResourceTexts.h"
#include "app/TransferTitle.h"
#include "link/LinkProtocol.h"
#include "link/WorkerHost.h"

namespace {

using Cells = std::vector<std::string>;

TEST(FamilyTable, HoldsTheFamiliesThatTheBuildMakesProgramsOf) {
    std::vector<std::string> built, listed;
    std::istringstream names(RUVO_FAMILIES);
    for (std::string name; std::getline(names, name, ',');) built.push_back(name);
    for (const InstrumentFamily* family : instrumentFamilies()) listed.push_back(family->modelName);
    EXPECT_EQ(listed, built);
    EXPECT_EQ(std::set<std::string>(listed.begin(), listed.end()).size(), listed.size());
}

TEST(FamilyTable, EveryTitleCarriesTheModelName) {
    for (const InstrumentFamily* family : instrumentFamilies()) {
        rc::ProgramTexts texts(family->modelName);
        EXPECT_EQ(texts.text(kTextIdleTitle).rfind(family->modelName, 0), 0u) << family->modelName;
    }
}

// Whatever the order, each column's cells show the value its header names.
TEST(FamilyTable, EveryColumnShowsWhatItsHeaderNames) {
    for (const InstrumentFamily* family : instrumentFamilies()) {
        AppHarness h(*family);
        h.app.appendRow(h.point("NAME", 1.5, 2.5, 3.5, "MARK"));
        const std::map<std::string, std::string> shownUnder = {
            {"text1", "NAME"}, {"text2", "MARK"}, {"text3", "1.500"}, {"text4", "2.500"}, {"text5", "3.500"}};
        ASSERT_EQ(h.list.headers.size(), 5u);
        EXPECT_EQ(std::set<std::string>(h.list.headers.begin(), h.list.headers.end()).size(), 5u)
            << family->modelName << ": every column once";
        const Cells cells = h.list.cells(0);
        for (std::size_t i = 0; i < 5; ++i)
            EXPECT_EQ(cells[i], shownUnder.at(h.list.headers[i])) << family->modelName << " column " << i;
        EXPECT_EQ(h.list.headers[0], "text1");  // the name first, then the mark
        EXPECT_EQ(h.list.headers[1], "text2");
    }
}

struct RowState {
    std::vector<FakeRow> rows;
    std::pair<int, bool> visible;
    bool modified;
    bool operator==(const RowState& o) const {
        if (rows.size() != o.rows.size() || visible != o.visible || modified != o.modified) return false;
        for (std::size_t i = 0; i < rows.size(); ++i)
            if (rows[i].selected != o.rows[i].selected || rows[i].focused != o.rows[i].focused) return false;
        return true;
    }
};

RowState stateOf(const AppHarness& h) { return {h.list.rows, h.list.visible.back(), h.app.modified()}; }

// A received point, and an imported one, enter the list in one of two
// ways: as appendRow or as insertFrameRow would add it.
TEST(FamilyTable, ReceivedPointsEnterAsAppendedOrAsFrameRows) {
    for (const InstrumentFamily* family : instrumentFamilies()) {
        AppHarness received(*family), appended(*family), framed(*family);
        for (AppHarness* h : {&received, &appended, &framed}) {
            h->app.insertFrameRow(h->point("OLD", 0, 0, 0));
            h->list.setFocused(0);
        }
        received.app.pointArrived(received.point("NEW", 1, 2, 3));
        appended.app.appendRow(appended.point("NEW", 1, 2, 3));
        framed.app.insertFrameRow(framed.point("NEW", 1, 2, 3));
        const bool byAppend = family->arrival == ArrivalEntry::AppendRow;
        EXPECT_TRUE(stateOf(received) == stateOf(byAppend ? appended : framed)) << family->modelName;
        EXPECT_FALSE(stateOf(appended) == stateOf(framed));  // the two ways differ
    }
}

TEST(FamilyTable, EveryFamilyHasBothWorkersAndASendCheck) {
    for (const InstrumentFamily* family : instrumentFamilies()) {
        EXPECT_NE(family->link.receive, nullptr) << family->modelName;
        EXPECT_NE(family->link.send, nullptr) << family->modelName;
        EXPECT_NE(family->link.limits.canCarry, nullptr) << family->modelName;
        EXPECT_GE(family->link.limits.maxPoints, 0) << family->modelName;
        EXPECT_TRUE(family->link.limits.canCarry(makePoint("P1", "M", 1234.567, -0.001, 0))) << family->modelName;
    }
}

TransferTitle titleOf(TransferTitle::Step step, int count, int total = 0, const char* counters = "") {
    TransferTitle title;
    title.step = step;
    title.count = count;
    title.total = total;
    title.counters = counters;
    return title;
}

// The titles of a transfer in both languages: each family's received title
// its own, the others the same for every family.
TEST(FamilyTable, TitlesInBothLanguages) {
    using Step = TransferTitle::Step;
    struct Case {
        const InstrumentFamily& family;
        rc::Language language;
        TransferTitle title;
        const char* shown;
    } cases[] = {
        {kKorvelFamily, rc::Language::English, titleOf(Step::Received, 2, 0, "00020005"),
         "Crurent Proc No. 0002, Total 0005 Points"},
        // Chinese names the total first.
        {kKorvelFamily, rc::Language::Chinese, titleOf(Step::Received, 2, 0, "00020005"), "当前处理：共0005点，第0002点"},
        // The counters as they came, whatever they hold.
        {kKorvelFamily, rc::Language::English, titleOf(Step::Received, 1, 0, "12 4?678"),
         "Crurent Proc No. 12 4, Total ?678 Points"},
        {kTassinFamily, rc::Language::English, titleOf(Step::Received, 3), "processing  tag No.3"},
        {kTassinFamily, rc::Language::Chinese, titleOf(Step::Received, 3), "当前处理第3点"},
        {kKorvelFamily, rc::Language::English, titleOf(Step::Sending, 1, 3), "Sending Tag 0001,Total 0003"},
        {kTassinFamily, rc::Language::Chinese, titleOf(Step::Sending, 12, 345), "正在发送0012点，共0345点"},
        {kTassinFamily, rc::Language::English, titleOf(Step::WaitingForInstrument, 0), "Wait SyncData"},
    };
    for (const Case& c : cases) {
        rc::ProgramTexts texts(c.family.modelName, c.language);
        EXPECT_EQ(transferTitleText(c.family, texts, c.title), c.shown) << c.shown;
    }
    for (const InstrumentFamily* family : instrumentFamilies()) {
        rc::ProgramTexts texts(family->modelName);
        EXPECT_FALSE(transferTitleText(*family, texts, titleOf(Step::Received, 1, 0, "00010001")).empty())
            << family->modelName;
    }
}

// Points that every family's frames carry whole, both ways: names of up to
// 7 and marks of up to 3 letters and digits, zero and the largest
// magnitudes among them.
std::vector<PointRecord> carriedPoints(unsigned seed) {
    std::vector<PointRecord> points = randomPoints(seed, 25, 7, 3);
    points.push_back(makePoint("ZERO", "", 0, 9999999.999, -9999999.999));
    return points;
}

void expectSamePoints(const std::vector<PointRecord>& got, const std::vector<PointRecord>& want, const char* model) {
    ASSERT_EQ(got.size(), want.size()) << model;
    for (std::size_t i = 0; i < want.size(); ++i) {
        EXPECT_STREQ(got[i].name, want[i].name) << model << " point " << i;
        EXPECT_STREQ(got[i].mark, want[i].mark) << model << " point " << i;
        EXPECT_EQ(got[i].n, want[i].n) << model << " point " << i;
        EXPECT_EQ(got[i].e, want[i].e) << model << " point " << i;
        EXPECT_EQ(got[i].z, want[i].z) << model << " point " << i;
    }
}

// A family's workers on a fake line to its test instrument.
struct FamilyLine {
    explicit FamilyLine(const InstrumentFamily& family)
        : instrument(fake::testInstrument(family.modelName)), host(world, family) {}
    const fake::TestInstrument* instrument;  // nullptr: the family has none yet
    fake::World world;
    fake::FakePort port{world};
    fake::FakeHost host;
};

// What the instrument sends arrives as the points it was made from.
TEST(FamilyTable, EveryFamilysReceiveDeliversThePointsTheInstrumentSent) {
    for (const InstrumentFamily* family : instrumentFamilies()) {
        FamilyLine line(*family);
        ASSERT_NE(line.instrument, nullptr) << family->modelName << " needs its instrument in fakes/Instruments.h";
        const fake::TestInstrument& instrument = *line.instrument;
        const std::vector<PointRecord> points = carriedPoints(7);
        int writes = 0;
        if (!instrument.receiveOpening.empty()) line.port.sends(instrument.receiveOpening);
        if (instrument.receiveEcho) ++writes;
        const int total = static_cast<int>(points.size());
        for (int i = 0; i < total; ++i) {
            line.port.afterWrite(writes, instrument.dataFrame(points[static_cast<std::size_t>(i)], i + 1, total),
                                 10);
            if (instrument.answeredFrames) ++writes;
        }
        line.port.afterWrite(writes, instrument.endOfPoints, 10);
        family->link.receive(line.port, line.host);

        EXPECT_EQ(line.world.events.back(), "finished") << family->modelName;
        EXPECT_TRUE(line.port.closed);
        EXPECT_EQ(static_cast<int>(line.port.writes.size()), writes) << family->modelName;
        std::vector<PointRecord> delivered;
        for (const auto& point : line.host.points) delivered.push_back(*point);
        expectSamePoints(delivered, points, family->modelName);
    }
}

// What the PC sends the instrument reads as the points of the list, and a
// list longer than the frames can count goes nowhere.
TEST(FamilyTable, EveryFamilysSendCarriesTheListToTheInstrument) {
    for (const InstrumentFamily* family : instrumentFamilies()) {
        FamilyLine line(*family);
        ASSERT_NE(line.instrument, nullptr) << family->modelName << " needs its instrument in fakes/Instruments.h";
        const fake::TestInstrument& instrument = *line.instrument;
        const std::vector<PointRecord> points = carriedPoints(11);
        for (const PointRecord& p : points) line.host.addRow(p.name, p.mark, p.n, p.e, p.z);
        PointStore store;
        store.append(points.data(), points.size());
        EXPECT_FALSE(checkSend(family->link.limits, store).refused()) << family->modelName;
        line.port.sends(instrument.sendOpening);
        const int first = instrument.sendEcho ? 1 : 0;
        for (std::size_t i = 0; i < points.size(); ++i)
            line.port.afterWrite(first + static_cast<int>(i) + 1, instrument.answer, 20);
        family->link.send(line.port, line.host);

        EXPECT_EQ(line.world.events.back(), "finished") << family->modelName;
        ASSERT_EQ(line.port.writes.size(), points.size() + static_cast<std::size_t>(first)) << family->modelName;
        if (instrument.sendEcho) {
            EXPECT_EQ(line.port.writes[0], instrument.sendOpening);
        }
        std::vector<PointRecord> read;
        for (std::size_t i = 0; i < points.size(); ++i)
            read.push_back(instrument.readFrame(line.port.writes[first + i]));
        expectSamePoints(read, points, family->modelName);

        const int limit = family->link.limits.maxPoints;
        if (limit <= 0) continue;
        FamilyLine big(*family);
        PointStore bigStore;
        for (int i = 0; i <= limit; ++i) {
            big.host.addRow("P", "", i, 0, 0);
            bigStore.append(makePoint("P", "", i, 0, 0));
        }
        EXPECT_EQ(checkSend(family->link.limits, bigStore).reason, SendRefusal::Reason::TooManyPoints);
        big.port.sends(instrument.sendOpening);
        family->link.send(big.port, big.host);
        EXPECT_EQ(big.world.events.back(), "failedProtocol:too-many-points") << family->modelName;
        EXPECT_EQ(big.port.writes.size(), static_cast<std::size_t>(first)) << family->modelName;
    }
}

}  // namespace
