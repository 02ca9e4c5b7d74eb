// Where the plot draws over its points: sizes at every DPI as the system
// scales them, and a fit that keeps every mark, and the name written
// beside it, clear of the scale bar and the north arrow, whatever the
// window, the points, the bar's length and the texts' widths; the names
// placed elsewhere keep off them too.
#include "app/plot/PlotLayout.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "app/plot/PlotNames.h"
#include "app/plot/PlotScene.h"
#include "app/plot/PlotView.h"
#include "fakes/Points.h"
#include "points/PointStore.h"

namespace {

TEST(PlotLayout, SizesScaleWithTheDpiAsTheSystemRoundsThem) {
    struct Case {
        int pixels, dpi, scaled;
    } cases[] = {{2, 96, 2}, {2, 144, 3}, {6, 120, 8}, {13, 144, 20}, {24, 192, 48}, {4, 72, 3}, {0, 144, 0},
                 {-3, 144, -5}, {1, 48, 1}, {1, 47, 0}};
    for (const Case& c : cases) EXPECT_EQ(pixelsAtDpi(c.pixels, c.dpi), c.scaled) << c.pixels << " at " << c.dpi;
    PlotSizes sizes(144);
    EXPECT_EQ(sizes.markRadius, 3);
    EXPECT_EQ(sizes.margin, 36);
}

// The mark of every point that a fit puts between the insets, the selected
// one's included, and a name written on its right or its left (centred on
// it, as the placer tries first) miss the scale bar and the north arrow.
TEST(PlotLayout, AFitKeepsMarksAndNamesClearOfTheScaleBarAndTheNorthArrow) {
    std::mt19937 random(29);
    std::uniform_int_distribution<int> side(120, 1400), barLength(1, 400), textWidth(1, 160);
    std::uniform_real_distribution<double> place(-1e5, 1e5), spread(0, 3);
    int checked = 0;
    for (int dpi : {96, 120, 144, 192}) {
        PlotSizes sizes(dpi);
        for (int textHeight : {pixelsAtDpi(13, dpi), pixelsAtDpi(16, dpi), pixelsAtDpi(9, dpi)}) {
            const Insets insets = fitInsets(sizes, textHeight);
            for (int round = 0; round < 60; ++round) {
                const int width = side(random), height = side(random);
                if (insets.top + insets.bottom >= height || insets.left + insets.right >= width) continue;
                ScaleBarPlace bar = placeScaleBar(sizes, height, barLength(random), textWidth(random), textHeight);
                NorthArrowPlace arrow = placeNorthArrow(sizes, width, textWidth(random), textHeight);
                const PixelRect overlays[] = {bar.area(), arrow.area()};

                // The survey's corners and a spread of points, fitted.
                WorldBox box;
                const double e = place(random), n = place(random), across = std::pow(10.0, spread(random));
                std::vector<WorldPoint> points{{e, n}, {e + across, n + across * 0.7}, {e, n + across * 0.7},
                                               {e + across, n}, {e + across / 2, n + across * 0.35}};
                for (WorldPoint p : points) box.add(p);
                PlotView view;
                view.resize(width, height);
                view.fit(box, insets);
                for (WorldPoint p : points) {
                    ASSERT_TRUE(view.shows(p, insets)) << dpi << " " << width << "x" << height;
                    Pixel at = pixelOf(view.toScreen(p));
                    const int r = sizes.selectedRadius, w = textWidth(random);
                    const int reach = r + sizes.nameGap;
                    const PixelRect mark{at.x - r, at.y - r, at.x + r + 1, at.y + r + 1};
                    const PixelRect right{at.x + reach + 1, at.y - textHeight / 2, at.x + reach + 1 + w,
                                          at.y - textHeight / 2 + textHeight};
                    const PixelRect left{at.x - reach - w, right.top, at.x - reach, right.bottom};
                    for (const PixelRect& overlay : overlays) {
                        ASSERT_FALSE(mark.overlaps(overlay)) << dpi << ": mark at " << at.x << "," << at.y << " in "
                                                             << width << "x" << height;
                        ASSERT_FALSE(right.overlaps(overlay)) << dpi << ": name at " << at.x << "," << at.y;
                        ASSERT_FALSE(left.overlaps(overlay)) << dpi << ": name at " << at.x << "," << at.y;
                    }
                    ++checked;
                }
            }
        }
    }
    EXPECT_GT(checked, 2000);
}

// Names round marks in every part of the window, the overlays kept free:
// none is placed over them.
TEST(PlotNames, NoNameIsPlacedOverWhatIsKeptFree) {
    std::mt19937 random(31);
    std::uniform_real_distribution<double> e(0, 400), n(0, 300);
    PlotSizes sizes(96);
    PlotView view;
    view.resize(400, 300);
    view.centreOn({200, 150});
    const std::vector<PixelRect> keepFree{placeScaleBar(sizes, 300, 120, 40, 13).area(),
                                          placeNorthArrow(sizes, 400, 9, 13).area()};
    auto widthOf = [](const PointRecord& p) { return static_cast<int>(std::string(p.name).size()) * 7; };
    std::size_t placed = 0;
    for (int round = 0; round < 10; ++round) {
        PointStore store;
        for (int i = 0; i < 120; ++i) store.append(makePoint("NAME", "", n(random), e(random), 0));
        PlotScene scene;
        scene.build(store, view, 2, 1000);
        for (const PlacedName& name : placeNames(store, scene, -1, PixelRect{0, 0, 0, 0}, NameStyle{13, 2, 2},
                                                 widthOf, keepFree)) {
            for (const PixelRect& kept : keepFree) ASSERT_FALSE(name.rect.overlaps(kept)) << "row " << name.row;
            ++placed;
        }
    }
    EXPECT_GT(placed, 100u);
}

}  // namespace
