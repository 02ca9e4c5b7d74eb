// Which names the plot writes beside their marks, and where: the selected
// point's first, then the others in row order, each where it overlaps no
// other name and no mark (LabelPlacer). The selected point's name is
// written even where every place beside it is taken, over the marks on its
// right. Names are written only when the scene lists its marks one by one;
// otherwise the selected point's alone.
#pragma once

#include <cstddef>
#include <functional>
#include <vector>

#include "app/plot/PlotGeometry.h"

class PlotScene;
class PointRecord;
class PointStore;

struct PlacedName {
    std::size_t row;
    PixelRect rect;
};

struct NameStyle {
    int textHeight;     // pixels of a line of text
    int gap;            // pixels between a mark and its name
    int cell;           // the placer's cell, pixels square
};

// selectedAt is the selected point's mark, an empty rectangle when no point
// is selected or the view does not show it; textWidth tells a name's width
// in pixels. No name is placed over the rectangles of keepFree (what is
// drawn over the points).
std::vector<PlacedName> placeNames(const PointStore& store, const PlotScene& scene, long selectedRow,
                                   const PixelRect& selectedAt, const NameStyle& style,
                                   const std::function<int(const PointRecord&)>& textWidth,
                                   const std::vector<PixelRect>& keepFree = {});
