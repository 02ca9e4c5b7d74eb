// Starting, cancelling and failing transfers: the boxes, their order, the
// port's life and the link mode.
#include <gtest/gtest.h>

#include "fakes/AppFakes.h"
#include "link/BytePort.h"

namespace {

class CountingPort : public BytePort {
public:
    explicit CountingPort(int* closes) : closes_(closes) {}
    bool queued(std::size_t& count) override { return count = 0, true; }
    bool read(std::uint8_t*, std::size_t, std::size_t& got) override { return got = 0, true; }
    bool write(const std::uint8_t*, std::size_t) override { return true; }
    void close() override { ++*closes_; }

private:
    int* closes_;
};

struct TransferHarness : AppHarness {
    explicit TransferHarness(const InstrumentFamily& family = kKorvelFamily) : AppHarness(family) {}
    void givePort() { link.nextPort = std::make_unique<CountingPort>(&closes); }
    std::vector<std::string> boxTexts() const { return boxes.texts(); }
    int closes = 0;
};

TEST(Transfer, PortThatCannotBeOpenedShowsTheReasonThenTheWarning) {
    TransferHarness h;
    h.window.portBox = "COM_WITH_A_VERY_LONG_NAME_INDEED";
    h.app.command(kIdRecv);
    EXPECT_EQ(h.link.opened, (std::vector<std::string>{"COM_WITH_A_VERY_LON"}));  // 19 characters
    ASSERT_EQ(h.boxTexts(), (std::vector<std::string>{"system reason", "text16"}));
    EXPECT_EQ(h.boxes.shown[0].caption, "Error");
    EXPECT_EQ(h.boxes.shown[0].owner, BoxOwner::None);
    EXPECT_EQ(h.boxes.shown[0].icon, BoxIcon::Information);
    EXPECT_EQ(h.boxes.shown[1].caption, "Warning");
    EXPECT_EQ(h.boxes.shown[1].icon, BoxIcon::Warning);
    EXPECT_EQ(h.app.mode(), LinkMode::Idle);
    EXPECT_EQ(h.window.caption, "text7");
}

TEST(Transfer, StartThenCancelStopsTheWorkerBeforeTheWarningAndClosesThePort) {
    TransferHarness h;
    h.givePort();
    h.app.command(kIdSend);
    EXPECT_EQ(h.app.mode(), LinkMode::Sending);
    EXPECT_EQ(h.window.caption, "text11");
    EXPECT_EQ(h.window.texts[kIdSend], "text8");
    EXPECT_TRUE(h.link.running);
    EXPECT_TRUE(h.boxes.shown.empty());

    h.app.command(kIdSend);  // now "Cancel"
    EXPECT_EQ(h.link.stops, 1);
    EXPECT_EQ(h.boxTexts(), (std::vector<std::string>{"text16"}));
    EXPECT_EQ(h.closes, 1);
    EXPECT_FALSE(h.app.transferRunning());
    EXPECT_EQ(h.app.mode(), LinkMode::Idle);

    h.givePort();  // a second transfer on the same port starts afresh
    h.app.command(kIdRecv);
    EXPECT_EQ(h.app.mode(), LinkMode::Receiving);
    EXPECT_EQ(h.link.opened.size(), 2u);
}

TEST(Transfer, WorkerFailuresShowTheirCauseThenTheWarning) {
    struct Case {
        ProtocolFault fault;
        const char* first;
        BoxOwner owner;
        BoxIcon icon;
    } cases[] = {{ProtocolFault::WrongOpening, "text13", BoxOwner::MainWindow, BoxIcon::None},
                 {ProtocolFault::TooManyPoints, "text45", BoxOwner::MainWindow, BoxIcon::None},
                 {ProtocolFault::None, "The device is gone.", BoxOwner::None, BoxIcon::Information}};
    for (const Case& c : cases) {
        TransferHarness h;
        h.givePort();
        h.app.command(kIdRecv);
        h.app.pointArrived(h.point("P1", 1, 2, 3));  // posted before the failure
        h.app.transferFailed(c.fault, "The device is gone.");
        ASSERT_EQ(h.boxTexts(), (std::vector<std::string>{c.first, "text16"}));
        EXPECT_EQ(h.boxes.shown[0].caption, "Error");
        EXPECT_EQ(h.boxes.shown[0].owner, c.owner);
        EXPECT_EQ(h.boxes.shown[0].icon, c.icon);
        EXPECT_EQ(h.closes, 1);
        EXPECT_EQ(h.app.mode(), LinkMode::Idle);
        EXPECT_EQ(h.list.rows.size(), 1u);  // received points stay

        h.app.transferFailed(c.fault, "late");  // an old report changes nothing
        EXPECT_EQ(h.boxes.shown.size(), 2u);
    }
}

TEST(Transfer, APointWithoutRoomStopsTheReceiveOnceAndKeepsTheList) {
    for (const InstrumentFamily* family : instrumentFamilies()) {
        TransferHarness h(*family);
        h.givePort();
        h.app.command(kIdRecv);
        h.app.pointArrived(h.point("P1", 1, 2, 3));
        AppStateTestAccess::points(h.app).setRowLimit(1);
        h.app.pointArrived(h.point("P2", 1, 2, 3));
        // The worker stops before the user is told, then the cancel sequence.
        EXPECT_EQ(h.link.stops, 1);
        EXPECT_EQ(h.boxTexts(), (std::vector<std::string>{"text48", "text16"}));
        EXPECT_EQ(h.app.mode(), LinkMode::Idle);
        EXPECT_EQ(h.closes, 1);
        // Points that were on their way already find no room, and no new box.
        h.app.pointArrived(h.point("P3", 1, 2, 3));
        EXPECT_EQ(h.boxes.shown.size(), 2u);
        ASSERT_EQ(h.list.rows.size(), 1u);
        EXPECT_STREQ(h.list.record(0).name, "P1");
        EXPECT_EQ(h.app.modified(), family->arrival == ArrivalEntry::AppendRow);

        // The next receive tells again.
        h.givePort();
        h.app.command(kIdRecv);
        h.app.pointArrived(h.point("P4", 1, 2, 3));
        EXPECT_EQ(h.boxes.shown.size(), 4u);
    }
}

TEST(Transfer, TassinSendsLeaveTheSentPointsWithTrimmedNames) {
    struct Case {
        const InstrumentFamily* family;
        bool cancel;
        int sent;
        std::vector<std::string> names;
    } cases[] = {
        {&kTassinFamily, false, 4, {"A", "B", "C", " D"}},
        {&kTassinFamily, true, 2, {"A", "B", "C  ", " D  "}},
        {&kTassinFamily, true, 0, {"A  ", "B", "C  ", " D  "}},
        {&kKorvelFamily, false, 4, {"A  ", "B", "C  ", " D  "}},
    };
    for (const Case& c : cases) {
        TransferHarness h(*c.family);
        for (const char* name : {"A  ", "B", "C  ", " D  "}) h.app.appendRow(h.point(name, 1, 2, 3));
        h.givePort();
        h.app.command(kIdSend);
        h.link.rowsSent = c.sent;
        if (c.cancel)
            h.app.command(kIdSend);
        else
            h.app.transferFinished();
        std::vector<std::string> names;
        for (const PointRecord& p : h.points()) names.push_back(p.name);
        EXPECT_EQ(names, c.names) << c.sent;
        // The list redraws the rows whose names changed.
        std::vector<int> changed;
        for (int row = 0; row < c.sent && c.family == &kTassinFamily; ++row)
            if (row != 1) changed.push_back(row);
        EXPECT_EQ(h.list.changed, changed) << c.sent;
        EXPECT_EQ(h.link.rowsSent, 0);
    }
}

TEST(Transfer, WorkerThatCannotStartEndsLikeAFailedOpen) {
    TransferHarness h;
    h.givePort();
    h.link.failStart = true;
    h.app.command(kIdRecv);
    EXPECT_EQ(h.boxTexts(), (std::vector<std::string>{"system reason", "text16"}));
    EXPECT_EQ(h.closes, 1);
    EXPECT_EQ(h.app.mode(), LinkMode::Idle);
}

TEST(Transfer, SendOfAListTheInstrumentCannotTakeIsRefusedBeforeTheLineIsTouched) {
    TransferHarness big(kKorvelFamily);
    big.app.beginRowBatch();
    for (int i = 0; i < 10000; ++i) big.app.appendRow(big.point("P", i, 0, 0));
    big.app.endRowBatch();
    big.givePort();
    big.app.command(kIdSend);
    EXPECT_EQ(big.boxTexts(), (std::vector<std::string>{"text45"}));
    EXPECT_TRUE(big.link.opened.empty());
    EXPECT_EQ(big.app.mode(), LinkMode::Idle);
    EXPECT_EQ(big.window.caption, "template caption");

    for (const InstrumentFamily* family : instrumentFamilies()) {
        TransferHarness h(*family);
        h.app.appendRow(h.point("OK", 1, 2, 3));
        h.app.appendRow(h.point("FAR", 1e13, 2, 3));
        h.givePort();
        h.app.command(kIdSend);
        EXPECT_EQ(h.boxTexts(), (std::vector<std::string>{"text46"}));
        EXPECT_TRUE(h.link.opened.empty());
        EXPECT_EQ(h.app.mode(), LinkMode::Idle);

        h.app.command(kIdRecv);  // receiving is never refused
        EXPECT_EQ(h.app.mode(), LinkMode::Receiving);
    }
}

// Commands and reports that reach the window while the boxes of an ending
// transfer are up: none starts, cancels or changes anything; About still
// opens. The boxes keep their order: the cause, one warning, then Idle.
TEST(TransferEnding, NothingStartsWhileAFailureIsShown) {
    enum class Cause { Protocol, Platform, OpenFails };
    for (Cause cause : {Cause::Protocol, Cause::Platform, Cause::OpenFails}) {
        for (int running : {int(kIdRecv), int(kIdSend)}) {
            TransferHarness h;
            h.app.appendRow(h.point("P1", 1, 2, 3));
            h.list.rows[0].selected = true;
            if (cause != Cause::OpenFails) h.givePort();
            bool pressed = false;
            h.boxes.whileOpen = [&](const ShownBox& box) {
                if (pressed || box.caption != "Error") return;
                pressed = true;
                for (int id : {running, int(kIdRecv), int(kIdSend), int(kIdImport), int(kIdExport),
                               int(kIdAppend), int(kIdEdit), int(kIdDelete), int(kIdClearAll), int(kIdAbout)})
                    EXPECT_FALSE(h.app.command(id));
                h.app.transferFailed(ProtocolFault::WrongOpening, "");  // a report of the same end
                h.app.transferFinished();
                EXPECT_NE(h.app.mode(), LinkMode::Idle);
            };
            h.app.command(running);
            if (cause == Cause::Protocol) h.app.transferFailed(ProtocolFault::WrongOpening, "");
            if (cause == Cause::Platform) h.app.transferFailed(ProtocolFault::None, "The device is gone.");
            EXPECT_TRUE(pressed);
            ASSERT_EQ(h.boxes.shown.size(), 2u);
            EXPECT_EQ(h.boxes.shown[1].text, "text16");
            EXPECT_EQ(h.app.mode(), LinkMode::Idle);
            EXPECT_EQ(h.list.rows.size(), 1u);
            EXPECT_EQ(h.dialogs.aboutBoxes, 1);
            EXPECT_TRUE(h.files.opens.empty() && h.files.saves.empty());
            EXPECT_EQ(h.dialogs.pointDialogs, 0);
            EXPECT_EQ(h.link.opened.size(), 1u);
            EXPECT_LE(h.link.stops, 1);

            h.givePort();  // the next transfer works
            h.app.command(kIdRecv);
            EXPECT_EQ(h.app.mode(), LinkMode::Receiving);
        }
    }
}

TEST(TransferEnding, NothingNestsInTheCancelWarning) {
    TransferHarness h;
    h.givePort();
    h.app.command(kIdRecv);
    h.boxes.whileOpen = [&](const ShownBox&) {
        EXPECT_FALSE(h.app.command(kIdRecv));  // Cancel again
        h.app.transferFailed(ProtocolFault::None, "late");       // the worker's report, posted before it stopped
        h.app.transferFinished();
    };
    h.app.command(kIdRecv);
    EXPECT_EQ(h.boxTexts(), (std::vector<std::string>{"text16"}));
    EXPECT_EQ(h.link.stops, 1);
    EXPECT_EQ(h.closes, 1);
    EXPECT_EQ(h.app.mode(), LinkMode::Idle);
}

// A Cancel that meets the normal end changes nothing: the user sees only
// the end box, whichever of the two the window handles first.
TEST(TransferEnding, ACancelThatMeetsTheNormalEndShowsOnlyTheEndBox) {
    for (bool cancelFirst : {false, true}) {
        for (int running : {int(kIdRecv), int(kIdSend)}) {
            TransferHarness h;
            h.givePort();
            h.app.command(running);
            h.link.finishedNormally = true;
            h.boxes.whileOpen = [&](const ShownBox&) {
                if (cancelFirst) h.app.transferFinished();  // its report, handled inside the box
                else EXPECT_FALSE(h.app.command(running));
            };
            if (cancelFirst) h.app.command(running);
            else h.app.transferFinished();
            EXPECT_EQ(h.boxTexts(), (std::vector<std::string>{running == kIdRecv ? "text19" : "text20"}))
                << cancelFirst;
            EXPECT_EQ(h.boxes.shown[0].caption, "Message");
            EXPECT_EQ(h.app.mode(), LinkMode::Idle);
            EXPECT_FALSE(h.app.transferRunning());
        }
    }
}

// What each command does by link mode: during a transfer only its own
// button, About and Close act, however the command arrives.
TEST(TransferEnding, CommandsActOnlyWhereTheirControlsAreEnabled) {
    const int ids[] = {kIdImport, kIdExport, kIdRecv, kIdSend, kIdAppend, kIdDelete, kIdEdit, kIdClearAll, kIdAbout};
    for (int mode : {int(kIdRecv), int(kIdSend), 0}) {
        for (int id : ids) {
            TransferHarness h;
            h.app.appendRow(h.point("P1", 1, 2, 3));
            h.list.rows[0].selected = true;
            if (mode) {
                h.givePort();
                h.app.command(mode);
            }
            const LinkMode before = h.app.mode();
            const std::size_t rows = h.list.rows.size(), opened = h.link.opened.size();
            h.app.command(id);
            bool acted = h.files.opens.size() + h.files.saves.size() + h.dialogs.pointDialogs +
                             h.dialogs.aboutBoxes > 0 ||
                         h.list.rows.size() != rows || h.app.mode() != before || h.link.opened.size() != opened;
            bool expected = mode == 0 || id == mode || id == kIdAbout;
            EXPECT_EQ(acted, expected) << "mode " << mode << " command " << id;
        }
    }
}

}  // namespace
