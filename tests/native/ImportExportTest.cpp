// Import and Export through the file dialogs: questions, names, line ends,
// row numbers, the modified flag, and failures that must lose nothing.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "app/FileFilter.h"
#include "fakes/FileHarness.h"
#include "files/ExchangeFormat.h"
#include "files/FileBeside.h"
#include "files/PointFile.h"

namespace {

using Cells = std::vector<std::string>;

TEST(FileFilter, ListsTheFiveFormatsInOrder) {
    IdTextTable texts;
    using namespace std::string_literals;
    std::string expected = "text22(*.ruvo)\0*.ruvo\0text23(*.pts)\0*.pts\0text24(*.svf)\0*.svf\0"s +
                           "text25(*.dat)\0*.dat\0text26(*.dat)\0*.dat\0\0"s;
    EXPECT_EQ(buildFileFilter(texts), expected);
}

TEST(ExportName, AppendsTheExtensionOnlyWhenTheFileNameHasNoPoint) {
    EXPECT_EQ(exportFileName("C:\\work\\points", 8, ".svf"), "C:\\work\\points.svf");
    EXPECT_EQ(exportFileName("C:\\work\\points.txt", 8, ".svf"), "C:\\work\\points.txt");
    EXPECT_EQ(exportFileName("C:\\job.2024\\points", 12, ".dat"), "C:\\job.2024\\points.dat");
}

TEST(Import, EveryLineBecomesARowAfterTheOldOnes) {
    FileHarness h;
    h.app.appendRow(h.point("OLD", 0, 0, 0));
    h.files.picks.push_back({false, "", 1});
    h.app.importFile();  // OK at the question, then Cancel in the dialog
    EXPECT_EQ(h.boxes.texts(), (Cells{"text18"}));
    EXPECT_EQ(h.boxes.shown[0].caption, "Warning");
    EXPECT_EQ(h.boxes.shown[0].buttons, BoxButtons::OkCancel);
    EXPECT_TRUE(h.app.modified());

    h.write("a.pts", "P1,200.25,100.5,3,TREE\r\n\r\nP2,1,2,3,M\nP3,4,5,6");
    h.importAs("a.pts", 2);
    ASSERT_EQ(h.list.rows.size(), 5u);
    EXPECT_EQ(h.list.cells(1), (Cells{"P1", "TREE", "200.250", "100.500", "3.000"}));
    EXPECT_EQ(h.list.cells(2), (Cells{"", "", "0.000", "0.000", "0.000"}));  // the blank line
    EXPECT_EQ(h.list.cells(4), (Cells{"P3", "", "4.000", "5.000", "6.000"}));  // E before N
    EXPECT_TRUE(h.list.rows[4].selected && h.list.rows[4].focused);
    EXPECT_FALSE(h.list.rows[0].selected);
    EXPECT_FALSE(h.app.modified());
    EXPECT_EQ(h.files.opens, (Cells{"", ""}));  // each Open dialog starts empty

    EXPECT_EQ(h.boxes.shown.size(), 2u);  // asked again: still unsaved then

    // Unmodified now: the next import asks nothing.
    h.write("empty.pts", "");
    h.importAs("empty.pts", 2);
    EXPECT_EQ(h.boxes.shown.size(), 2u);
    EXPECT_EQ(h.list.rows.size(), 5u);
}

TEST(Import, AnEmptyFileLeavesTheSelectionWhereItWas) {
    for (const InstrumentFamily* family : instrumentFamilies()) {
        FileHarness h(*family);
        for (const char* name : {"A", "B", "C"}) h.app.appendRow(h.point(name, 0, 0, 0));
        h.list.setSelected(2, false);
        h.list.setSelected(0, true);
        h.write("empty.pts", "");
        h.importAs("empty.pts", 2);  // OK at the question: the list was modified
        EXPECT_EQ(h.boxes.texts(), (Cells{"text18"}));
        ASSERT_EQ(h.list.rows.size(), 3u);
        EXPECT_TRUE(h.list.rows[0].selected);
        EXPECT_FALSE(h.list.rows[1].selected || h.list.rows[2].selected);
        EXPECT_TRUE(h.list.rows[2].focused);  // the focus stays too
        EXPECT_FALSE(h.app.modified());
    }
}

TEST(Import, AStoreWithoutRoomKeepsTheRowsItHasAndSaysSo) {
    for (const InstrumentFamily* family : instrumentFamilies()) {
        FileHarness h(*family);
        h.app.appendRow(h.point("OLD", 0, 0, 0));
        std::string lines;
        for (int i = 0; i < 1000; ++i) lines += "P" + std::to_string(i) + ",1,2,3,M\r\n";
        h.write("many.pts", lines);
        AppStateTestAccess::points(h.app).setRowLimit(301);
        h.importAs("many.pts", 2);
        ASSERT_EQ(h.boxes.texts(), (Cells{"text18", "text48"}));
        EXPECT_EQ(h.boxes.shown[1].caption, "Error");
        EXPECT_EQ(h.boxes.shown[1].icon, BoxIcon::Error);
        // The rows that found room are there, the last of them selected.
        ASSERT_EQ(h.list.rows.size(), 301u);
        EXPECT_EQ(h.list.cells(300)[0], "P299");
        EXPECT_EQ(h.list.firstSelected(), 300);
        EXPECT_TRUE(h.app.modified());

        // With room again the program goes on as before.
        AppStateTestAccess::points(h.app).setRowLimit(PointStore::kMaxRows);
        h.importAs("many.pts", 2);
        EXPECT_EQ(h.list.rows.size(), 1301u);
        EXPECT_FALSE(h.app.modified());
    }
}

TEST(Import, LongLinesArriveInPiecesOf1023) {
    FileHarness h(kTassinFamily);
    h.write("long.svf", std::string(1500, 'x') + "\r\n" + std::string(1023, 'y') + "\n");
    h.importAs("long.svf", 3);
    // 1023 x, 477 x with the LF, 1023 y, and the LF that did not fit.
    EXPECT_EQ(h.list.rows.size(), 4u);
}

TEST(Import, ACtrlZEndsTheFile) {
    FileHarness h;
    h.write("old.pts", "P1,1,2,3,A\r\nP2,4,5,6,B\x1A\r\nGARBAGE,7,8,9,C\r\n");
    h.importAs("old.pts", 2);
    ASSERT_EQ(h.list.rows.size(), 2u);
    EXPECT_EQ(h.list.cells(1), (Cells{"P2", "B", "4.000", "5.000", "6.000"}));
    EXPECT_FALSE(h.app.modified());
    EXPECT_TRUE(h.boxes.shown.empty());
}

TEST(Import, RefusesWhatItCannotReadAndKeepsTheList) {
    FileHarness h;
    h.app.appendRow(h.point("OLD", 0, 0, 0));
    h.importAs("missing.pts", 2);
    ASSERT_EQ(h.boxes.shown.size(), 2u);  // the question, then the failure
    EXPECT_EQ(h.boxes.shown[1].caption, "Error");
    EXPECT_EQ(h.boxes.shown[1].text, "text40");
    EXPECT_EQ(h.list.rows.size(), 1u);
    EXPECT_TRUE(h.app.modified());

    h.write("a.pts", "P1,1,2,3\n");
    h.importAs("a.pts", 0);  // the user's own pattern names no format
    EXPECT_EQ(h.boxes.shown.back().text, "text43");
    EXPECT_EQ(h.list.rows.size(), 1u);
    EXPECT_TRUE(h.app.modified());
}

TEST(Export, WritesEveryRowWithCrLfAndRowNumbersAndClearsModified) {
    FileHarness h;
    h.app.appendRow(h.point("P1", 100.5, 200.25, 3, "TREE"));
    h.app.appendRow(h.point("P2", -0.5, 0, 1));
    h.exportAs("out", 3);
    EXPECT_EQ(h.read("out.svf"), "1,P1,TREE,100.5000,200.2500,3.0000\r\n2,P2,,-0.5000,0.0000,1.0000\r\n");
    EXPECT_FALSE(h.app.modified());
    EXPECT_EQ(h.names(), (Cells{"out.svf"}));  // the file written beside it is gone

    h.exportAs("out.txt", 1);
    EXPECT_EQ(h.read("out.txt"),
              "P1     TREE   00000100.50000000200.25000000003.000\r\n"
              "P2            -0000000.50000000000.00000000001.000\r\n");
    // The Save dialog starts with the name chosen last.
    EXPECT_EQ(h.files.saves.back(), h.path("out"));

    FileHarness empty;
    empty.write("old.pts", "P9,1,2,3,M\r\n");
    empty.exportAs("old.pts", 2);  // replaced without a question
    EXPECT_EQ(empty.read("old.pts"), "");
    EXPECT_TRUE(empty.boxes.shown.empty());
}

TEST(Export, RefusesAPointTheFormatCannotHoldAndLeavesTheFileAlone) {
    FileHarness h;
    h.write("keep.ruvo", "old contents\r\n");
    h.app.appendRow(h.point("NEAR", 1, 2, 3));
    h.app.appendRow(h.point("FAR", 1e8, 2, 3));
    h.exportAs("keep.ruvo", 1);
    EXPECT_EQ(h.boxes.texts(), (Cells{"text44"}));
    EXPECT_EQ(h.read("keep.ruvo"), "old contents\r\n");
    EXPECT_TRUE(h.app.modified());

    h.exportAs("keep.pts", 2);  // the comma formats hold it
    EXPECT_EQ(h.read("keep.pts"), "NEAR,2.0000,1.0000,3.0000,\r\nFAR,2.0000,100000000.0000,3.0000,\r\n");
    EXPECT_FALSE(h.app.modified());
}

TEST(Export, AFailureReportsItselfAndKeepsTheOldFileAndModified) {
    FileHarness h;
    h.write("keep.pts", "old contents\r\n");
    h.app.appendRow(h.point("P1", 1, 2, 3));
    h.files.failReplace = true;
    h.exportAs("keep.pts", 2);
    ASSERT_EQ(h.boxes.shown.size(), 1u);
    EXPECT_EQ(h.boxes.shown[0].caption, "Error");
    EXPECT_EQ(h.boxes.shown[0].text, "text41");
    EXPECT_EQ(h.read("keep.pts"), "old contents\r\n");
    EXPECT_EQ(h.names(), (Cells{"keep.pts"}));
    EXPECT_TRUE(h.app.modified());

    h.files.failReplace = false;
    h.exportAs("no-such-folder/out.pts", 2);
    EXPECT_EQ(h.boxes.shown.size(), 2u);
    EXPECT_TRUE(h.app.modified());
}

// Export writes a file of its own and then replaces the target: every other
// file keeps its bytes, whatever its name, and no file is opened that
// already exists.
TEST(Export, ReplacesItsTargetAndNothingElse) {
    FileHarness h;
    const Cells neighbours = {"keep.pts.writing", "keep.pts.tmp", "keep.pts~", "~keep.pts", "keep.pts.bak",
                              "keep.bak", "keep.tmp", "~$keep.pts", ".keep.pts.swp", "keep.pts.new"};
    for (const std::string& name : neighbours) h.write(name, "user's " + name);
    h.write("keep.pts", "old contents\r\n");
    h.app.appendRow(h.point("P1", 1, 2, 3));
    h.exportAs("keep.pts", 2);
    EXPECT_TRUE(h.boxes.shown.empty());
    EXPECT_EQ(h.read("keep.pts"), "P1,2.0000,1.0000,3.0000,\r\n");
    for (const std::string& name : neighbours) EXPECT_EQ(h.read(name), "user's " + name);
    Cells expected = neighbours;
    expected.push_back("keep.pts");
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(h.names(), expected);
    ASSERT_EQ(h.files.replaced.size(), 1u);
    EXPECT_EQ(h.files.replaced[0].first, h.files.created.back());
    EXPECT_EQ(folderOf(h.files.replaced[0].first), folderOf(h.path("keep.pts")));
    EXPECT_FALSE(h.app.modified());
}

TEST(Export, ATakenNameIsNeverOpenedAnotherIsTried) {
    FileHarness h;
    h.app.appendRow(h.point("P1", 1, 2, 3));
    h.files.takenNames = 3;
    h.exportAs("out.pts", 2);
    EXPECT_TRUE(h.boxes.shown.empty());
    ASSERT_EQ(h.files.created.size(), 4u);
    EXPECT_EQ(std::set<std::string>(h.files.created.begin(), h.files.created.end()).size(), 4u);
    EXPECT_EQ(h.read("out.pts"), "P1,2.0000,1.0000,3.0000,\r\n");
    EXPECT_EQ(h.names(), (Cells{"out.pts"}));

    // Every name taken, or the folder refusing a new file: nothing changes.
    struct Case {
        int taken;
        bool refuse;
        std::size_t tries;
    } cases[] = {{1000, false, kBesideAttempts}, {0, true, 1}, {2, true, 3}};
    for (const Case& c : cases) {
        FileHarness f;
        f.write("out.pts", "old\r\n");
        f.app.appendRow(f.point("P1", 1, 2, 3));
        f.files.takenNames = c.taken;
        f.files.failCreate = c.refuse;
        f.exportAs("out.pts", 2);
        EXPECT_EQ(f.boxes.texts(), (Cells{"text41"}));
        EXPECT_EQ(f.files.created.size(), c.tries);
        EXPECT_TRUE(f.files.replaced.empty());
        EXPECT_EQ(f.read("out.pts"), "old\r\n");
        EXPECT_EQ(f.names(), (Cells{"out.pts"}));
        EXPECT_TRUE(f.app.modified());
    }
}

TEST(ExportName, NamesBesideTheTargetAreShortAndDistinct) {
    const char* targets[] = {"C:\\work\\points.pts", "C:points.pts", "points.pts", "/home/u/p.pts",
                             "C:\\a.b\\c/points"};
    for (const char* target : targets) {
        std::set<std::string> names;
        for (unsigned n = 0x1fff0; n < 0x1fff0 + 2 * kBesideAttempts; ++n) {
            std::string name = besideName(target, n);
            EXPECT_EQ(folderOf(name), folderOf(target)) << name;
            EXPECT_EQ(name.size() - folderOf(target).size(), 11u) << name;
            EXPECT_NE(name, target);
            names.insert(name);
        }
        EXPECT_EQ(names.size(), 2u * kBesideAttempts) << target;
    }
    EXPECT_EQ(folderOf("C:\\work\\points.pts"), "C:\\work\\");
    EXPECT_EQ(folderOf("C:points.pts"), "C:");
    EXPECT_EQ(folderOf("points.pts"), "");
}

TEST(Export, EachFormatReadsBackWhatItWrote) {
    for (int format = 1; format <= 5; ++format) {
        for (const InstrumentFamily* family : instrumentFamilies()) {
            FileHarness h(*family);
            h.app.appendRow(h.point("A1", 1234.5678, -12.3, 0, "M"));
            h.app.appendRow(h.point("B2", -0.25, 9999.125, 17.5, "WALL"));
            h.exportAs("round", format);
            FileHarness back(*family);
            back.files.picks.push_back({true, h.path(std::string("round") + findFormat(format)->extension), format});
            back.app.importFile();
            ASSERT_EQ(back.list.rows.size(), 2u) << format;
            for (int row = 0; row < 2; ++row) EXPECT_EQ(back.list.cells(row), h.list.cells(row)) << format;
        }
    }
}

}  // namespace
