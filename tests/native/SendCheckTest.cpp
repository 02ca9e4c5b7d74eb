#include "link/SendCheck.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <vector>

#include "fakes/Points.h"
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
    SendRefusal check(Model model) const {
        PointStore store;
        for (const auto& p : owned) store.append(*p);
        return checkSend(model, store);
    }
};

TEST(SendCheckTest, KorvelRefusesMoreThan9999PointsAsAWhole) {
    List list;
    for (int i = 0; i < 9999; ++i) list.add(i);
    EXPECT_FALSE(list.check(Model::Korvel).refused());
    list.add(1);
    const SendRefusal r = list.check(Model::Korvel);
    EXPECT_EQ(r.reason, SendRefusal::Reason::TooManyPoints);
    EXPECT_EQ(r.limit, 9999);
    // The Tassin total is only informative and may be cut.
    EXPECT_FALSE(list.check(Model::Tassin).refused());
}

TEST(SendCheckTest, NamesTheFirstRowThatCannotTravel) {
    struct Case {
        Model model;
        double value;
        bool refused;
    } cases[] = {
        {Model::Korvel, 9999999.999, false},
        {Model::Korvel, -9999999.999, false},
        {Model::Korvel, 9999999.9996, true},  // rounds to 10000000.000
        {Model::Korvel, 1e8, true},
        {Model::Korvel, std::nan(""), true},
        {Model::Tassin, -12345678.123, false},  // exactly 13 characters
        {Model::Tassin, 123456789.123, false},
        {Model::Tassin, -123456789.123, true},  // 14 characters
        {Model::Tassin, 1234567890.125, true},
        {Model::Tassin, std::numeric_limits<double>::infinity(), true},
        {Model::Tassin, std::nan(""), true},
    };
    for (const Case& c : cases) {
        for (int coordinate = 0; coordinate < 3; ++coordinate) {
            List list;
            list.add(1, 2, 3);
            PointRecord& p = list.add(1, 2, 3);
            (coordinate == 0 ? p.n : coordinate == 1 ? p.e : p.z) = c.value;
            list.add(c.value, c.value, c.value);
            const SendRefusal r = list.check(c.model);
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
    EXPECT_FALSE(list.check(Model::Korvel).refused());
    EXPECT_FALSE(list.check(Model::Tassin).refused());
    EXPECT_FALSE(List().check(Model::Korvel).refused());
}

}  // namespace
