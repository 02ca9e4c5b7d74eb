// Places the names of points beside their marks where they overlap neither
// another name nor a mark: first come, first served, on a grid of the
// window's pixels in small square cells that are free or taken.
//
// Marks are taken first (take), then each name in turn tries the places
// round its mark (place) and takes the first that is wholly inside the
// window and on free cells. A rectangle takes every cell it touches, so two
// rectangles that have been placed never share a pixel.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "app/plot/PlotGeometry.h"

class LabelPlacer {
public:
    // A window of width x height pixels, cells of cell pixels square.
    LabelPlacer(int width, int height, int cell);

    // The rectangle's cells are taken from now on (the part inside the
    // window).
    void take(const PixelRect& rect);
    // The whole rectangle is inside the window, and no cell it touches is
    // taken.
    bool free(const PixelRect& rect) const;

    // A name of width x height pixels for the mark whose pixel is (x, y)
    // and that reaches markRadius pixels from it: tried at gap pixels to the
    // right of the mark, then to its left, above it, below it and at its
    // four corners. The first free place is taken and returned in where;
    // false when none is free.
    bool place(int x, int y, int markRadius, int width, int height, int gap, PixelRect& where);

private:
    struct Cells {
        int firstColumn;
        int lastColumn;
        int firstRow;
        int lastRow;
    };
    Cells cellsOf(const PixelRect& rect) const;
    std::size_t index(int column, int row) const;

    int width_;
    int height_;
    int cell_;
    int columns_;
    int rows_;
    std::vector<std::uint8_t> taken_;
};
