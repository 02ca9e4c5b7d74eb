// Where the plot's parts lie on its window, in pixels: the sizes of the
// marks and of what is drawn over them at a DPI, the places of the scale bar
// (bottom left) and of the north arrow (top right), and the insets that a
// fit keeps free along the window's sides so that neither covers a mark or
// the name beside it.
//
// The Win32 painter draws from these places; nothing else decides them.
#pragma once

#include "app/plot/PlotGeometry.h"

// A size given in pixels at 96 DPI, at dpi (rounded to the nearest pixel).
int pixelsAtDpi(int pixels, int dpi);

// Sizes in pixels at a DPI.
struct PlotSizes {
    explicit PlotSizes(int dpi);
    int markRadius;      // a mark is 2 * markRadius + 1 pixels square
    int selectedRadius;
    int selectedFrame;   // the width of the selected mark's outline
    int hitRadius;       // how near a click must be to a point
    int margin;          // free round the fitted points, and round a point brought into view
    int nameGap;
    int scaleBarMost;
    int arrowLength;
    int padding;
};

// The scale bar: a bar along the bottom left with a tick up at each end,
// and its length written above it on white.
struct ScaleBarPlace {
    PixelRect bar;
    PixelRect leftTick;
    PixelRect rightTick;
    PixelRect label;
    // All of it.
    PixelRect area() const;
};

// A bar of length pixels in a view viewHeight pixels high, its label
// labelWidth x textHeight pixels.
ScaleBarPlace placeScaleBar(const PlotSizes& sizes, int viewHeight, int length, int labelWidth, int textHeight);

// The north arrow: its letter at the top right, below it an arrow pointing
// up, a head (a triangle from the tip down to headBottom, headHalf pixels
// to each side of the tip at its base) on a shaft.
struct NorthArrowPlace {
    PixelRect letter;
    Pixel tip;
    int headBottom;
    int headHalf;
    PixelRect shaft;
    // All of it.
    PixelRect area() const;
};

// The arrow in a view viewWidth pixels wide, its letter letterWidth x
// textHeight pixels.
NorthArrowPlace placeNorthArrow(const PlotSizes& sizes, int viewWidth, int letterWidth, int textHeight);

// What a fit keeps free along each side: the margin, and at the top and the
// bottom enough that a mark between the insets, and a name of textHeight
// pixels written beside it, stays clear of the north arrow and the scale
// bar, whatever the width of the window, of the bar and of their texts.
Insets fitInsets(const PlotSizes& sizes, int textHeight);
