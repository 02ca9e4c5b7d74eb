// How the point-list operations treat the list's storage: records outlive
// their rows, a row the list cannot add gives its record back, and Import
// tells the list how many rows are coming.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "fakes/AppFakes.h"

namespace {

// A list view that looks at the record of every row it removes (under the
// address sanitizer a record destroyed too early is caught there), can be
// told to refuse rows, and remembers the row count hints it got.
class WatchfulList : public FakeListView {
public:
    int insertRowShowing(PointRecord* record, bool selected, bool focused, const CellTexts& texts) override {
        if (refuseNext) {
            refuseNext = false;
            return -1;
        }
        return PointListView::insertRowShowing(record, selected, focused, texts);
    }
    void reserveRows(int count) override { hints.push_back(count); }
    void deleteRow(int row) override {
        namesSeen += rows.at(row).record->name;
        FakeListView::deleteRow(row);
    }
    void deleteAllRows() override {
        for (const FakeRow& row : rows) namesSeen += row.record->name;
        FakeListView::deleteAllRows();
    }

    bool refuseNext = false;
    std::vector<int> hints;
    std::string namesSeen;
};

struct ListHarness {
    explicit ListHarness(Model model) : app(model) { app.attach(platform); }

    IdTextTable texts;
    RecordingBoxes boxes;
    FakeWindow window;
    WatchfulList list;
    FakeDialogs dialogs;
    FakeFileDialogs files;
    FakeLinkPlatform link;
    Platform platform{texts, boxes, window, list, dialogs, files, link};
    AppState app;

    PointRecord* point(const char* name) {
        auto* p = new PointRecord;
        p->setName(name);
        return p;
    }
};

TEST(ListStorage, RowsGoBeforeTheirRecords) {
    ListHarness h(Model::Korvel);
    for (const char* name : {"A", "B", "C"}) h.app.appendRow(h.point(name));
    h.app.deleteSelected();  // C, the last added
    h.app.clearAll();
    EXPECT_EQ(h.list.namesSeen, "CAB");
    EXPECT_EQ(h.list.rowCount(), 0);
}

TEST(ListStorage, ARowTheListRefusesGivesItsRecordBack) {
    // Leak checking of the sanitizer run tells whether the refused record is
    // destroyed; the rows around it are unaffected.
    for (Model model : {Model::Korvel, Model::Tassin}) {
        ListHarness h(model);
        h.app.appendRow(h.point("A"));
        h.list.refuseNext = true;
        h.app.pointArrived(h.point("LOST"));
        ASSERT_EQ(h.list.rowCount(), 1);
        EXPECT_TRUE(h.list.rows[0].selected);

        h.app.beginRowBatch();
        h.app.pointArrived(h.point("B"));
        h.list.refuseNext = true;
        h.app.pointArrived(h.point("LOST"));
        h.app.endRowBatch();
        ASSERT_EQ(h.list.rowCount(), 2);
        EXPECT_EQ(std::string(h.list.rows[1].record->name), "B");
        EXPECT_TRUE(h.list.rows[1].selected);
        EXPECT_FALSE(h.list.rows[0].selected);
    }
}

TEST(ListStorage, ImportTellsTheListHowManyRowsAreComing) {
    ListHarness h(Model::Korvel);
    namespace fs = std::filesystem;
    fs::path file = fs::temp_directory_path() / "ruvo-list-storage-hint.pts";
    std::ofstream(file, std::ios::binary) << "P1,1,2,3,M\r\nP2,1,2,3,M\r\n\r\nP4,1,2,3,M";
    h.files.picks.push_back({true, file.string(), 2});
    h.app.importFile();
    fs::remove(file);
    EXPECT_EQ(h.list.hints, std::vector<int>{4});
    EXPECT_EQ(h.list.rowCount(), 4);
}

}  // namespace
