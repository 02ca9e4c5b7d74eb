// The point store against a plain vector of records: the same rows in the
// same order after any mix of changes, observers told of each change, growth
// that stops cleanly at the row limit, and a batch of a million points.
#include "points/PointStore.h"

#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <string>
#include <vector>

#include "fakes/Points.h"

namespace {

constexpr std::size_t K = PointStore::kChunkRows;

PointRecord numbered(std::size_t i) {
    PointRecord p;
    p.setName("P" + std::to_string(i % 100000000));
    p.setMark(i % 2 ? "ODD" : "");
    p.n = static_cast<double>(i);
    p.e = -static_cast<double>(i) / 4;
    p.z = static_cast<double>(i % 1000);
    return p;
}

bool same(const PointRecord& a, const PointRecord& b) {
    return std::string(a.name) == b.name && std::string(a.mark) == b.mark && a.n == b.n && a.e == b.e && a.z == b.z;
}

// An observer that keeps its own row count from what it is told, as a list
// view does, and logs each call.
struct Watcher : PointStoreObserver {
    void rowsAdded(std::size_t first, std::size_t count) override {
        EXPECT_EQ(first, rows) << "rows are added at the end only";
        rows += count;
        log.push_back("added " + std::to_string(first) + "+" + std::to_string(count));
    }
    void rowChanged(std::size_t row) override { log.push_back("changed " + std::to_string(row)); }
    void rowRemoved(std::size_t row) override {
        ASSERT_LT(row, rows);
        --rows;
        log.push_back("removed " + std::to_string(row));
    }
    void allRemoved() override {
        rows = 0;
        log.push_back("cleared");
    }
    std::size_t rows = 0;
    std::vector<std::string> log;
};

void expectRows(const PointStore& store, const std::vector<PointRecord>& model) {
    ASSERT_EQ(store.size(), model.size());
    std::size_t row = 0;
    for (const PointRecord& point : store) {
        ASSERT_TRUE(same(point, model[row])) << "row " << row;
        ASSERT_EQ(&point, &store.at(row));
        ++row;
    }
    EXPECT_EQ(row, model.size());
}

TEST(PointStore, EachChangeIsToldOnceAfterItIsMade) {
    PointStore store;
    Watcher watcher;
    store.addObserver(watcher);
    store.addObserver(watcher);  // once is enough

    struct Step {
        std::function<bool()> change;
        const char* told;  // nullptr: nothing
    } steps[] = {
        {[&] { return store.append(numbered(0)); }, "added 0+1"},
        {[&] {
             std::vector<PointRecord> batch{numbered(1), numbered(2), numbered(3)};
             return store.append(batch.data(), batch.size()) == 3;
         },
         "added 1+3"},
        {[&] { return store.append(nullptr, 0) == 0; }, nullptr},
        {[&] { return store.replace(2, numbered(20)); }, "changed 2"},
        {[&] { return !store.replace(4, numbered(20)); }, nullptr},
        {[&] { return store.remove(0); }, "removed 0"},
        {[&] { return !store.remove(3); }, nullptr},
        {[&] { return store.clear(), true; }, "cleared"},
        {[&] { return store.clear(), true; }, "cleared"},
    };
    std::vector<std::string> expected;
    for (const Step& step : steps) {
        EXPECT_TRUE(step.change());
        if (step.told) expected.push_back(step.told);
        EXPECT_EQ(watcher.log, expected);
    }

    store.removeObserver(watcher);
    store.append(numbered(5));
    EXPECT_EQ(watcher.log.size(), expected.size());
}

// A second view of the rows watches through the read-only store, beside
// the first, and both hear every change in the order they came.
TEST(PointStore, ViewsWatchThroughTheReadOnlyStore) {
    PointStore store;
    const PointStore& readOnly = store;
    Watcher list, plot;
    readOnly.addObserver(list);
    readOnly.addObserver(plot);
    store.append(numbered(0));
    store.replace(0, numbered(1));
    readOnly.removeObserver(list);
    store.remove(0);
    EXPECT_EQ(list.log, (std::vector<std::string>{"added 0+1", "changed 0"}));
    EXPECT_EQ(plot.log, (std::vector<std::string>{"added 0+1", "changed 0", "removed 0"}));
}

TEST(PointStore, AnyMixOfChangesKeepsTheRowsOfAPlainList) {
    // Removals across the chunks' edges are where rows could get lost or
    // doubled; the mix starts with rows on both sides of two edges.
    for (unsigned seed : {1u, 2u, 3u}) {
        PointStore store;
        Watcher watcher;
        store.addObserver(watcher);
        std::vector<PointRecord> model;
        std::vector<PointRecord> start;
        for (std::size_t i = 0; i < 2 * K + 7; ++i) start.push_back(numbered(i));
        ASSERT_EQ(store.append(start.data(), start.size()), start.size());
        model = start;

        std::mt19937 random(seed);
        std::size_t next = start.size();
        for (int step = 0; step < 300; ++step) {
            std::size_t size = model.size();
            switch (random() % 5) {
            case 0: {
                PointRecord p = numbered(next++);
                ASSERT_TRUE(store.append(p));
                model.push_back(p);
                break;
            }
            case 1: {
                std::vector<PointRecord> batch;
                // Now and then one larger than a chunk.
                std::size_t count = random() % 8 == 0 ? K + 3 : random() % 64;
                for (std::size_t i = count; i > 0; --i) batch.push_back(numbered(next++));
                ASSERT_EQ(store.append(batch.data(), batch.size()), batch.size());
                model.insert(model.end(), batch.begin(), batch.end());
                break;
            }
            case 2:
                if (size) {
                    std::size_t row = random() % size;
                    PointRecord p = numbered(next++);
                    ASSERT_TRUE(store.replace(row, p));
                    model[row] = p;
                }
                break;
            default:
                if (size) {
                    // Edges of the chunks, the ends, and anywhere.
                    const std::size_t picks[] = {0, size - 1, K - 1 < size ? K - 1 : 0, K < size ? K : 0,
                                                 static_cast<std::size_t>(random() % size)};
                    std::size_t row = picks[random() % 5];
                    ASSERT_TRUE(store.remove(row));
                    model.erase(model.begin() + static_cast<std::ptrdiff_t>(row));
                }
                break;
            }
            ASSERT_EQ(watcher.rows, model.size());
        }
        expectRows(store, model);
    }
}

TEST(PointStore, RefusesToGrowPastItsLimitAndKeepsWhatItHolds) {
    PointStore store;
    Watcher watcher;
    store.addObserver(watcher);
    store.setRowLimit(K + 2);
    std::vector<PointRecord> batch;
    for (std::size_t i = 0; i < K + 5; ++i) batch.push_back(numbered(i));

    // A batch adds what fits, in order, and says how much that was.
    EXPECT_EQ(store.append(batch.data(), batch.size()), K + 2);
    EXPECT_EQ(watcher.log, (std::vector<std::string>{"added 0+" + std::to_string(K + 2)}));
    EXPECT_FALSE(store.append(numbered(99)));
    EXPECT_EQ(store.append(batch.data(), 3), 0u);
    EXPECT_EQ(watcher.log.size(), 1u);  // refusals are not changes
    expectRows(store, std::vector<PointRecord>(batch.begin(), batch.begin() + K + 2));

    // Room made by a removal or a higher limit is used again.
    ASSERT_TRUE(store.remove(0));
    EXPECT_TRUE(store.append(numbered(99)));
    EXPECT_FALSE(store.append(numbered(100)));
    store.setRowLimit(static_cast<std::size_t>(-1));
    EXPECT_EQ(store.rowLimit(), PointStore::kMaxRows);
    EXPECT_TRUE(store.append(numbered(100)));
    EXPECT_EQ(store.size(), K + 3);
    EXPECT_TRUE(same(store.at(K + 2), numbered(100)));
    EXPECT_TRUE(same(store.at(0), numbered(1)));
}

TEST(PointStore, HoldsAMillionPointsFromBatches) {
    constexpr std::size_t kPoints = 1000000;
    constexpr std::size_t kBatch = 1000;
    PointStore store;
    Watcher watcher;
    store.addObserver(watcher);
    std::vector<PointRecord> batch(kBatch);
    for (std::size_t first = 0; first < kPoints; first += kBatch) {
        for (std::size_t i = 0; i < kBatch; ++i) batch[i] = numbered(first + i);
        ASSERT_EQ(store.append(batch.data(), kBatch), kBatch);
    }
    ASSERT_EQ(store.size(), kPoints);
    EXPECT_EQ(watcher.rows, kPoints);
    EXPECT_EQ(watcher.log.size(), kPoints / kBatch);

    std::size_t row = 0;
    double sum = 0;
    for (const PointRecord& point : store) {
        if (row % 9973 == 0 || row + 1 == kPoints) {
            ASSERT_TRUE(same(point, numbered(row))) << row;
        }
        sum += point.n;
        ++row;
    }
    EXPECT_EQ(sum, static_cast<double>(kPoints) * (kPoints - 1) / 2);

    // The middle row goes; every later row moves up by one.
    ASSERT_TRUE(store.remove(kPoints / 2));
    EXPECT_TRUE(same(store.at(kPoints / 2), numbered(kPoints / 2 + 1)));
    EXPECT_TRUE(same(store.at(kPoints - 2), numbered(kPoints - 1)));
    store.clear();
    EXPECT_TRUE(store.empty());
    EXPECT_EQ(store.begin(), store.end());
}

}  // namespace
