// The plot following its store: it fits the first points, keeps all points
// in view while the user has not moved it, stays where the user put it
// after a zoom or a pan, keeps its centre and scale when resized, follows
// the selection and the row numbers of removed rows, and asks for a new
// picture on every change.
#include "app/plot/PlotModel.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

#include "fakes/Points.h"

namespace {

struct Plot {
    Plot() : model(store, [this] { ++pictures; }) { store.addObserver(model); }
    ~Plot() { store.removeObserver(model); }
    void add(double e, double n, const char* name = "P") { store.append(makePoint(name, "", n, e, 0)); }
    bool showsRow(std::size_t row) {
        const PointRecord& p = store.at(row);
        return model.view().shows({p.e, p.n}, 0);
    }
    PointStore store;
    PlotModel model;
    int pictures = 0;
};

TEST(PlotModel, FitsTheFirstPointsAndFollowsUntilTheUserMovesIt) {
    Plot plot;
    plot.model.setInsets(Insets::around(10));
    plot.model.resize(400, 300);
    EXPECT_EQ(plot.model.extent().drawn, 0u);
    double idle = plot.model.view().scale();

    plot.add(100, 200);
    EXPECT_EQ(plot.model.view().centre().e, 100) << "the first point is fitted";
    EXPECT_NE(plot.model.view().scale(), idle);
    plot.add(300, 260);
    EXPECT_TRUE(plot.showsRow(0) && plot.showsRow(1)) << "a point outside: fitted again";
    plot.add(5000, -4000);
    EXPECT_TRUE(plot.showsRow(2));

    plot.model.zoomAbout({200, 150}, 8);
    WorldPoint centre = plot.model.view().centre();
    double scale = plot.model.view().scale();
    plot.add(-9000, 9000);
    EXPECT_EQ(plot.model.view().scale(), scale) << "after a zoom the view stays";
    EXPECT_FALSE(plot.showsRow(3));
    plot.model.resize(800, 100);
    EXPECT_EQ(plot.model.view().centre().e, centre.e);
    EXPECT_EQ(plot.model.view().scale(), scale) << "resizing keeps the scale";

    plot.model.fitAll();
    for (std::size_t row = 0; row < plot.store.size(); ++row) EXPECT_TRUE(plot.showsRow(row)) << row;
    plot.model.pan(30, 0);
    plot.store.replace(0, makePoint("P", "", 1e6, 1e6, 0));
    EXPECT_FALSE(plot.showsRow(0)) << "after a pan an edit moves nothing";
    plot.model.fitAll();
    plot.store.replace(0, makePoint("P", "", -1e6, -1e6, 0));
    EXPECT_TRUE(plot.showsRow(0)) << "fitted: an edited point that leaves the window is followed";
}

TEST(PlotModel, ClearingWaitsForTheNextPointsAndLeftOutPointsAreCounted) {
    Plot plot;
    plot.model.resize(200, 200);
    plot.add(1, 1);
    plot.add(2, 2);
    plot.model.pan(500, 500);
    plot.store.clear();
    EXPECT_EQ(plot.model.extent().drawn, 0u);
    plot.add(-70, 30);
    EXPECT_EQ(plot.model.view().centre().e, -70) << "after Clear all the next point is fitted again";

    const double nan = std::numeric_limits<double>::quiet_NaN();
    plot.add(nan, 3);
    plot.add(3, std::numeric_limits<double>::infinity());
    EXPECT_EQ(plot.model.extent().drawn, 1u);
    EXPECT_EQ(plot.model.extent().leftOut, 2u);
    plot.store.remove(1);
    EXPECT_EQ(plot.model.extent().leftOut, 1u);
    plot.store.replace(1, makePoint("P", "", 8, 9, 0));
    EXPECT_EQ(plot.model.extent().drawn, 2u);
    EXPECT_EQ(plot.model.extent().leftOut, 0u);
}

TEST(PlotModel, SizedLaterFitsWhatIsThere) {
    Plot plot;
    plot.add(1000, 1000);
    plot.add(1100, 1050);
    plot.model.fitAll();  // no size yet: nothing to fit to
    plot.model.resize(300, 300);
    EXPECT_TRUE(plot.showsRow(0) && plot.showsRow(1));
    EXPECT_DOUBLE_EQ(plot.model.view().centre().e, 1050);
}

TEST(PlotModel, SelectionFollowsRowsAndIsBroughtIntoView) {
    Plot plot;
    plot.model.setInsets(Insets::around(20));
    plot.model.resize(400, 400);
    for (int i = 0; i < 10; ++i) plot.add(i * 10.0, i * 10.0);
    plot.model.zoomAbout({0, 400}, 10);  // only row 0's corner is in view
    EXPECT_FALSE(plot.showsRow(9));
    plot.model.select(9, false);
    EXPECT_EQ(plot.model.selected(), 9);
    EXPECT_FALSE(plot.showsRow(9)) << "a click in the plot does not move it";
    plot.model.select(9, true);
    const PointRecord& p = plot.store.at(9);
    EXPECT_TRUE(plot.model.view().shows({p.e, p.n}, 20)) << "a keyboard move is kept in view";

    plot.store.remove(3);
    EXPECT_EQ(plot.model.selected(), 8) << "the selected row moved up";
    plot.store.remove(8);
    EXPECT_EQ(plot.model.selected(), PlotModel::kNoRow);
    plot.model.select(42, true);
    EXPECT_EQ(plot.model.selected(), PlotModel::kNoRow) << "no such row";
    plot.model.select(2, false);
    plot.store.clear();
    EXPECT_EQ(plot.model.selected(), PlotModel::kNoRow);
}

TEST(PlotModel, PointAtFindsTheNearestMarkWithinReach) {
    Plot plot;
    plot.model.resize(300, 200);
    plot.add(0, 0);
    plot.add(10, 0);
    plot.add(10, 5);
    ScreenPoint b = plot.model.view().toScreen({10, 0});
    EXPECT_EQ(plot.model.pointAt({b.x + 2, b.y + 1}, 5), 1);
    EXPECT_EQ(plot.model.pointAt({b.x + 40, b.y}, 5), PlotModel::kNoRow);
    plot.store.remove(0);
    EXPECT_EQ(plot.model.pointAt({b.x, b.y}, 5), 0) << "the index follows the store";
    plot.add(10, 0.0001);
    EXPECT_EQ(plot.model.pointAt({b.x, b.y}, 5), 0) << "equally near on the screen: the nearer in the world wins";
}

// The extent of the box round the rows on the screen, in pixels.
double spanOnScreen(Plot& plot) {
    const WorldBox& box = plot.model.extent().box;
    ScreenPoint low = plot.model.view().toScreen({box.minE, box.minN});
    ScreenPoint high = plot.model.view().toScreen({box.maxE, box.maxN});
    return std::max(high.x - low.x, low.y - high.y);
}

// A batch of changes, however many rows it changes, leaves the plot one
// pass over the store to make, when it is next shown: the names trimmed
// after a send (row by row), the rows of an Import (a few hundred at a
// time), a Clear, rows deleted one by one.
TEST(PlotModel, ABatchOfChangesCostsAtMostOneMeasure) {
    const std::size_t rows = 2000;
    struct Batch {
        const char* what;
        void (*change)(PointStore& store);
        bool followed;  // the view still fits every row afterwards
    } batches[] = {
        {"names trimmed after a send",
         [](PointStore& store) {
             for (std::size_t row = 0; row < store.size(); ++row) {
                 PointRecord point = store.at(row);
                 point.setName("T");
                 store.replace(row, point);
             }
         },
         true},
        {"an edit that moves every point far out",
         [](PointStore& store) {
             for (std::size_t row = 0; row < store.size(); ++row) {
                 PointRecord point = store.at(row);
                 point.e *= 1000;
                 store.replace(row, point);
             }
         },
         true},
        {"an Import",
         [](PointStore& store) {
             std::vector<PointRecord> more(256, makePoint("I", "", -5000, 9000, 0));
             for (int i = 0; i < 12; ++i) store.append(more.data(), more.size());
         },
         true},
        {"a Clear", [](PointStore& store) { store.clear(); }, false},
        {"rows deleted one by one",
         [](PointStore& store) {
             while (store.size() > 10) store.remove(store.size() / 2);
         },
         true},
    };
    for (const Batch& batch : batches) {
        Plot plot;
        plot.model.setInsets(Insets::around(10));
        plot.model.resize(500, 400);
        for (std::size_t i = 0; i < rows; ++i) plot.add(static_cast<double>(i % 60), static_cast<double>(i / 60));
        plot.model.view();
        const std::size_t before = plot.model.measures();
        const int pictures = plot.pictures;
        batch.change(plot.store);
        EXPECT_EQ(plot.model.measures(), before) << batch.what << ": measured during the batch";
        EXPECT_GT(plot.pictures, pictures) << batch.what << ": no picture asked for";
        plot.model.view();
        plot.model.extent();
        plot.model.view();
        EXPECT_LE(plot.model.measures(), before + 1) << batch.what;
        EXPECT_EQ(plot.model.extent().drawn, plot.store.size()) << batch.what;
        for (std::size_t row = 0; batch.followed && row < plot.store.size(); ++row)
            ASSERT_TRUE(plot.showsRow(row)) << batch.what << ": row " << row;
    }
}

// Minimised, the window has no client area: the plot keeps its view, and
// catches up with what came meanwhile once it has its size again.
TEST(PlotModel, MinimisedKeepsItsViewAndShowsWhatCameMeanwhileWhenRestored) {
    for (bool movedByUser : {false, true}) {
        Plot plot;
        plot.model.setInsets(Insets::around(20));
        plot.model.resize(400, 300);
        for (int i = 0; i < 5; ++i) plot.add(i * 100.0, i * 50.0);
        if (movedByUser) plot.model.pan(5, 5);
        const PlotView before = plot.model.view();

        plot.model.resize(0, 0);
        plot.add(2000, 1500);  // far to the north-east
        plot.model.resize(0, 120);
        const PlotView& hidden = plot.model.view();
        EXPECT_EQ(hidden.width(), before.width()) << movedByUser;
        EXPECT_EQ(hidden.height(), before.height());
        EXPECT_EQ(hidden.scale(), before.scale()) << "no fit while minimised";
        EXPECT_EQ(hidden.centre().e, before.centre().e);

        plot.model.resize(400, 300);
        EXPECT_EQ(plot.showsRow(5), !movedByUser) << "the new point is in view when the view followed the points";
        if (!movedByUser) {
            for (std::size_t row = 0; row < plot.store.size(); ++row) EXPECT_TRUE(plot.showsRow(row)) << row;
            EXPECT_GT(spanOnScreen(plot), 300) << "fitted to the window, not to a dot";
        } else {
            EXPECT_EQ(plot.model.view().scale(), before.scale()) << "the user's view stays";
        }
    }

    Plot opened;  // opened minimised: the first points wait for a size
    opened.model.resize(0, 0);
    opened.add(10, 10);
    opened.add(30, 20);
    opened.model.resize(300, 200);
    EXPECT_TRUE(opened.showsRow(0) && opened.showsRow(1));
    EXPECT_GT(spanOnScreen(opened), 200);
}

TEST(PlotModel, EveryChangeAsksForAPicture) {
    Plot plot;
    plot.model.resize(100, 100);
    int before = plot.pictures;
    plot.add(1, 2);
    plot.store.replace(0, makePoint("Q", "", 3, 4, 0));
    plot.add(5, 6);
    plot.store.remove(0);
    plot.store.clear();
    plot.model.fitAll();
    plot.model.pan(1, 1);
    plot.model.zoomAbout({5, 5}, 2);
    plot.model.select(PlotModel::kNoRow, false);
    EXPECT_EQ(plot.pictures - before, 9);
}

}  // namespace
