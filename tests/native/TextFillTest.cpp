// Filling the table's templates with values: printf's few conversions,
// numbered values, and templates that are not trusted as formats.
#include "app/TextFill.h"

#include <gtest/gtest.h>

#include "fakes/ResourceTexts.h"

namespace {

TEST(TextFillTest, Conversions) {
    struct Case {
        const char* pattern;
        std::vector<TextValue> values;
        const char* expected;
    } cases[] = {
        {"Sending Tag %04d,Total %04d", {1, 3}, "Sending Tag 0001,Total 0003"},
        {"Sending Tag %04d,Total %04d", {12345, 9999}, "Sending Tag 12345,Total 9999"},
        {"processing  tag No.%d", {3}, "processing  tag No.3"},
        {"%4d|%-d|%05d", {5, -42}, "   5|%-d|-0042"},  // "%-d" is not served: kept, takes no value
        {"%c%c and %s", {'a', 'b', "text"}, "ab and text"},
        {"100%% %d%%", {7}, "100% 7%"},
        {"%d %d", {1}, "1 %d"},             // no value left: kept as text
        {"%x %n %d", {4}, "%x %n 4"},       // unknown conversions: kept as text
        {"tail %", {1}, "tail %"},
        // Numbered values, in any order, taken more than once or not at all.
        {"%2$s, %1$s", {"first", "second"}, "second, first"},
        {"%2$04d of %1$d", {3, 7}, "0007 of 3"},
        {"%1$c%1$c%3$c", {'a', 'b', 'c'}, "aac"},
        {"%2$d %d", {1, 2, 3}, "2 3"},      // unnumbered: the value after the one before
        {"%3$d|%0$d|%1$", {1, 2}, "%3$d|%0$d|%1$"},  // no such value, or no conversion: kept
        {"%12$d", {1}, "%12$d"},
    };
    for (const Case& c : cases) EXPECT_EQ(fillText(c.pattern, c.values), c.expected) << c.pattern;
}

TEST(TextFillTest, ConversionsTellWhichValueEachTakes) {
    EXPECT_EQ(textConversions("Point %d (%s) cannot"), (std::vector<char>{'d', 's'}));
    EXPECT_EQ(textConversions("%2$s first, %1$d"), (std::vector<char>{'d', 's'}));
    EXPECT_EQ(textConversions("%3$c only"), (std::vector<char>{0, 0, 'c'}));
    EXPECT_TRUE(textConversions("100%% plain").empty());
}

// Every text takes the same values in the same ways in both languages, so
// that a value reaches its place in either sentence.
TEST(TextFillTest, BothLanguagesTakeTheSameValues) {
    rc::ProgramTexts english("Korvel"), chinese("Korvel", rc::Language::Chinese);
    for (const auto& [name, id] : rc::resourceIds("IDS_"))
        EXPECT_EQ(textConversions(english.text(id)), textConversions(chinese.text(id))) << name;
    EXPECT_EQ(textConversions(english.text(kTextKorvelProgress)), std::vector<char>(8, 'c'));
}

}  // namespace
