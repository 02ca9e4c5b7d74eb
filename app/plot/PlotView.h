// Where the world of the points lies on the plot's window: easting E to the
// right, northing N up, one scale for both axes.
//
// A view is the window's size in pixels, the world point at the window's
// centre and the scale in pixels per unit. A world point p is shown at
//     x = p.e * scale + (width / 2 - centre.e * scale)
//     y = (height / 2 + centre.n * scale) - p.n * scale
// and its mark in the pixel that holds (x, y) (pixelOf, PlotGeometry.h).
//
// The scale stays between limits that keep every figure finite and
// meaningful: a pixel stands for at least kFinestUnit units and at least
// kRelativeFinest times the larger coordinate of the centre (finer than that
// the coordinates carry no more digits), and for at most kCoarsestUnit
// units. The centre stays within kWorldLimit of the origin. Every operation
// keeps these limits, so a scale or centre asked for beyond them is set to
// the nearest one allowed.
#pragma once

#include "app/plot/PlotGeometry.h"

class PlotView {
public:
    static constexpr double kFinestUnit = 1e-6;
    static constexpr double kRelativeFinest = 1e-12;
    static constexpr double kCoarsestUnit = 1e300;
    static constexpr double kWorldLimit = 1e307;
    // Points that all lie at one place are shown this many units across
    // the window's shorter side.
    static constexpr double kSpanOfOnePlace = 10;

    // A window of one pixel, centred on the origin, one pixel per unit.
    PlotView();

    int width() const { return width_; }
    int height() const { return height_; }
    WorldPoint centre() const { return centre_; }
    double scale() const { return scale_; }

    ScreenPoint toScreen(WorldPoint p) const { return {p.e * scale_ + originX_, originY_ - p.n * scale_}; }
    WorldPoint toWorld(ScreenPoint s) const;

    // The window is now width x height pixels (each at least 1); the centre
    // and the scale stay.
    void resize(int width, int height);
    void setScale(double scale);
    void centreOn(WorldPoint p);

    // Shows the whole box, centred between the insets, at the largest scale
    // that keeps the insets free (as far as the window has room: insets
    // that add up to more than a side share it in their proportion). An
    // empty box changes nothing; a box of one place is shown
    // kSpanOfOnePlace units across.
    void fit(const WorldBox& box, const Insets& insets);
    void fit(const WorldBox& box, int margin) { fit(box, Insets::around(margin)); }

    // Multiplies the scale by factor; the world point under the screen point
    // stays under it.
    void zoomAbout(ScreenPoint at, double factor);

    // Moves the picture by dx, dy pixels, as a drag of the mouse does.
    void pan(double dx, double dy);

    // The world point lies in the window between the insets (shared as fit
    // shares them), to a millionth of a pixel.
    bool shows(WorldPoint p, const Insets& insets) const;
    bool shows(WorldPoint p, int margin) const { return shows(p, Insets::around(margin)); }
    // Moves the picture as little as brings the point between the insets;
    // a point more than a window away is centred instead. True when the
    // view moved.
    bool bringIntoView(WorldPoint p, const Insets& insets);
    bool bringIntoView(WorldPoint p, int margin) { return bringIntoView(p, Insets::around(margin)); }

private:
    void settle();

    int width_ = 1;
    int height_ = 1;
    WorldPoint centre_{0, 0};
    double scale_ = 1;
    double originX_ = 0;  // x of the world's E = 0
    double originY_ = 0;  // y of the world's N = 0
};
