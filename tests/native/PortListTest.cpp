#include "app/PortList.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <random>
#include <string>
#include <vector>

namespace {

using Names = std::vector<std::string>;

Names upperCased(Names names) {
    for (std::string& name : names)
        std::transform(name.begin(), name.end(), name.begin(), [](unsigned char c) { return std::toupper(c); });
    return names;
}

Names withFixed(const Names& rest) {
    Names all{"COM1", "COM2", "COM3", "COM4"};
    all.insert(all.end(), rest.begin(), rest.end());
    return all;
}

struct Case {
    const char* what;
    Names present;
    Names after;  // the items after COM1 to COM4
};

TEST(PortListTest, ItemsFromThePortsPresent) {
    const Case cases[] = {
        {"no ports at all", {}, {}},
        {"only the fixed ones", {"COM1", "COM2", "COM3", "COM4"}, {}},
        {"an adapter above COM4", {"COM1", "COM7"}, {"COM7"}},
        {"fixed ones missing", {"COM5", "COM3"}, {"COM5"}},
        {"numeric order, not text order", {"COM10", "COM9", "COM100", "COM11", "COM5"},
         {"COM5", "COM9", "COM10", "COM11", "COM100"}},
        {"repeats", {"COM7", "COM7", "com7", "COM2", "COM2"}, {"COM7"}},
        {"any case of COM", {"com12", "Com6"}, {"COM6", "COM12"}},
        {"device prefix and white space", {"\\\\.\\COM8", "  COM6\t", "\\\\.\\COM1"}, {"COM6", "COM8"}},
        {"other names after the numbered ones, alphabetically",
         {"CNCB0", "COM9", "cnca0", "ttyUSB", "COM5"}, {"COM5", "COM9", "cnca0", "CNCB0", "ttyUSB"}},
        {"other names once, first spelling kept", {"cnca0", "CNCA0"}, {"cnca0"}},
        {"leading zeros and COM0 are names, not numbers", {"COM07", "COM0", "COM"}, {"COM", "COM0", "COM07"}},
        {"a number too large for a port is a name", {"COM99999999999"}, {"COM99999999999"}},
        {"unusable names left out",
         {"", "   ", "COM\x01" "5", "\\\\.\\", "ABCDEFGHIJKLMNOPQRST", "ABCDEFGHIJKLMNOPQRS"},
         {"ABCDEFGHIJKLMNOPQRS"}},
        {"the longest number that fits", {"COM2147483647", "COM2147483648"}, {"COM2147483647", "COM2147483648"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(portBoxItems(c.present), withFixed(c.after));
    }
}

// Whatever the system lists, and in whatever order: the fixed four come
// first, no item repeats, every item fits the port box, and the order of
// the ports present does not matter.
TEST(PortListTest, PropertiesOverShuffledLists) {
    const Names pool{"COM1", "COM4", "COM5", "COM9", "COM10", "COM33", "com33", "COM256", "CNCA0",
                     "cncb1", " COM12 ", "\\\\.\\COM40", "", "COM007", "Bluetooth-Port"};
    std::mt19937 random(12345);
    for (int round = 0; round < 200; ++round) {
        Names present;
        std::uniform_int_distribution<std::size_t> count(0, pool.size()), pick(0, pool.size() - 1);
        for (std::size_t n = count(random); n > 0; --n) present.push_back(pool[pick(random)]);
        const Names items = portBoxItems(present);

        ASSERT_GE(items.size(), 4u);
        EXPECT_EQ(Names(items.begin(), items.begin() + 4), withFixed({}));
        Names upper = upperCased(items);
        std::sort(upper.begin(), upper.end());
        EXPECT_EQ(std::adjacent_find(upper.begin(), upper.end()), upper.end()) << "an item repeats";
        for (const std::string& item : items) {
            EXPECT_FALSE(item.empty());
            EXPECT_LE(item.size(), kPortNameMax);
            EXPECT_EQ(item, item.substr(item.find_first_not_of(' '))) << "untrimmed item";
        }
        // Only which spelling of a repeated name stands may change.
        Names shuffled = present;
        std::shuffle(shuffled.begin(), shuffled.end(), random);
        EXPECT_EQ(upperCased(portBoxItems(shuffled)), upperCased(items));
    }
}

}  // namespace
