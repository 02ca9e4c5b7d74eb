#include "app/plot/PlotScene.h"

#include <algorithm>

#include "app/plot/PlotView.h"
#include "app/plot/PointExtent.h"
#include "points/PointStore.h"

void PlotScene::build(const PointStore& store, const PlotView& view, int markRadius, std::size_t listLimit) {
    width_ = view.width();
    height_ = view.height();
    radius_ = std::max(markRadius, 0);
    visible_ = 0;
    occupiedCount_ = 0;
    listsEveryMark_ = true;
    marks_.clear();
    const int gridW = gridWidth(), gridH = gridHeight();
    grid_.assign(static_cast<std::size_t>(gridW) * static_cast<std::size_t>(gridH), 0);

    // The transform of PlotView::toScreen, taken apart for the loop.
    const ScreenPoint origin = view.toScreen({0, 0});
    const double scale = view.scale();
    const double low = -radius_;
    const double highX = width_ + radius_, highY = height_ + radius_;
    for (std::size_t row = 0, rows = store.size(); row < rows; ++row) {
        const PointRecord& point = store.at(row);
        if (!drawable(point)) continue;
        double x = point.e * scale + origin.x;
        double y = origin.y - point.n * scale;
        if (!(x >= low && x < highX && y >= low && y < highY)) continue;
        const Pixel pixel = pixelOf({x, y});
        ++visible_;
        std::uint8_t& cell = grid_[static_cast<std::size_t>(pixel.y + radius_) * static_cast<std::size_t>(gridW) +
                                   static_cast<std::size_t>(pixel.x + radius_)];
        if (!cell) {
            cell = 1;
            ++occupiedCount_;
        }
        if (listsEveryMark_) {
            if (marks_.size() < listLimit) {
                marks_.push_back({row, pixel.x, pixel.y});
            } else {
                listsEveryMark_ = false;
                marks_.clear();
            }
        }
    }
}

bool PlotScene::occupied(int x, int y) const {
    int gx = x + radius_, gy = y + radius_;
    if (gx < 0 || gy < 0 || gx >= gridWidth() || gy >= gridHeight()) return false;
    return gridRow(gy)[gx] != 0;
}
