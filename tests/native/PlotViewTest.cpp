// The plot's view: E to the right and N up at one scale, fitting any set of
// points (one place, one point, huge and tiny extents, negative
// coordinates), zoom about the cursor, pan, resizing, and the limits that
// keep every figure finite.
#include "app/plot/PlotView.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

namespace {

// Two numbers agree to a part in 10^9 of the larger, or both are tiny.
bool near(double a, double b, double floor = 1e-9) {
    return std::fabs(a - b) <= std::max(floor, 1e-9 * std::max(std::fabs(a), std::fabs(b)));
}

WorldBox boxOf(const std::vector<WorldPoint>& points) {
    WorldBox box;
    for (WorldPoint p : points) box.add(p);
    return box;
}

TEST(PlotView, EastIsRightNorthIsUpAtOneScale) {
    std::mt19937 random(7);
    std::uniform_real_distribution<double> place(-1e6, 1e6), step(-50, 50);
    std::uniform_real_distribution<double> logScale(-4, 4);
    for (int i = 0; i < 200; ++i) {
        PlotView view;
        view.resize(300 + i, 200 + 2 * i);
        view.centreOn({place(random), place(random)});
        view.setScale(std::pow(10.0, logScale(random)));
        WorldPoint p{view.centre().e + step(random), view.centre().n + step(random)};
        double d = std::fabs(step(random)) + 1;
        ScreenPoint at = view.toScreen(p);
        ScreenPoint east = view.toScreen({p.e + d, p.n});
        ScreenPoint north = view.toScreen({p.e, p.n + d});
        double pixels = d * view.scale();
        EXPECT_TRUE(near(east.x - at.x, pixels, 1e-6)) << i;
        EXPECT_TRUE(near(east.y, at.y, 1e-6)) << i;
        EXPECT_TRUE(near(at.y - north.y, pixels, 1e-6)) << i;  // north is up: y falls
        EXPECT_TRUE(near(north.x, at.x, 1e-6)) << i;
        WorldPoint back = view.toWorld(at);
        EXPECT_TRUE(near(back.e, p.e, 1e-6) && near(back.n, p.n, 1e-6)) << i;
        ScreenPoint middle = view.toScreen(view.centre());
        EXPECT_TRUE(near(middle.x, view.width() / 2.0, 1e-6) && near(middle.y, view.height() / 2.0, 1e-6)) << i;
    }
}

TEST(PlotView, FitsEveryKindOfExtent) {
    const int width = 640, height = 480, margin = 20;
    struct Case {
        const char* what;
        std::vector<WorldPoint> points;
        bool scaleFree;  // the fitted scale is within the limits, so the box touches the margin
        bool shown = true;
    } cases[] = {
        {"a square", {{0, 0}, {100, 100}}, true},
        {"negative coordinates", {{-5000, -3000}, {-4000, -2950}, {-4500, -2990}}, true},
        {"a line along E", {{10, 7}, {30, 7}, {20, 7}}, true},
        {"a line along N", {{-2, -40}, {-2, 40}}, true},
        {"large coordinates, small spread", {{3456789.125, 5123456.5}, {3456790.5, 5123458.25}}, true},
        {"huge extent", {{-1e300, -1e300}, {1e300, 2e299}}, true},
        {"beyond the coarsest scale", {{-1.7e308, 0}, {1.7e308, 1}}, false, false},
        {"tiny extent", {{1.0, 1.0}, {1.0 + 1e-9, 1.0 + 1e-9}}, false},
        {"one point", {{523.5, -77.25}}, false},
        {"all at one place", {{8, 9}, {8, 9}, {8, 9}}, false},
    };
    for (const Case& c : cases) {
        PlotView view;
        view.resize(width, height);
        WorldBox box = boxOf(c.points);
        view.fit(box, margin);
        EXPECT_TRUE(std::isfinite(view.scale()) && view.scale() > 0) << c.what;
        EXPECT_TRUE(near(view.centre().e, box.middle().e) && near(view.centre().n, box.middle().n)) << c.what;
        for (WorldPoint p : c.points) EXPECT_EQ(view.shows(p, margin - 1), c.shown) << c.what;
        ScreenPoint low = view.toScreen({box.minE, box.maxN}), high = view.toScreen({box.maxE, box.minN});
        if (c.scaleFree) {
            // The largest scale that fits: one pair of sides meets the margin.
            bool touchesX = near(low.x, margin, 1e-6) && near(high.x, width - margin, 1e-6);
            bool touchesY = near(low.y, margin, 1e-6) && near(high.y, height - margin, 1e-6);
            EXPECT_TRUE(touchesX || touchesY) << c.what << ": " << low.x << "," << low.y << " " << high.x << ","
                                              << high.y;
        }
    }

    PlotView view;
    view.resize(width, height);
    view.fit(boxOf({{8, 9}}), margin);
    EXPECT_TRUE(near(std::min(width, height) / view.scale(), PlotView::kSpanOfOnePlace)) << "one place";
    view.fit(boxOf({{1, 1}, {1 + 1e-9, 1}}), margin);
    EXPECT_TRUE(near(view.scale(), 1 / PlotView::kFinestUnit)) << "a tiny extent stops at the finest scale";
    PlotView untouched = view;
    view.fit(WorldBox(), margin);
    EXPECT_EQ(view.scale(), untouched.scale()) << "an empty box changes nothing";
}

// Insets that differ per side: the box fills the room between them, centred
// in it, and a point is brought to the room's edge; a window too small for
// them still gets a finite view with the points on a line between them.
TEST(PlotView, FitsAndBringsIntoViewBetweenUnevenInsets) {
    const Insets insets{10, 60, 30, 40};
    PlotView view;
    view.resize(400, 300);
    view.fit(boxOf({{0, 0}, {100, 100}}), insets);
    ScreenPoint low = view.toScreen({0, 100}), high = view.toScreen({100, 0});  // top left, bottom right
    EXPECT_TRUE(near(low.y, 60, 1e-6) && near(high.y, 300 - 40, 1e-6)) << "the taller room's sides: " << low.y << ","
                                                                          << high.y;
    EXPECT_TRUE(near((low.x + high.x) / 2, (10 + 400 - 30) / 2.0, 1e-6)) << "centred across the room";
    EXPECT_TRUE(view.shows({50, 50}, insets));
    EXPECT_FALSE(view.shows({50, 101}, insets)) << "above the room, though in the window";

    EXPECT_TRUE(view.bringIntoView({50, 120}, insets));
    EXPECT_TRUE(near(view.toScreen({50, 120}).y, 60, 1e-6));

    view.resize(60, 50);  // less high than the insets
    view.fit(boxOf({{0, 0}, {100, 100}}), insets);
    EXPECT_TRUE(std::isfinite(view.scale()) && view.scale() > 0);
    ScreenPoint middle = view.toScreen({50, 50});
    EXPECT_TRUE(near(middle.x, (10 + 60 - 30) / 2.0, 1e-6) && near(middle.y, 50 * 60 / 100.0, 1e-6))
        << "the insets share the height: " << middle.x << "," << middle.y;
}

TEST(PlotView, ResizingKeepsTheCentreAndTheScale) {
    PlotView view;
    view.resize(500, 400);
    view.fit(boxOf({{-300, 1000}, {-100, 1200}}), 10);
    WorldPoint centre = view.centre();
    double scale = view.scale();
    for (auto size : {std::pair<int, int>{800, 600}, {120, 900}, {1, 1}, {0, -5}, {1920, 1080}}) {
        view.resize(size.first, size.second);
        EXPECT_EQ(view.centre().e, centre.e);
        EXPECT_EQ(view.centre().n, centre.n);
        EXPECT_EQ(view.scale(), scale);
        EXPECT_GE(view.width(), 1);
        EXPECT_GE(view.height(), 1);
        ScreenPoint middle = view.toScreen(centre);
        EXPECT_TRUE(near(middle.x, view.width() / 2.0) && near(middle.y, view.height() / 2.0));
    }
}

TEST(PlotView, ZoomKeepsTheWorldPointUnderTheCursor) {
    std::mt19937 random(11);
    std::uniform_real_distribution<double> x(0, 800), y(0, 600), logFactor(-1, 1), place(-1e5, 1e5);
    PlotView view;
    view.resize(800, 600);
    view.fit(boxOf({{place(random), place(random)}, {place(random), place(random)}}), 0);
    for (int i = 0; i < 500; ++i) {
        ScreenPoint at{x(random), y(random)};
        WorldPoint under = view.toWorld(at);
        double before = view.scale();
        double factor = std::pow(10.0, logFactor(random));
        view.zoomAbout(at, factor);
        if (!near(view.scale(), before * factor)) continue;  // stopped at a limit
        ScreenPoint after = view.toScreen(under);
        // Far in, a pixel is a small part of the coordinates' last digit.
        ASSERT_TRUE(near(after.x, at.x, 1e-3) && near(after.y, at.y, 1e-3))
            << i << ": " << after.x << "," << after.y << " for " << at.x << "," << at.y;
    }
}

TEST(PlotView, PanMovesThePictureWithTheMouse) {
    PlotView view;
    view.resize(400, 300);
    view.setScale(2.5);
    view.centreOn({-7000, 12000});
    WorldPoint p{-6990, 12010};
    ScreenPoint before = view.toScreen(p);
    view.pan(37, -12.5);
    ScreenPoint after = view.toScreen(p);
    EXPECT_TRUE(near(after.x - before.x, 37, 1e-9) && near(after.y - before.y, -12.5, 1e-9));
    view.pan(-37, 12.5);
    EXPECT_TRUE(near(view.centre().e, -7000) && near(view.centre().n, 12000));
}

TEST(PlotView, LimitsKeepEveryFigureFinite) {
    PlotView view;
    view.resize(640, 480);
    view.centreOn({4e6, -2e6});
    for (int i = 0; i < 2000; ++i) view.zoomAbout({10, 10}, 10);
    double finest = std::max(PlotView::kFinestUnit,
                             PlotView::kRelativeFinest * std::max(std::fabs(view.centre().e), std::fabs(view.centre().n)));
    EXPECT_TRUE(near(1 / view.scale(), finest)) << 1 / view.scale();
    for (int i = 0; i < 2000; ++i) view.zoomAbout({600, 400}, 0.1);
    EXPECT_TRUE(near(1 / view.scale(), PlotView::kCoarsestUnit));
    for (int i = 0; i < 2000; ++i) view.pan(1e6, -1e6);
    EXPECT_TRUE(std::fabs(view.centre().e) <= PlotView::kWorldLimit && std::fabs(view.centre().n) <= PlotView::kWorldLimit);
    ScreenPoint s = view.toScreen({1e308, -1e308});
    WorldPoint w = view.toWorld({0, 0});
    EXPECT_TRUE(std::isfinite(s.x) && std::isfinite(s.y) && std::isfinite(w.e) && std::isfinite(w.n));

    for (double bad : {0.0, -1.0, std::nan(""), std::numeric_limits<double>::infinity()}) {
        view.setScale(bad);
        EXPECT_TRUE(std::isfinite(view.scale()) && view.scale() > 0) << bad;
        view.zoomAbout({1, 1}, bad);
        EXPECT_TRUE(std::isfinite(view.scale()) && view.scale() > 0) << bad;
    }
    view.centreOn({std::nan(""), 5});
    EXPECT_TRUE(std::isfinite(view.centre().e) && std::isfinite(view.centre().n));
}

TEST(PlotView, BringsAPointIntoViewWithAsLittleMoveAsShowsIt) {
    PlotView view;
    view.resize(400, 300);
    view.setScale(1);
    view.centreOn({0, 0});
    const int margin = 20;
    EXPECT_FALSE(view.bringIntoView({10, -10}, margin)) << "already shown";
    EXPECT_EQ(view.centre().e, 0);

    EXPECT_TRUE(view.bringIntoView({250, 0}, margin));  // 50 pixels beyond the right edge: moved by 70
    ScreenPoint s = view.toScreen({250, 0});
    EXPECT_TRUE(near(s.x, 400 - margin) && near(s.y, 150));
    EXPECT_TRUE(view.bringIntoView({-100, 160}, margin));  // above the top; its x is inside
    s = view.toScreen({-100, 160});
    EXPECT_TRUE(near(s.x, 30) && near(s.y, margin));

    EXPECT_TRUE(view.bringIntoView({1e5, -1e5}, margin)) << "far off: centred";
    EXPECT_TRUE(near(view.centre().e, 1e5) && near(view.centre().n, -1e5));

    view.resize(30, 30);  // too small for two margins: the middle
    EXPECT_TRUE(view.bringIntoView({1e5 + 100, -1e5}, margin));
    EXPECT_TRUE(view.shows({1e5 + 100, -1e5}, margin));
}

}  // namespace
