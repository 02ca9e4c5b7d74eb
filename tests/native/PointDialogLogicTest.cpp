#include "app/PointDialogLogic.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "PointDialogFakes.h"

namespace {

using Texts = std::vector<std::string>;

class PointDialogLogicTest : public ::testing::Test {
protected:
    // Opens the dialog on point_ as Append or Edit would.
    PointDialogLogic& open() {
        logic_.open();
        return logic_;
    }
    void type(int id, const std::string& text) { entries_.type(id, text); }

    void typeAll(const std::string& name, const std::string& mark, const std::string& n,
                 const std::string& e, const std::string& z) {
        type(kEntryName, name);
        type(kEntryMark, mark);
        type(kEntryN, n);
        type(kEntryE, e);
        type(kEntryZ, z);
    }

    PointRecord point_;
    FakeEntries entries_;
    IdTextTable texts_;
    RecordingBoxes boxes_;
    PointDialogLogic logic_{point_, entries_, texts_, boxes_};
};

TEST_F(PointDialogLogicTest, OpeningShowsTheRecordThenLimitsTheEntries) {
    point_.setName("ABCDEFGHI");   // nine characters, as a file may bring
    point_.setMark("MARK123456789");
    point_.n = 1.23456;
    point_.e = -12.5;
    point_.z = 0;
    open();
    EXPECT_EQ(entries_.text[kEntryName], "ABCDEFGHI");   // shown whole
    EXPECT_EQ(entries_.text[kEntryMark], "MARK123456789");
    EXPECT_EQ(entries_.text[kEntryN], "1.235");
    EXPECT_EQ(entries_.text[kEntryE], "-12.500");
    EXPECT_EQ(entries_.text[kEntryZ], "0.000");
    EXPECT_EQ(entries_.writesBeforeLimits, 5);
    const std::map<int, int> limits = {
        {kEntryName, 7}, {kEntryMark, 7}, {kEntryN, 12}, {kEntryE, 12}, {kEntryZ, 12}};
    EXPECT_EQ(entries_.limit, limits);
}

TEST_F(PointDialogLogicTest, HugeStoredValueIsShownWholeAndCannotBeConfirmed) {
    point_.setName("P1");
    point_.n = 1e300;   // from a file; its text is longer than any entry
    open();
    EXPECT_EQ(entries_.text[kEntryN].size(), 301u + 4u);
    EXPECT_FALSE(logic_.confirm());
    EXPECT_EQ(boxes_.texts(), Texts{"text31"});
    EXPECT_EQ(point_.n, 1e300);
}

TEST_F(PointDialogLogicTest, AppendStoresWhatWasTyped) {
    open();
    typeAll("P1", "TREE", "100000004", "-2.5", "+.25");
    EXPECT_TRUE(logic_.confirm());
    EXPECT_TRUE(boxes_.shown.empty());
    EXPECT_STREQ(point_.name, "P1");
    EXPECT_STREQ(point_.mark, "TREE");
    EXPECT_EQ(point_.n, 100000004.0);   // the typed value, not its float reading
    EXPECT_EQ(point_.e, -2.5);
    EXPECT_EQ(point_.z, 0.25);
}

TEST_F(PointDialogLogicTest, NameAndMarkTakeTheFirstWordOfAtMostSevenCharacters) {
    struct Case {
        const char* typed;
        const char* stored;
    };
    const Case cases[] = {
        {"SEVEN77", "SEVEN77"},
        {"EIGHT888", "EIGHT88"},    // the eighth cannot be typed
        {"AB CD", "AB"},
        {"   XY", "XY"},
        {"\tT1", "T1"},
    };
    for (const Case& c : cases) {
        PointRecord point;
        FakeEntries entries;
        RecordingBoxes boxes;
        PointDialogLogic logic(point, entries, texts_, boxes);
        logic.open();
        entries.type(kEntryName, c.typed);
        entries.type(kEntryMark, c.typed);
        EXPECT_TRUE(logic.confirm()) << c.typed;
        EXPECT_STREQ(point.name, c.stored) << c.typed;
        EXPECT_STREQ(point.mark, c.stored) << c.typed;
    }
}

TEST_F(PointDialogLogicTest, NineCharacterNameKeepsItsFirstSevenOnOk) {
    point_.setName("ABCDEFGHI");
    open();
    EXPECT_TRUE(logic_.confirm());
    EXPECT_STREQ(point_.name, "ABCDEFG");
}

TEST_F(PointDialogLogicTest, EditKeepsOldNameAndMarkWhenTheirEntriesAreCleared) {
    point_.setName("OLD");
    point_.setMark("M1");
    open();
    type(kEntryName, "");
    type(kEntryMark, "   ");
    EXPECT_TRUE(logic_.confirm());
    EXPECT_TRUE(boxes_.shown.empty());
    EXPECT_STREQ(point_.name, "OLD");
    EXPECT_STREQ(point_.mark, "M1");
}

TEST_F(PointDialogLogicTest, EmptyNameOnAppendShowsTextThirtyTwoAndStaysOpen) {
    open();
    typeAll("", "M", "1", "2", "3");
    EXPECT_FALSE(logic_.confirm());
    ASSERT_EQ(boxes_.shown.size(), 1u);
    EXPECT_EQ(boxes_.shown[0].text, "text32");
    EXPECT_EQ(boxes_.shown[0].owner, BoxOwner::None);
    EXPECT_EQ(boxes_.shown[0].caption, "ERROR");
    EXPECT_EQ(boxes_.shown[0].icon, BoxIcon::Error);
    // The numbers were taken before the name was found empty.
    EXPECT_EQ(point_.n, 1.0);
    EXPECT_EQ(point_.z, 3.0);

    type(kEntryName, "P9");
    EXPECT_TRUE(logic_.confirm());
    EXPECT_STREQ(point_.name, "P9");
}

TEST_F(PointDialogLogicTest, EntryWithoutANumberKeepsTheOldValue) {
    point_.setName("P");
    point_.n = 5;
    point_.e = 6;
    point_.z = 7;
    open();
    type(kEntryN, "+");
    type(kEntryE, ".");
    type(kEntryZ, "-.");
    EXPECT_TRUE(logic_.confirm());
    EXPECT_TRUE(boxes_.shown.empty());
    EXPECT_EQ(point_.n, 5.0);
    EXPECT_EQ(point_.e, 6.0);
    EXPECT_EQ(point_.z, 7.0);
}

TEST_F(PointDialogLogicTest, CheckedEntriesGoNThenEThenZ) {
    point_.setName("P");
    open();
    type(kEntryN, "1e5");
    type(kEntryE, "1.2.3");
    type(kEntryZ, "12-");
    EXPECT_FALSE(logic_.confirm());
    EXPECT_EQ(boxes_.texts(), Texts{"text28"});   // only N's message

    type(kEntryN, "1");
    EXPECT_FALSE(logic_.confirm());
    EXPECT_EQ(boxes_.texts(), (Texts{"text28", "text30"}));

    type(kEntryE, "2");
    EXPECT_FALSE(logic_.confirm());
    EXPECT_EQ(boxes_.texts(), (Texts{"text28", "text30", "text29"}));

    type(kEntryZ, "");
    EXPECT_FALSE(logic_.confirm());
    EXPECT_EQ(boxes_.texts(), (Texts{"text28", "text30", "text29", "text27"}));

    type(kEntryZ, "100000005");
    EXPECT_FALSE(logic_.confirm());
    EXPECT_EQ(boxes_.shown.back().text, "text31");

    type(kEntryZ, "3");
    EXPECT_TRUE(logic_.confirm());
    EXPECT_EQ(boxes_.shown.size(), 5u);
}

TEST_F(PointDialogLogicTest, FailedOkKeepsWhatItStoredUntilCancelPutsTheRecordBack) {
    point_.setName("OLD");
    point_.setMark("OM");
    point_.n = 1;
    point_.e = 2;
    point_.z = 3;
    open();
    typeAll("NEW", "NM", "10", "bad", "30");
    EXPECT_FALSE(logic_.confirm());
    // Fields before the failing E entry are in the record while it is open.
    EXPECT_STREQ(point_.name, "NEW");
    EXPECT_STREQ(point_.mark, "NM");
    EXPECT_EQ(point_.n, 10.0);
    EXPECT_EQ(point_.e, 2.0);
    EXPECT_EQ(point_.z, 3.0);

    // Cancel leaves the record as the list shows it.
    logic_.cancel();
    EXPECT_STREQ(point_.name, "OLD");
    EXPECT_STREQ(point_.mark, "OM");
    EXPECT_EQ(point_.n, 1.0);
    EXPECT_EQ(point_.e, 2.0);
    EXPECT_EQ(point_.z, 3.0);
}

TEST_F(PointDialogLogicTest, ShownValuesComeBackWithThreeDecimals) {
    point_.setName("P");
    point_.n = 1.23456;
    point_.e = -0.0004;
    open();
    EXPECT_TRUE(logic_.confirm());
    EXPECT_EQ(point_.n, 1.235);
    EXPECT_EQ(point_.e, 0.0);   // shown as "-0.000"
}

TEST_F(PointDialogLogicTest, StoredNorthingAboveLimitMustBeChangedBeforeOk) {
    point_.setName("P");
    point_.n = 100000016;
    open();
    EXPECT_EQ(entries_.text[kEntryN], "100000016.000");
    EXPECT_FALSE(logic_.confirm());
    EXPECT_FALSE(logic_.confirm());
    EXPECT_EQ(boxes_.texts(), (Texts{"text31", "text31"}));
    EXPECT_EQ(point_.n, 100000016.0);

    type(kEntryN, "-99999999.999");   // the last digit cannot be typed
    EXPECT_TRUE(logic_.confirm());
    EXPECT_EQ(point_.n, -99999999.99);
}

}  // namespace
