#include "app/plot/HitIndex.h"

#include <algorithm>
#include <cmath>

#include "app/plot/PointExtent.h"
#include "points/PointStore.h"

namespace {

// About this many points to a cell, and no more cells than this.
constexpr double kPointsPerCell = 2;
constexpr std::size_t kMostCells = std::size_t(1) << 21;

// Where a coordinate lies along a side of the box, from 0 at its low edge to
// cells at its high one, clamped to a cell of the grid.
std::size_t cellAlong(double value, double low, double half, std::size_t cells) {
    if (cells <= 1 || !(half > 0)) return 0;
    double at = (value / 2 - low / 2) / half * static_cast<double>(cells);
    if (!(at > 0)) return 0;  // below the box, or not a number
    if (at >= static_cast<double>(cells - 1)) return cells - 1;
    return static_cast<std::size_t>(at);
}

}  // namespace

std::size_t HitIndex::cellColumn(double e) const { return cellAlong(e, box_.minE, box_.halfWidth(), columns_); }

std::size_t HitIndex::cellRow(double n) const { return cellAlong(n, box_.minN, box_.halfHeight(), rows_); }

void HitIndex::clear() {
    store_ = nullptr;
    box_ = WorldBox();
    columns_ = rows_ = 0;
    cellStart_.clear();
    rowOf_.clear();
}

void HitIndex::build(const PointStore& store) {
    clear();
    PointExtent extent = measurePoints(store);
    box_ = extent.box;
    // Cells as square as the box allows, their number about the points' over
    // kPointsPerCell; a box without width or height is one cell across.
    double cells = std::min(static_cast<double>(kMostCells),
                            std::max(1.0, std::ceil(static_cast<double>(extent.drawn) / kPointsPerCell)));
    double halfWidth = box_.empty() ? 0 : box_.halfWidth();
    double halfHeight = box_.empty() ? 0 : box_.halfHeight();
    double across = 1;
    double down = 1;
    if (halfWidth > 0 && halfHeight > 0) {
        double aspect = halfWidth / halfHeight;
        across = std::sqrt(cells * aspect);
        down = std::sqrt(cells / aspect);
    } else if (halfWidth > 0) {
        across = cells;
    } else if (halfHeight > 0) {
        down = cells;
    }
    columns_ = static_cast<std::size_t>(std::min(std::max(1.0, std::floor(across)), cells));
    rows_ = static_cast<std::size_t>(std::min(std::max(1.0, std::floor(down)), cells));
    while (columns_ * rows_ > kMostCells) {
        if (columns_ > rows_) --columns_; else --rows_;
    }

    // A counting sort of the rows by cell keeps each cell's rows in order.
    std::size_t count = columns_ * rows_;
    cellStart_.assign(count + 1, 0);
    std::vector<std::uint32_t> cellOf;
    cellOf.reserve(extent.drawn);
    for (std::size_t row = 0; row < store.size(); ++row) {
        const PointRecord& point = store.at(row);
        if (!drawable(point)) continue;
        std::size_t cell = cellRow(point.n) * columns_ + cellColumn(point.e);
        cellOf.push_back(static_cast<std::uint32_t>(cell));
        ++cellStart_[cell + 1];
    }
    for (std::size_t c = 0; c < count; ++c) cellStart_[c + 1] += cellStart_[c];
    rowOf_.resize(cellOf.size());
    std::vector<std::uint32_t> next(cellStart_.begin(), cellStart_.end() - 1);
    std::size_t k = 0;
    for (std::size_t row = 0; row < store.size(); ++row) {
        if (!drawable(store.at(row))) continue;
        rowOf_[next[cellOf[k++]]++] = static_cast<std::uint32_t>(row);
    }
    store_ = &store;
}

long HitIndex::nearest(WorldPoint at, double radius) const {
    if (!store_ || rowOf_.empty() || !(radius >= 0) || !std::isfinite(at.e) || !std::isfinite(at.n)) return kNone;
    // Nothing of the box lies within reach.
    if (at.e + radius < box_.minE || at.e - radius > box_.maxE || at.n + radius < box_.minN ||
        at.n - radius > box_.maxN)
        return kNone;
    std::size_t firstColumn = cellColumn(at.e - radius), lastColumn = cellColumn(at.e + radius);
    std::size_t firstRow = cellRow(at.n - radius), lastRow = cellRow(at.n + radius);
    // Distances in units of the radius, so that no square overflows.
    long best = kNone;
    double bestDistance = 1;
    for (std::size_t r = firstRow; r <= lastRow; ++r) {
        for (std::size_t c = firstColumn; c <= lastColumn; ++c) {
            std::size_t cell = r * columns_ + c;
            for (std::size_t k = cellStart_[cell]; k < cellStart_[cell + 1]; ++k) {
                std::uint32_t row = rowOf_[k];
                const PointRecord& point = store_->at(row);
                double de = std::fabs(point.e - at.e);
                double dn = std::fabs(point.n - at.n);
                if (de > radius || dn > radius) continue;
                double distance = 0;
                if (radius > 0) {
                    de /= radius;
                    dn /= radius;
                    distance = de * de + dn * dn;
                }
                if (distance < bestDistance || (distance == bestDistance && (best == kNone || static_cast<long>(row) < best))) {
                    best = static_cast<long>(row);
                    bestDistance = distance;
                }
            }
        }
    }
    return best;
}
