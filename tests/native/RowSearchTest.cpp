// Finding the row a typed name names: whole or leading matches, letters of
// either case, double-byte characters as they stand, the start row and the
// wrap round to the top.
#include "points/RowSearch.h"

#include <gtest/gtest.h>

#include "fakes/Points.h"
#include "points/PointStore.h"

namespace {

// GBK: bytes 0x81 to 0xFE lead a two-byte character.
bool gbkLead(unsigned char byte) { return byte >= 0x81 && byte <= 0xFE; }

TEST(RowSearch, FindsTheFirstMatchFromTheStartRow) {
    PointStore store;
    // Two GBK characters whose second bytes read as the letters a and A.
    for (const char* name : {"P1", "p10", "Q7", "P1", "\xB1\x61" "1", "\xB1\x41" "1", ""})
        store.append(makePoint(name, "", 0, 0, 0));

    struct Case {
        const char* text;
        bool partial;
        std::size_t start;
        bool wrap;
        int row;
    } cases[] = {
        {"p1", false, 0, false, 0},     // whole name, either case
        {"p1", false, 1, false, 3},     // from the start row on
        {"P1", false, 4, false, -1},    // none after it without the wrap
        {"P1", false, 4, true, 0},      // round to the top
        {"p1", true, 1, false, 1},      // a leading part: P10
        {"P10", false, 0, false, 1},
        {"P100", true, 0, true, -1},    // longer than every name
        {"q", true, 0, false, 2},
        {"x", true, 0, true, -1},
        {"", true, 0, true, -1},        // nothing typed finds nothing
        {"\xB1\x41", true, 0, false, 5}, // the trail byte is matched as it is
        {"\xB1\x61" "1", false, 0, false, 4},
        {"\xB1", true, 0, false, -1},   // half a character
        {"P1", false, 99, true, 0},     // a start past the end wraps to the top
        {"P1", false, 99, false, -1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(findRowByName(store, c.text, c.partial, c.start, c.wrap, gbkLead), c.row)
            << '"' << c.text << "\" from " << c.start << (c.wrap ? " wrapping" : "");

    PointStore empty;
    EXPECT_EQ(findRowByName(empty, "P", true, 0, true, gbkLead), -1);
}

}  // namespace
