// The hit test of the plot against a search of every point: the same row
// for any place and reach, with points spread, clustered, in a line, all at
// one place, left out or far apart, and among a million.
#include "app/plot/HitIndex.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <random>
#include <string>

#include "app/plot/PointExtent.h"
#include "fakes/Points.h"
#include "points/PointStore.h"

namespace {

long nearestOfAll(const PointStore& store, WorldPoint at, double radius) {
    long best = HitIndex::kNone;
    double bestDistance = 0;
    for (std::size_t row = 0; row < store.size(); ++row) {
        const PointRecord& p = store.at(row);
        if (!drawable(p)) continue;
        double distance = std::hypot(p.e - at.e, p.n - at.n);
        if (distance <= radius && (best == HitIndex::kNone || distance < bestDistance)) {
            best = static_cast<long>(row);
            bestDistance = distance;
        }
    }
    return best;
}

void fill(PointStore& store, std::size_t count, const std::function<WorldPoint(std::size_t)>& place) {
    for (std::size_t i = 0; i < count; ++i) {
        WorldPoint p = place(i);
        store.append(makePoint(("P" + std::to_string(i)).c_str(), "", p.n, p.e, 0));
    }
}

TEST(HitIndex, FindsWhatASearchOfEveryPointFinds) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    std::mt19937 random(5);
    std::uniform_real_distribution<double> unit(0, 1);
    struct Layout {
        const char* what;
        std::size_t count;
        std::function<WorldPoint(std::size_t)> place;
        double reach;  // the size of the places and radii asked about
    } layouts[] = {
        {"spread", 3000, [&](std::size_t) { return WorldPoint{unit(random) * 1000 - 500, unit(random) * 800}; }, 1000},
        {"clustered", 3000,
         [&](std::size_t i) {
             double c = (i % 3) * 5000.0;
             return WorldPoint{c + unit(random), -c + unit(random) * 2};
         },
         10000},
        {"in a line along E", 500, [&](std::size_t i) { return WorldPoint{i * 0.5, 42}; }, 300},
        {"in a line along N", 500, [&](std::size_t i) { return WorldPoint{-3, -1.0 * i}; }, 300},
        {"all at one place", 400, [&](std::size_t) { return WorldPoint{7, 7}; }, 10},
        {"one point", 1, [&](std::size_t) { return WorldPoint{-123.5, 456.25}; }, 1000},
        {"some left out", 600,
         [&](std::size_t i) {
             if (i % 5 == 0) return WorldPoint{nan, 1};
             if (i % 7 == 0) return WorldPoint{1, -inf};
             return WorldPoint{unit(random) * 10, unit(random) * 10};
         },
         20},
        {"huge and tiny together", 300,
         [&](std::size_t i) {
             if (i < 3) return WorldPoint{i * 1e300 - 1e300, -1e300 + i * 1e300};
             return WorldPoint{unit(random) * 1e-3, unit(random) * 1e-3};
         },
         1e-2},
    };
    for (const Layout& layout : layouts) {
        PointStore store;
        fill(store, layout.count, layout.place);
        HitIndex index;
        EXPECT_EQ(index.nearest({0, 0}, 1e9), HitIndex::kNone) << "not built yet";
        index.build(store);
        for (int q = 0; q < 1500; ++q) {
            WorldPoint at;
            double radius;
            if (q % 3 == 0 && store.size() > 0) {
                // Right at a point, or next to it.
                const PointRecord& p = store.at(static_cast<std::size_t>(q) % store.size());
                at = {p.e + (q % 2) * layout.reach * 1e-4, p.n};
                radius = layout.reach * 1e-3;
            } else {
                at = {(unit(random) * 2 - 1) * layout.reach * 1.5, (unit(random) * 2 - 1) * layout.reach * 1.5};
                radius = layout.reach * std::pow(10.0, -3 * unit(random));
            }
            if (!std::isfinite(at.e) || !std::isfinite(at.n)) continue;
            long expected = nearestOfAll(store, at, radius);
            long found = index.nearest(at, radius);
            if (found != expected && found != HitIndex::kNone && expected != HitIndex::kNone) {
                // Equally near points: the first row wins, within rounding.
                const PointRecord &f = store.at(static_cast<std::size_t>(found)),
                                  &x = store.at(static_cast<std::size_t>(expected));
                ASSERT_NEAR(std::hypot(f.e - at.e, f.n - at.n), std::hypot(x.e - at.e, x.n - at.n), radius * 1e-9)
                    << layout.what;
                continue;
            }
            ASSERT_EQ(found, expected) << layout.what << " at " << at.e << "," << at.n << " within " << radius;
        }
    }
}

TEST(HitIndex, OfPointsAtOnePlaceTheFirstRowWins) {
    PointStore store;
    fill(store, 5, [](std::size_t i) { return i == 0 ? WorldPoint{NAN, 0} : WorldPoint{3, 4}; });
    HitIndex index;
    index.build(store);
    EXPECT_EQ(index.nearest({3, 4}, 0), 1);
    EXPECT_EQ(index.nearest({3.5, 4}, 1), 1);
    EXPECT_EQ(index.nearest({5, 4}, 1), HitIndex::kNone);
    EXPECT_EQ(index.nearest({3, 4}, -1), HitIndex::kNone);
    EXPECT_EQ(index.nearest({NAN, 4}, 1), HitIndex::kNone);

    PointStore empty;
    index.build(empty);
    EXPECT_EQ(index.nearest({0, 0}, 1e300), HitIndex::kNone);
    index.clear();
    EXPECT_FALSE(index.built());
}

TEST(HitIndex, AMillionPoints) {
    PointStore store;
    std::vector<PointRecord> points(1000000);
    for (std::size_t i = 0; i < points.size(); ++i) {
        points[i].e = static_cast<double>(i % 1000) * 2.0;
        points[i].n = static_cast<double>(i / 1000) * 3.0;
    }
    ASSERT_EQ(store.append(points.data(), points.size()), points.size());
    HitIndex index;
    index.build(store);
    EXPECT_EQ(index.nearest({1000.2, 1500.1}, 0.5), 500 * 1000 + 500);
    EXPECT_EQ(index.nearest({1998.9, 2997.2}, 1.5), 999999);
    EXPECT_EQ(index.nearest({1001, 1500}, 0.5), HitIndex::kNone) << "halfway between two points, out of reach";
}

}  // namespace
