// How the point-list operations treat the store behind the list: the list
// hears of a change only once the store has made it, a point the store
// cannot take leaves list and selection as they were, Import hands its rows
// over in batches, and Delete and Edit reach exactly the row they name.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "fakes/AppFakes.h"

namespace {

using Cells = std::vector<std::string>;

// A list view that, whenever it hears of a change, looks at what it would
// show next: every row it still knows must be one the store holds.
class WatchfulList : public FakeListView {
public:
    void rowRemoved(std::size_t row) override {
        FakeListView::rowRemoved(row);
        checkRows("removal");
    }
    void allRemoved() override {
        FakeListView::allRemoved();
        checkRows("clearing");
    }
    void rowChanged(std::size_t row) override {
        FakeListView::rowChanged(row);
        EXPECT_LT(row, store->size());
        shownAfterChange.push_back(cells(static_cast<int>(row)));
    }
    void checkRows(const char* what) {
        ASSERT_EQ(rows.size(), store->size()) << what;
        for (std::size_t row = 0; row < rows.size(); ++row) namesSeen += record(static_cast<int>(row)).name;
        namesSeen += '|';
    }

    std::string namesSeen;
    std::vector<Cells> shownAfterChange;
};

struct ListHarness {
    explicit ListHarness(const InstrumentFamily& family) : app(family) { app.attach(platform); }

    IdTextTable texts;
    RecordingBoxes boxes;
    FakeWindow window;
    WatchfulList list;
    FakeDialogs dialogs;
    FakeFileDialogs files;
    FakeLinkPlatform link;
    Platform platform{texts, boxes, window, list, dialogs, files, files, link};
    AppState app;

    static PointRecord point(const char* name) { return makePoint(name, "", 0, 0, 0); }
    PointStore& store() { return AppStateTestAccess::points(app); }
};

TEST(ListStorage, TheListHearsOfARemovalOnceTheStoreHasMadeIt) {
    ListHarness h(kKorvelFamily);
    for (const char* name : {"A", "B", "C"}) h.app.appendRow(h.point(name));
    h.app.deleteSelected();  // C, the last added
    h.app.clearAll();
    EXPECT_EQ(h.list.namesSeen, "|AB||");  // the first clearing is the window's opening
    EXPECT_EQ(h.list.rows.size(), 0u);
}

TEST(ListStorage, APointTheStoreCannotTakeLeavesListAndSelectionAsTheyWere) {
    for (const InstrumentFamily* family : instrumentFamilies()) {
        ListHarness h(*family);
        h.app.appendRow(h.point("A"));
        h.store().setRowLimit(1);
        bool wasModified = h.app.modified();
        EXPECT_FALSE(h.app.appendRow(h.point("LOST")));
        EXPECT_FALSE(h.app.insertFrameRow(h.point("LOST")));
        ASSERT_EQ(h.list.rows.size(), 1u);
        EXPECT_TRUE(h.list.rows[0].selected);
        EXPECT_EQ(h.app.modified(), wasModified);

        h.store().setRowLimit(2);
        h.app.beginRowBatch();
        h.app.appendRow(h.point("B"));
        EXPECT_FALSE(h.app.appendRow(h.point("LOST")));
        h.app.endRowBatch();
        ASSERT_EQ(h.list.rows.size(), 2u);
        EXPECT_STREQ(h.list.record(1).name, "B");
        EXPECT_TRUE(h.list.rows[1].selected);
        EXPECT_FALSE(h.list.rows[0].selected);
    }
}

TEST(ListStorage, ImportHandsItsRowsOverInBatches) {
    ListHarness h(kKorvelFamily);
    namespace fs = std::filesystem;
    fs::path file = fs::temp_directory_path() / "ruvo-list-storage-batches.pts";
    {
        std::ofstream out(file, std::ios::binary);
        for (int i = 0; i < 600; ++i) out << "P" << i << ",1,2,3,M\r\n";
    }
    h.files.picks.push_back({true, file.string(), 2});
    h.app.importFile();
    fs::remove(file);
    EXPECT_EQ(h.list.rows.size(), 600u);
    EXPECT_EQ(h.list.additions, 3);  // 256, 256 and 88 rows
    EXPECT_EQ(h.list.cells(599), (Cells{"P599", "M", "1.000", "2.000", "3.000"}));
    EXPECT_EQ(h.list.firstSelected(), 599);
}

TEST(ListStorage, DeleteAndEditReachTheFirstMiddleAndLastRowOfALargeList) {
    constexpr int kRows = 100000;
    for (int target : {0, kRows / 2, kRows - 1}) {
        ListHarness h(kTassinFamily);
        h.app.beginRowBatch();
        for (int i = 0; i < kRows; ++i) h.app.insertFrameRow(makePoint(("P" + std::to_string(i)).c_str(), "", i, 0, 0));
        h.app.endRowBatch();

        // Edit: the dialog works on the row's point; only that row changes.
        h.list.setSelected(kRows - 1, false);
        h.list.setSelected(target, true);
        h.list.visible.clear();
        h.dialogs.answers.push_back({true, [](PointRecord& p) { p.setMark("EDITED"); }});
        h.app.editSelected();
        EXPECT_EQ(h.list.changed, std::vector<int>{target});
        EXPECT_EQ(h.list.shownAfterChange.at(0)[1], "EDITED");
        EXPECT_EQ(h.list.visible, (std::vector<std::pair<int, bool>>{{target, true}}));
        EXPECT_STREQ(h.list.record(target == 0 ? 1 : 0).mark, "");

        // Delete: the row goes, the rows after it move up, nothing is selected.
        h.app.deleteSelected();
        ASSERT_EQ(h.list.rows.size(), static_cast<std::size_t>(kRows - 1));
        EXPECT_EQ(h.list.firstSelected(), -1);
        if (target < kRows - 1) {
            EXPECT_EQ(h.list.cells(target)[0], "P" + std::to_string(target + 1));
        }
        EXPECT_EQ(h.list.cells(kRows - 2)[0], target == kRows - 1 ? "P99998" : "P99999");
        EXPECT_EQ(h.list.cells(0)[0], target == 0 ? "P1" : "P0");
    }
}

}  // namespace
