// The two kinds of place on the plot: a place in the world of the points
// (easting E, northing N, in the instrument's length unit) and a place on
// the window (pixels from its top-left corner, x to the right, y down).
//
// Pixel (i, j) covers the screen points from (i, j) up to (i + 1, j + 1), so
// the pixel of a screen point is the floor of each of its coordinates.
#pragma once

#include <cmath>
#include <limits>

struct WorldPoint {
    double e;
    double n;
};

struct ScreenPoint {
    double x;
    double y;
};

// A pixel of the window: column x, row y.
struct Pixel {
    int x;
    int y;
};

// The pixel that holds a screen point, whose coordinates are finite and
// within the range of int: every place that draws or reports a point's
// pixel takes it from here.
inline Pixel pixelOf(ScreenPoint s) { return {static_cast<int>(std::floor(s.x)), static_cast<int>(std::floor(s.y))}; }

// A rectangle of pixels: left and top included, right and bottom not.
struct PixelRect {
    int left;
    int top;
    int right;
    int bottom;

    bool empty() const { return right <= left || bottom <= top; }
    bool overlaps(const PixelRect& other) const {
        return left < other.right && other.left < right && top < other.bottom && other.top < bottom;
    }
};

// Pixels kept free along each side of the window.
struct Insets {
    int left;
    int top;
    int right;
    int bottom;

    static Insets around(int pixels) { return {pixels, pixels, pixels, pixels}; }
};

// The smallest box with sides along E and N round the points added to it;
// empty until the first point.
struct WorldBox {
    double minE = std::numeric_limits<double>::infinity();
    double maxE = -std::numeric_limits<double>::infinity();
    double minN = std::numeric_limits<double>::infinity();
    double maxN = -std::numeric_limits<double>::infinity();

    bool empty() const { return minE > maxE; }
    void add(WorldPoint p) {
        if (p.e < minE) minE = p.e;
        if (p.e > maxE) maxE = p.e;
        if (p.n < minN) minN = p.n;
        if (p.n > maxN) maxN = p.n;
    }
    // Half the sides and the middle, computed from halves so that a box of
    // any finite coordinates has finite ones.
    double halfWidth() const { return maxE / 2 - minE / 2; }
    double halfHeight() const { return maxN / 2 - minN / 2; }
    WorldPoint middle() const { return {minE / 2 + maxE / 2, minN / 2 + maxN / 2}; }
};
