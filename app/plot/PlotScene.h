// What one view of the store shows of its points, found in one pass over
// the store: the pixel of every drawn point whose mark reaches into the
// window.
//
// The scene keeps a grid of the pixels that hold a point, as far out as a
// mark reaches beyond the window's edges, so that where the points
// outnumber the pixels the marks are drawn once per occupied pixel instead
// of once per point. Up to a limit it also lists the marks one by one, with
// their rows, for their names.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

class PlotView;
class PointStore;

struct PlotMark {
    std::size_t row;
    int x;  // the pixel of the point
    int y;
};

class PlotScene {
public:
    // The marks of the view's drawn points, each reaching markRadius
    // pixels round its point's pixel; listed one by one while they are no
    // more than listLimit.
    void build(const PointStore& store, const PlotView& view, int markRadius, std::size_t listLimit);

    int width() const { return width_; }
    int height() const { return height_; }
    int markRadius() const { return radius_; }

    // Drawn points whose mark reaches into the window.
    std::size_t visible() const { return visible_; }
    // Every visible mark is in marks(), in row order.
    bool listsEveryMark() const { return listsEveryMark_; }
    const std::vector<PlotMark>& marks() const { return marks_; }

    // Pixels that hold at least one visible point. Pixel (x, y), for x from
    // -markRadius to width + markRadius - 1 and y likewise.
    bool occupied(int x, int y) const;
    std::size_t occupiedCount() const { return occupiedCount_; }
    // The grid row by row, each gridWidth() pixels from x = -markRadius.
    int gridWidth() const { return width_ + 2 * radius_; }
    int gridHeight() const { return height_ + 2 * radius_; }
    const std::uint8_t* gridRow(int gridY) const {
        return grid_.data() + static_cast<std::size_t>(gridY) * static_cast<std::size_t>(gridWidth());
    }

private:
    int width_ = 0;
    int height_ = 0;
    int radius_ = 0;
    std::size_t visible_ = 0;
    std::size_t occupiedCount_ = 0;
    bool listsEveryMark_ = true;
    std::vector<PlotMark> marks_;
    std::vector<std::uint8_t> grid_;
};
