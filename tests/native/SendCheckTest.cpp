#include "link/SendCheck.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <vector>

#include "fakes/Points.h"
#include "link/KorvelWorkers.h"
#include "link/TassinWorkers.h"
#include "points/PointRecord.h"
#include "points/PointStore.h"

namespace {

// Points gathered first, then checked as the rows of a store.
struct List {
    std::vector<std::unique_ptr<PointRecord>> owned;

    PointRecord& add(double n, double e = 0, double z = 0, const char* name = "P", const char* mark = "") {
        owned.push_back(std::make_unique<PointRecord>());
        PointRecord& p = *owned.back();
        fillPoint(p, name, mark, n, e, z);
        return p;
    }
    SendRefusal check(const LinkProtocol& protocol) const {
        PointStore store;
        for (const auto& p : owned) store.append(*p);
        return checkSend(protocol.limits, store);
    }
};

TEST(SendCheckTest, KorvelRefusesMoreThan9999PointsAsAWhole) {
    List list;
    for (int i = 0; i < 9999; ++i) list.add(i);
    EXPECT_FALSE(list.check(kKorvelProtocol).refused());
    list.add(1);
    const SendRefusal r = list.check(kKorvelProtocol);
    EXPECT_EQ(r.reason, SendRefusal::Reason::TooManyPoints);
    EXPECT_EQ(r.limit, 9999);
    // The Tassin total is only informative and may be cut.
    EXPECT_FALSE(list.check(kTassinProtocol).refused());
}

TEST(SendCheckTest, NamesTheFirstRowThatCannotTravel) {
    struct Case {
        const LinkProtocol& protocol;
        double value;
        bool refused;
    } cases[] = {
        {kKorvelProtocol, 9999999.999, false},
        {kKorvelProtocol, -9999999.999, false},
        {kKorvelProtocol, 9999999.9996, true},  // rounds to 10000000.000
        {kKorvelProtocol, 1e8, true},
        {kKorvelProtocol, std::nan(""), true},
        {kTassinProtocol, -12345678.123, false},  // exactly 13 characters
        {kTassinProtocol, 123456789.123, false},
        {kTassinProtocol, -123456789.123, true},  // 14 characters
        {kTassinProtocol, 1234567890.125, true},
        {kTassinProtocol, std::numeric_limits<double>::infinity(), true},
        {kTassinProtocol, std::nan(""), true},
    };
    for (const Case& c : cases) {
        for (int coordinate = 0; coordinate < 3; ++coordinate) {
            List list;
            list.add(1, 2, 3);
            PointRecord& p = list.add(1, 2, 3);
            (coordinate == 0 ? p.n : coordinate == 1 ? p.e : p.z) = c.value;
            list.add(c.value, c.value, c.value);
            const SendRefusal r = list.check(c.protocol);
            EXPECT_EQ(r.refused(), c.refused) << c.value << " coordinate " << coordinate;
            if (c.refused) {
                EXPECT_EQ(r.reason, SendRefusal::Reason::PointDoesNotFit);
                EXPECT_EQ(r.row, 1);
            }
        }
    }
}

TEST(SendCheckTest, LongNamesAndMarksAreCutNotRefused) {
    List list;
    list.add(1, 2, 3, "NINECHARS", "THIRTEENCHARS");
    EXPECT_FALSE(list.check(kKorvelProtocol).refused());
    EXPECT_FALSE(list.check(kTassinProtocol).refused());
    EXPECT_FALSE(List().check(kKorvelProtocol).refused());
}

}  // namespace
