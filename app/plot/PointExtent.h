// Which points the plot can draw, and the box round them.
//
// A point is drawn when its E and N are finite numbers; its height plays no
// part in the plot. The others are left out and counted.
#pragma once

#include <cmath>
#include <cstddef>

#include "app/plot/PlotGeometry.h"
#include "points/PointRecord.h"

class PointStore;

inline bool drawable(const PointRecord& point) { return std::isfinite(point.e) && std::isfinite(point.n); }

struct PointExtent {
    WorldBox box;              // round the drawable points
    std::size_t drawn = 0;     // drawable points
    std::size_t leftOut = 0;   // points with E or N not finite

    // Takes in rows first .. first + count - 1 of the store (count cut to
    // the rows there are).
    void add(const PointStore& store, std::size_t first, std::size_t count);
};

// The extent of every row of the store.
PointExtent measurePoints(const PointStore& store);
