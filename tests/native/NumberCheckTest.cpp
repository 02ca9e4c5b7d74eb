#include "app/NumberCheck.h"

#include <gtest/gtest.h>

#include "PointDialogFakes.h"

namespace {

struct Case {
    const char* text;
    int failure;  // expected text id, 0 when the text passes
};

// Texts and the first test that rejects them; the order of the tests decides
// when a text breaks several rules.
const Case kCases[] = {
    {"", kTextInputEmpty},
    {"1e5", kTextBadCharacter},         // no exponent letter
    {" 12", kTextBadCharacter},         // leading blank
    {"12 ", kTextBadCharacter},
    {"1,5", kTextBadCharacter},
    {"inf", kTextBadCharacter},
    {"0x10", kTextBadCharacter},
    {"\xB5\xE3", kTextBadCharacter},    // bytes of a double-byte character
    {"1-2e", kTextBadCharacter},        // bad character beats misplaced sign
    {"12-", kTextMisplacedSign},
    {"--1", kTextMisplacedSign},
    {"+-1", kTextMisplacedSign},
    {"1.2.-3", kTextMisplacedSign},     // misplaced sign beats two points
    {"1.2.3", kTextTwoPoints},
    {"..", kTextTwoPoints},
    {"100000004", 0},                   // reads as 100000000 in single precision
    {"100000005", kTextOverflow},
    {"-100000004", 0},
    {"-100000005", kTextOverflow},
    {"100000000.4", 0},
    {"999999999", kTextOverflow},
    {"99999999999999999999999999999", kTextOverflow},   // past a float's range
    {"100000000000000000000000000000000000000000", kTextOverflow},
    {"+", 0},                           // no number at all passes
    {"-", 0},
    {".", 0},
    {"+.", 0},
    {"-.", 0},
    {"0", 0},
    {"-12.5", 0},
    {"+.5", 0},
    {"7.", 0},
    {"000000000123.456", 0},
};

TEST(NumberCheck, FirstFailingTestDecides) {
    for (const Case& c : kCases) {
        EXPECT_EQ(numberCheckFailure(c.text), c.failure) << '"' << c.text << '"';
    }
}

TEST(NumberCheck, FailureShowsItsTextInAnOwnerlessErrorBox) {
    IdTextTable texts;
    for (const Case& c : kCases) {
        RecordingBoxes boxes;
        const bool passed = numberCheck(c.text, texts, boxes);
        EXPECT_EQ(passed, c.failure == 0) << '"' << c.text << '"';
        if (c.failure == 0) {
            EXPECT_TRUE(boxes.shown.empty()) << '"' << c.text << '"';
            continue;
        }
        ASSERT_EQ(boxes.shown.size(), 1u) << '"' << c.text << '"';
        const ShownBox& box = boxes.shown[0];
        EXPECT_EQ(box.owner, BoxOwner::None);
        EXPECT_EQ(box.text, "text" + std::to_string(c.failure));
        EXPECT_EQ(box.caption, "ERROR");
        EXPECT_EQ(box.icon, BoxIcon::Error);
        EXPECT_EQ(box.buttons, BoxButtons::Ok);
    }
}

}  // namespace
