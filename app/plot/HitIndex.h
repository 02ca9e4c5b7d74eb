// Finds the drawn point nearest to a place on the plot, quickly among a
// million: the drawable points of a store sorted into a grid of cells over
// the box round them, about two points to a cell where they spread evenly.
//
// The index describes the store as it was when it was built; build it again
// after the store changes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "app/plot/PlotGeometry.h"

class PointStore;

class HitIndex {
public:
    static constexpr long kNone = -1;

    void build(const PointStore& store);
    void clear();
    bool built() const { return store_ != nullptr; }

    // The row of the drawable point nearest to at, no further than radius
    // units from it; of points equally near, the first row. kNone when
    // there is none, or when the index has not been built.
    long nearest(WorldPoint at, double radius) const;

private:
    // The cell column or row of a coordinate, clamped into the grid.
    std::size_t cellColumn(double e) const;
    std::size_t cellRow(double n) const;

    const PointStore* store_ = nullptr;
    WorldBox box_;
    std::size_t columns_ = 0;
    std::size_t rows_ = 0;
    // Rows of the points of cell c: rowOf_[cellStart_[c] .. cellStart_[c + 1]),
    // in store order. Cells run along E first.
    std::vector<std::uint32_t> cellStart_;
    std::vector<std::uint32_t> rowOf_;
};
