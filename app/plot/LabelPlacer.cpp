#include "app/plot/LabelPlacer.h"

#include <algorithm>

LabelPlacer::LabelPlacer(int width, int height, int cell)
    : width_(std::max(width, 0)),
      height_(std::max(height, 0)),
      cell_(std::max(cell, 1)),
      columns_((width_ + cell_ - 1) / cell_),
      rows_((height_ + cell_ - 1) / cell_),
      taken_(static_cast<std::size_t>(columns_) * static_cast<std::size_t>(rows_), 0) {}

// The cells that the part of the rectangle inside the window touches:
// columns first .. lastColumn, rows firstRow .. lastRow; none when the
// rectangle misses the window.
LabelPlacer::Cells LabelPlacer::cellsOf(const PixelRect& rect) const {
    int left = std::max(rect.left, 0), top = std::max(rect.top, 0);
    int right = std::min(rect.right, width_), bottom = std::min(rect.bottom, height_);
    if (right <= left || bottom <= top) return {0, -1, 0, -1};
    return {left / cell_, (right - 1) / cell_, top / cell_, (bottom - 1) / cell_};
}

std::size_t LabelPlacer::index(int column, int row) const {
    return static_cast<std::size_t>(row) * static_cast<std::size_t>(columns_) + static_cast<std::size_t>(column);
}

void LabelPlacer::take(const PixelRect& rect) {
    Cells cells = cellsOf(rect);
    for (int row = cells.firstRow; row <= cells.lastRow; ++row)
        for (int column = cells.firstColumn; column <= cells.lastColumn; ++column) taken_[index(column, row)] = 1;
}

bool LabelPlacer::free(const PixelRect& rect) const {
    if (rect.empty() || rect.left < 0 || rect.top < 0 || rect.right > width_ || rect.bottom > height_) return false;
    Cells cells = cellsOf(rect);
    for (int row = cells.firstRow; row <= cells.lastRow; ++row)
        for (int column = cells.firstColumn; column <= cells.lastColumn; ++column)
            if (taken_[index(column, row)]) return false;
    return true;
}

bool LabelPlacer::place(int x, int y, int markRadius, int width, int height, int gap, PixelRect& where) {
    if (width <= 0 || height <= 0) return false;
    int reach = markRadius + gap;
    int rightOf = x + reach + 1, leftOf = x - reach - width;
    int above = y - reach - height, below = y + reach + 1;
    int middleX = x - width / 2, middleY = y - height / 2;
    const int places[][2] = {
        {rightOf, middleY}, {leftOf, middleY}, {middleX, above}, {middleX, below},
        {rightOf, above},   {rightOf, below},  {leftOf, above},  {leftOf, below},
    };
    for (const auto& place : places) {
        PixelRect rect{place[0], place[1], place[0] + width, place[1] + height};
        if (free(rect)) {
            take(rect);
            where = rect;
            return true;
        }
    }
    return false;
}
