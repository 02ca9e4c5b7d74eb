// The main window's state logic: link modes, the point list operations and
// their selection effects, the modified flag, and command dispatch.
#include <gtest/gtest.h>

#include "fakes/AppFakes.h"

namespace {

using Cells = std::vector<std::string>;

TEST(MainWindowStart, ColumnsFollowTheBuildsOrder) {
    AppHarness korvel(kKorvelFamily);
    EXPECT_EQ(korvel.list.headers, (Cells{"text1", "text2", "text4", "text3", "text5"}));
    EXPECT_EQ(korvel.list.widths, (std::vector<int>{65, 65, 145, 145, 145}));
    AppHarness tassin(kTassinFamily);
    EXPECT_EQ(tassin.list.headers, (Cells{"text1", "text2", "text3", "text4", "text5"}));
    // Opening leaves the template's caption and labels alone.
    EXPECT_EQ(korvel.window.caption, "template caption");
    EXPECT_TRUE(korvel.window.texts.empty());
    EXPECT_FALSE(korvel.app.modified());
}

TEST(LinkMode, EnablesLabelsAndCaptionByMode) {
    AppHarness h(kKorvelFamily);
    const int editing[] = {kIdAppend, kIdDelete, kIdEdit, kIdClearAll, kIdPortBox, kIdImport, kIdExport};
    struct Case {
        LinkMode mode;
        bool editingEnabled, recv, send;
        const char* recvLabel;
        const char* sendLabel;
    } cases[] = {
        {LinkMode::Receiving, false, true, false, "text8", "text9"},
        {LinkMode::Sending, false, false, true, "text10", "text8"},
        {LinkMode::Idle, true, true, true, "text10", "text9"},
    };
    for (const Case& c : cases) {
        h.window.caption = "worker title";
        h.app.setLinkMode(c.mode);
        EXPECT_EQ(h.app.mode(), c.mode);
        for (int id : editing) EXPECT_EQ(h.window.enabled[id], c.editingEnabled) << id;
        EXPECT_EQ(h.window.enabled[kIdRecv], c.recv);
        EXPECT_EQ(h.window.enabled[kIdSend], c.send);
        EXPECT_EQ(h.window.texts[kIdRecv], c.recvLabel);
        EXPECT_EQ(h.window.texts[kIdSend], c.sendLabel);
        EXPECT_EQ(h.window.caption, c.mode == LinkMode::Idle ? "text7" : "worker title");
        // About, Close and the list are never switched.
        EXPECT_EQ(h.window.enabled.count(kIdAbout) + h.window.enabled.count(kIdClose) +
                      h.window.enabled.count(kIdList), 0u);
    }
}

TEST(PointList, RowTextsPutEachNumberUnderItsHeader) {
    AppHarness korvel(kKorvelFamily), tassin(kTassinFamily);
    korvel.app.appendRow(korvel.point("P1", 1, 2, 3, "TREE"));
    tassin.app.appendRow(tassin.point("P1", 1, 2, 3, "TREE"));
    EXPECT_EQ(korvel.list.cells(0), (Cells{"P1", "TREE", "2.000", "1.000", "3.000"}));
    EXPECT_EQ(tassin.list.cells(0), (Cells{"P1", "TREE", "1.000", "2.000", "3.000"}));

    korvel.app.appendRow(korvel.point("ABCDEFGHI", -12.5, 0, 1.23456, "ABCDEFGHIJKLM"));
    EXPECT_EQ(korvel.list.cells(1), (Cells{"ABCDEFGHI", "ABCDEFGHIJKLM", "0.000", "-12.500", "1.235"}));
}

TEST(PointList, AppendRowSelectsFocusesAndShowsTheNewLastRow) {
    AppHarness h(kKorvelFamily);
    h.app.appendRow(h.point("A", 0, 0, 0));
    ASSERT_EQ(h.list.rows.size(), 1u);
    EXPECT_TRUE(h.list.rows[0].selected && h.list.rows[0].focused);
    EXPECT_TRUE(h.app.modified());

    h.list.rows[0].selected = true;
    h.app.appendRow(h.point("B", 0, 0, 0));
    EXPECT_FALSE(h.list.rows[0].selected);
    EXPECT_TRUE(h.list.rows[1].selected && h.list.rows[1].focused);
    EXPECT_EQ(h.list.visible.back(), std::make_pair(1, true));
}

TEST(PointList, ARowChosenElsewhereIsSelectedFocusedAndShownAsAClickMakesIt) {
    AppHarness h(kKorvelFamily);
    for (const char* name : {"A", "B", "C"}) h.app.appendRow(h.point(name, 0, 0, 0));
    bool wasModified = h.app.modified();
    h.list.rows[0].selected = true;  // a second selection, as a list could hold
    h.app.chooseRow(1);
    EXPECT_FALSE(h.list.rows[0].selected || h.list.rows[2].selected);
    EXPECT_TRUE(h.list.rows[1].selected && h.list.rows[1].focused);
    EXPECT_EQ(h.list.visible.back(), std::make_pair(1, false)) << "wholly in view";
    EXPECT_EQ(h.app.modified(), wasModified);

    std::size_t shown = h.list.visible.size();
    for (int row : {-1, 3, 99}) h.app.chooseRow(row);
    EXPECT_TRUE(h.list.rows[1].selected) << "no such row: nothing changes";
    EXPECT_EQ(h.list.visible.size(), shown);
}

TEST(PointList, InsertFrameRowSelectsWithoutFocusAndLeavesModified) {
    AppHarness h(kTassinFamily);
    h.app.appendRow(h.point("A", 0, 0, 0));
    h.app.clearAll();
    h.app.pointArrived(h.point("B", 1, 2, 3));  // entered as Tassin enters it
    h.app.pointArrived(h.point("C", 1, 2, 3));
    EXPECT_FALSE(h.list.rows[0].selected);
    EXPECT_TRUE(h.list.rows[1].selected);
    EXPECT_FALSE(h.list.rows[1].focused);
    EXPECT_EQ(h.list.visible.back(), std::make_pair(1, false));
    EXPECT_TRUE(h.app.modified());  // still the value the Append left

    AppHarness fresh(kTassinFamily);
    fresh.app.pointArrived(fresh.point("B", 1, 2, 3));
    EXPECT_FALSE(fresh.app.modified());

    AppHarness korvel(kKorvelFamily);
    korvel.app.pointArrived(korvel.point("B", 1, 2, 3));  // entered as Korvel enters it: sets it
    EXPECT_TRUE(korvel.app.modified());
    EXPECT_TRUE(korvel.list.rows[0].focused);
}

TEST(PointList, BatchEndsInTheSameStateAsSingleRows) {
    for (const InstrumentFamily* family : instrumentFamilies()) {
        AppHarness single(*family), batched(*family);
        for (AppHarness* h : {&single, &batched}) {
            h->app.appendRow(h->point("OLD", 0, 0, 0));
            h->list.searches = 0;
        }
        for (int i = 0; i < 50; ++i) single.app.pointArrived(single.point("P", i, 0, 0));
        batched.app.beginRowBatch();
        for (int i = 0; i < 50; ++i) batched.app.pointArrived(batched.point("P", i, 0, 0));
        EXPECT_EQ(batched.list.batches, 1);
        batched.app.endRowBatch();
        EXPECT_EQ(batched.list.batches, 0);

        ASSERT_EQ(single.list.rows.size(), batched.list.rows.size());
        for (std::size_t i = 0; i < single.list.rows.size(); ++i) {
            EXPECT_EQ(single.list.cells(i), batched.list.cells(i));
            EXPECT_EQ(single.list.rows[i].selected, batched.list.rows[i].selected) << i;
            EXPECT_EQ(single.list.rows[i].focused, batched.list.rows[i].focused) << i;
        }
        EXPECT_EQ(single.list.visible.back(), batched.list.visible.back());
        // A batch looks for the selected row once, not once per row.
        EXPECT_LE(batched.list.searches, 2);
        EXPECT_GE(single.list.searches, 50);
    }
}

TEST(PointList, DeleteAndClearGiveBackRecordsAndLeaveModified) {
    AppHarness h(kKorvelFamily);
    h.app.deleteSelected();  // nothing selected, nothing happens
    h.app.clearAll();        // empty list
    EXPECT_TRUE(h.list.rows.empty());

    h.app.appendRow(h.point("A", 0, 0, 0));
    h.app.appendRow(h.point("B", 0, 0, 0));
    h.app.appendRow(h.point("C", 0, 0, 0));
    h.list.rows[2].selected = false;
    h.list.rows[1].selected = true;
    h.app.deleteSelected();
    ASSERT_EQ(h.list.rows.size(), 2u);
    EXPECT_STREQ(h.list.record(1).name, "C");
    EXPECT_TRUE(h.app.modified());

    // A selected row the store does not hold: the list and the store keep
    // the rows they have, and the selection goes.
    h.list.rows.push_back({true, false});
    h.app.deleteSelected();
    EXPECT_EQ(h.points().size(), 2u);
    EXPECT_EQ(h.list.firstSelected(), -1);

    h.app.clearAll();
    EXPECT_TRUE(h.list.rows.empty());
    EXPECT_TRUE(h.app.modified());
}

TEST(Commands, DispatchOnTheControlIdAlone) {
    AppHarness h(kKorvelFamily);
    EXPECT_TRUE(h.app.command(kIdClose));
    for (int id : {int(kIdCancelKey), int(kIdPortBox), 1007, 9999}) EXPECT_FALSE(h.app.command(id));
    EXPECT_EQ(h.window.caption, "template caption");
    EXPECT_TRUE(h.boxes.shown.empty());
    h.app.command(kIdAbout);
    EXPECT_EQ(h.dialogs.aboutBoxes, 1);
}

TEST(TransferEnd, ShowsTheEndTextByModeThenGoesIdle) {
    struct Case {
        LinkMode mode;
        const char* text;
    } cases[] = {{LinkMode::Receiving, "text19"}, {LinkMode::Sending, "text20"}, {LinkMode::Idle, "text20"}};
    for (const Case& c : cases) {
        AppHarness h(kKorvelFamily);
        h.app.setLinkMode(c.mode);
        h.app.transferFinished();
        ASSERT_EQ(h.boxes.shown.size(), 1u);
        EXPECT_EQ(h.boxes.shown[0].text, c.text);
        EXPECT_EQ(h.boxes.shown[0].caption, "Message");
        EXPECT_EQ(h.boxes.shown[0].icon, BoxIcon::Information);
        EXPECT_EQ(h.boxes.shown[0].owner, BoxOwner::MainWindow);
        EXPECT_EQ(h.app.mode(), LinkMode::Idle);
        EXPECT_EQ(h.window.caption, "text7");
    }
}

TEST(PointEditing, AppendAddsOnOkAndDropsTheRecordOnCancel) {
    AppHarness h(kTassinFamily);
    h.dialogs.answers.push_back({false, [](PointRecord& p) { p.setName("X"); }});
    h.app.command(kIdAppend);
    EXPECT_TRUE(h.list.rows.empty());
    EXPECT_FALSE(h.app.modified());

    h.dialogs.answers.push_back({true, [](PointRecord& p) {
                                     p.setName("P9");
                                     p.n = 1;
                                     p.e = 2;
                                 }});
    h.app.command(kIdAppend);
    ASSERT_EQ(h.list.rows.size(), 1u);
    EXPECT_EQ(h.list.cells(0), (Cells{"P9", "", "1.000", "2.000", "0.000"}));
    EXPECT_TRUE(h.list.rows[0].selected && h.list.rows[0].focused);
    EXPECT_TRUE(h.app.modified());
}

TEST(PointEditing, AppendWithoutRoomSaysSoAndChangesNothing) {
    AppHarness h(kKorvelFamily);
    AppStateTestAccess::points(h.app).setRowLimit(0);
    h.dialogs.answers.push_back({true, [](PointRecord& p) { p.setName("P1"); }});
    h.app.command(kIdAppend);
    EXPECT_TRUE(h.list.rows.empty());
    EXPECT_FALSE(h.app.modified());
    ASSERT_EQ(h.boxes.texts(), (Cells{"text48"}));
    EXPECT_EQ(h.boxes.shown[0].caption, "Error");
}

TEST(PointEditing, EditRewritesOnlyTheSelectedRowOnOk) {
    AppHarness h(kKorvelFamily);
    h.app.command(kIdEdit);  // no rows: no dialog
    EXPECT_EQ(h.dialogs.pointDialogs, 0);

    h.app.appendRow(h.point("A", 1, 1, 1));
    h.app.appendRow(h.point("B", 2, 2, 2));
    h.list.rows[1].selected = false;
    h.list.rows[0].selected = true;

    // A cancelled edit leaves the row's texts alone.
    h.dialogs.answers.push_back({false, nullptr});
    h.app.command(kIdEdit);
    EXPECT_EQ(h.list.cells(0), (Cells{"A", "", "1.000", "1.000", "1.000"}));
    AppStateTestAccess::points(h.app).replace(0, AppHarness::point("A", 7, 1, 1));

    h.dialogs.answers.push_back({true, [](PointRecord& p) { p.e = 5; }});
    h.app.command(kIdEdit);
    EXPECT_EQ(h.list.cells(0), (Cells{"A", "", "5.000", "7.000", "1.000"}));
    EXPECT_EQ(h.list.cells(1), (Cells{"B", "", "2.000", "2.000", "2.000"}));

    // Edit leaves the modified flag as it found it.
    AppHarness clean(kKorvelFamily);
    clean.app.pointArrived(clean.point("A", 0, 0, 0));
    clean.app.command(kIdExport);  // no file chosen: nothing changes
    clean.list.rows[0].selected = true;
    clean.dialogs.answers.push_back({true, nullptr});
    bool before = clean.app.modified();
    clean.app.command(kIdEdit);
    EXPECT_EQ(clean.app.modified(), before);
}

}  // namespace
