// What the plot paints and writes: marks where the view puts their points,
// the same pixels whether painted one by one or from the grid of occupied
// pixels, points outside the window and left-out points not drawn, and
// names that never overlap a mark or one another.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "app/plot/LabelPlacer.h"
#include "app/plot/PixelImage.h"
#include "app/plot/PlotNames.h"
#include "app/plot/PlotScene.h"
#include "app/plot/PlotView.h"
#include "fakes/Points.h"
#include "points/PointStore.h"

namespace {

constexpr std::uint32_t kWhite = 0xFFFFFF, kDark = 0x202020;

struct Picture {
    Picture(int w, int h) : pixels(static_cast<std::size_t>(w) * h, kWhite), image{pixels.data(), w, h, w} {}
    std::vector<std::uint32_t> pixels;
    PixelImage image;
};

PlotView viewOf(int width, int height, WorldPoint centre, double scale) {
    PlotView view;
    view.resize(width, height);
    view.centreOn(centre);
    view.setScale(scale);
    return view;
}

void addPoint(PointStore& store, const char* name, double e, double n) { store.append(makePoint(name, "", n, e, 0)); }

TEST(PlotScene, MarksLieWhereTheViewPutsTheirPoints) {
    PointStore store;
    const double nan = std::numeric_limits<double>::quiet_NaN();
    addPoint(store, "A", 10, 20);
    addPoint(store, "B", -35.5, 4.25);
    addPoint(store, "C", nan, 1);        // left out
    addPoint(store, "D", 1, std::numeric_limits<double>::infinity());
    addPoint(store, "E", 1000, 1000);    // far outside
    addPoint(store, "F", -50.9, 0);      // its pixel just outside, its mark reaching in
    addPoint(store, "G", 10, 20);        // on A
    PlotView view = viewOf(200, 100, {0, 0}, 2);
    PlotScene scene;
    scene.build(store, view, 2, 100);
    EXPECT_EQ(scene.visible(), 4u);
    ASSERT_TRUE(scene.listsEveryMark());
    ASSERT_EQ(scene.marks().size(), 4u);
    for (const PlotMark& mark : scene.marks()) {
        const PointRecord& p = store.at(mark.row);
        ScreenPoint s = view.toScreen({p.e, p.n});
        EXPECT_EQ(mark.x, static_cast<int>(std::floor(s.x))) << p.name;
        EXPECT_EQ(mark.y, static_cast<int>(std::floor(s.y))) << p.name;
        EXPECT_TRUE(scene.occupied(mark.x, mark.y));
    }
    EXPECT_EQ(scene.marks()[2].row, 5u);
    EXPECT_EQ(scene.marks()[2].x, -2);
    EXPECT_EQ(scene.occupiedCount(), 3u) << "A and G share a pixel";

    Picture picture(200, 100);
    std::vector<std::uint8_t> work;
    paintMarks(picture.image, scene, kDark, work);
    EXPECT_EQ(picture.image.at(120, 10), kDark);   // A at x = 100 + 20, y = 50 - 40
    EXPECT_EQ(picture.image.at(122, 12), kDark);   // its mark reaches two pixels round it
    EXPECT_EQ(picture.image.at(123, 10), kWhite);
    EXPECT_EQ(picture.image.at(0, 50), kDark);     // F reaches in from x = -2
    EXPECT_EQ(picture.image.at(1, 50), kWhite);

    scene.build(store, view, 2, 3);
    EXPECT_FALSE(scene.listsEveryMark()) << "more marks than the list takes";
    EXPECT_TRUE(scene.marks().empty());
    EXPECT_EQ(scene.visible(), 4u);
}

TEST(PlotScene, OneByOneAndFromTheGridPaintTheSamePixels) {
    std::mt19937 random(17);
    std::uniform_real_distribution<double> e(-120, 120), n(-80, 80);
    for (int radius : {0, 1, 2, 3}) {
        for (std::size_t count : {0u, 1u, 50u, 3000u}) {
            PointStore store;
            for (std::size_t i = 0; i < count; ++i) addPoint(store, "", e(random), n(random));
            PlotView view = viewOf(173, 111, {3, -2}, 0.9);
            PlotScene scene;
            scene.build(store, view, radius, count + 1);
            Picture one(173, 111), grid(173, 111);
            paintMarksOneByOne(one.image, scene, kDark);
            std::vector<std::uint8_t> work;
            paintMarksFromGrid(grid.image, scene, kDark, work);
            ASSERT_EQ(one.pixels, grid.pixels) << "radius " << radius << ", " << count << " points";
        }
    }
}

TEST(PixelImage, ShapesAreClippedToThePicture) {
    Picture picture(10, 8);
    fillSquare(picture.image, 0, 0, 2, kDark);
    fillSquare(picture.image, 9, 7, 1, kDark);
    fillSquare(picture.image, -100, 50, 3, kDark);
    frameSquare(picture.image, 5, 4, 2, 1, 0xFF0000);
    const char* expected[] = {
        "###.......",  //
        "###.......",  //
        "###rrrrr..",  //
        "...r...r..",  //
        "...r...r..",  //
        "...r...r..",  //
        "...rrrrr##",  //
        "........##",
    };
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 10; ++x) {
            std::uint32_t want = expected[y][x] == '#' ? kDark : expected[y][x] == 'r' ? 0xFF0000 : kWhite;
            EXPECT_EQ(picture.image.at(x, y), want) << x << "," << y;
        }
}

TEST(LabelPlacer, NamesNeverOverlapMarksOrEachOther) {
    std::mt19937 random(23);
    std::uniform_int_distribution<int> x(-10, 410), y(-10, 310), width(8, 70);
    for (int round = 0; round < 20; ++round) {
        LabelPlacer placer(400, 300, round % 4 + 1);
        std::vector<PixelRect> marks, names;
        for (int i = 0; i < 150; ++i) {
            int mx = x(random), my = y(random);
            marks.push_back({mx - 2, my - 2, mx + 3, my + 3});
            placer.take(marks.back());
        }
        for (std::size_t i = 0; i < marks.size(); ++i) {
            PixelRect where;
            if (placer.place(marks[i].left + 2, marks[i].top + 2, 2, width(random), 13, 2, where)) names.push_back(where);
        }
        EXPECT_FALSE(names.empty());
        for (std::size_t i = 0; i < names.size(); ++i) {
            const PixelRect& a = names[i];
            ASSERT_TRUE(a.left >= 0 && a.top >= 0 && a.right <= 400 && a.bottom <= 300) << "inside the window";
            for (const PixelRect& mark : marks) ASSERT_FALSE(a.overlaps(mark));
            for (std::size_t j = i + 1; j < names.size(); ++j) ASSERT_FALSE(a.overlaps(names[j]));
        }
    }
}

TEST(LabelPlacer, TriesRightThenLeftThenAboveAndBelow) {
    LabelPlacer placer(200, 100, 1);
    PixelRect where;
    ASSERT_TRUE(placer.place(100, 50, 2, 30, 10, 3, where));
    EXPECT_EQ(where.left, 106);  // mark reaches 102, gap 3
    EXPECT_EQ(where.top, 45);
    ASSERT_TRUE(placer.place(100, 50, 2, 30, 10, 3, where));
    EXPECT_EQ(where.right, 95) << "the right is taken: to the left";
    ASSERT_TRUE(placer.place(100, 50, 2, 30, 10, 3, where));
    EXPECT_EQ(where.bottom, 45) << "then above";
    ASSERT_TRUE(placer.place(195, 50, 2, 30, 10, 3, where));
    EXPECT_EQ(where.right, 190) << "no room on the right at the edge";
    EXPECT_FALSE(placer.place(10, 10, 2, 500, 10, 3, where)) << "wider than the window";
    EXPECT_FALSE(placer.place(10, 10, 2, 0, 10, 3, where));
}

TEST(PlotNames, TheSelectedNameFirstThenRowOrderOnlyItWhenTooMany) {
    PointStore store;
    addPoint(store, "FIRST", 0, 0);
    addPoint(store, "SECOND", 0.5, 0);   // on top of FIRST at this scale
    addPoint(store, "", 30, 30);         // no name to write
    addPoint(store, "FAR", -40, -30);
    PlotView view = viewOf(200, 150, {0, 0}, 1);
    PlotScene scene;
    scene.build(store, view, 2, 100);
    NameStyle style{12, 2, 2};
    auto widthOf = [](const PointRecord& p) { return static_cast<int>(std::string(p.name).size()) * 7; };

    std::vector<PlacedName> names = placeNames(store, scene, -1, PixelRect{0, 0, 0, 0}, style, widthOf);
    // SECOND's name goes to the left of the mark it shares with FIRST.
    ASSERT_EQ(names.size(), 3u);
    EXPECT_EQ(names[0].row, 0u);
    EXPECT_EQ(names[1].row, 1u);
    EXPECT_LT(names[1].rect.right, names[0].rect.left);
    EXPECT_EQ(names[2].row, 3u);

    ScreenPoint s = view.toScreen({0.5, 0});
    int sx = static_cast<int>(std::floor(s.x)), sy = static_cast<int>(std::floor(s.y));
    names = placeNames(store, scene, 1, PixelRect{sx - 4, sy - 4, sx + 5, sy + 5}, style, widthOf);
    ASSERT_GE(names.size(), 1u);
    EXPECT_EQ(names[0].row, 1u) << "the selected point's name comes first";
    EXPECT_GE(names[0].rect.left, sx + 5 + 2);

    // Marks all round the selected point: its name is written over them.
    PointStore crowd;
    for (int dx = -30; dx <= 30; dx += 3)
        for (int dy = -30; dy <= 30; dy += 3) addPoint(crowd, "C", dx, dy);
    PlotScene crowded;
    crowded.build(crowd, view, 1, 10000);
    std::size_t middle = crowd.size() / 2;  // at 0, 0: pixel 100, 75
    std::vector<PlacedName> named = placeNames(crowd, crowded, static_cast<long>(middle), PixelRect{96, 71, 105, 80},
                                               style, widthOf);
    ASSERT_FALSE(named.empty());
    EXPECT_EQ(named[0].row, middle);
    EXPECT_EQ(named[0].rect.left, 105 + 2);

    scene.build(store, view, 2, 2);  // not listed: the selected name alone
    names = placeNames(store, scene, 3, PixelRect{50, 100, 59, 109}, style, widthOf);
    ASSERT_EQ(names.size(), 1u);
    EXPECT_EQ(names[0].row, 3u);
    EXPECT_TRUE(placeNames(store, scene, -1, PixelRect{0, 0, 0, 0}, style, widthOf).empty());
}

}  // namespace
