#include "app/plot/PlotView.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

double clampTo(double value, double low, double high) {
    if (std::isnan(value)) return low;
    return std::min(std::max(value, low), high);
}

// The room between the insets low and high of a side of size pixels, from
// low to high; a side too short for both shares itself between them in
// their proportion, so that the room is a line.
struct Room {
    double low;
    double high;
    double middle() const { return (low + high) / 2; }
};

Room roomBetween(int size, int low, int high) {
    double before = std::max(low, 0), after = std::max(high, 0);
    if (before + after > size) {
        double share = size / (before + after);
        before *= share;
        after *= share;
    }
    return {before, size - after};
}

}  // namespace

PlotView::PlotView() { settle(); }

WorldPoint PlotView::toWorld(ScreenPoint s) const {
    return {centre_.e + (s.x - width_ / 2.0) / scale_, centre_.n - (s.y - height_ / 2.0) / scale_};
}

void PlotView::settle() {
    if (std::isnan(centre_.e) || std::isnan(centre_.n)) centre_ = {0, 0};
    centre_.e = clampTo(centre_.e, -kWorldLimit, kWorldLimit);
    centre_.n = clampTo(centre_.n, -kWorldLimit, kWorldLimit);
    double magnitude = std::max(std::fabs(centre_.e), std::fabs(centre_.n));
    double finest = std::max(kFinestUnit, kRelativeFinest * magnitude);
    double unitsPerPixel = std::isnan(scale_) || scale_ <= 0 ? kCoarsestUnit : 1 / scale_;
    unitsPerPixel = clampTo(unitsPerPixel, finest, kCoarsestUnit);
    scale_ = 1 / unitsPerPixel;
    originX_ = width_ / 2.0 - centre_.e * scale_;
    originY_ = height_ / 2.0 + centre_.n * scale_;
}

void PlotView::resize(int width, int height) {
    width_ = std::max(width, 1);
    height_ = std::max(height, 1);
    settle();
}

void PlotView::setScale(double scale) {
    scale_ = scale;
    settle();
}

void PlotView::centreOn(WorldPoint p) {
    centre_ = p;
    settle();
}

void PlotView::fit(const WorldBox& box, const Insets& insets) {
    if (box.empty()) return;
    const Room x = roomBetween(width_, insets.left, insets.right);
    const Room y = roomBetween(height_, insets.top, insets.bottom);
    double roomX = std::max(1.0, x.high - x.low);
    double roomY = std::max(1.0, y.high - y.low);
    double halfWidth = box.halfWidth();
    double halfHeight = box.halfHeight();
    const double none = std::numeric_limits<double>::infinity();
    double byE = halfWidth > 0 ? (roomX / 2) / halfWidth : none;
    double byN = halfHeight > 0 ? (roomY / 2) / halfHeight : none;
    centre_ = box.middle();
    scale_ = (byE == none && byN == none) ? std::min(width_, height_) / kSpanOfOnePlace : std::min(byE, byN);
    settle();
    // The box's middle goes to the middle of the room, which lies off the
    // window's middle where the insets differ.
    centre_.e -= (x.middle() - width_ / 2.0) / scale_;
    centre_.n += (y.middle() - height_ / 2.0) / scale_;
    settle();
}

void PlotView::zoomAbout(ScreenPoint at, double factor) {
    if (!(factor > 0) || std::isinf(factor)) return;
    WorldPoint under = toWorld(at);
    scale_ *= factor;
    settle();
    centre_ = {under.e - (at.x - width_ / 2.0) / scale_, under.n + (at.y - height_ / 2.0) / scale_};
    settle();
}

void PlotView::pan(double dx, double dy) {
    centre_.e -= dx / scale_;
    centre_.n += dy / scale_;
    settle();
}

// A fit puts the box's sides on the room's edges but for the rounding of
// the arithmetic: a point that far outside counts as in the room.
bool PlotView::shows(WorldPoint p, const Insets& insets) const {
    constexpr double kSlack = 1e-6;  // pixels
    ScreenPoint s = toScreen(p);
    const Room x = roomBetween(width_, insets.left, insets.right);
    const Room y = roomBetween(height_, insets.top, insets.bottom);
    return s.x >= x.low - kSlack && s.x <= x.high + kSlack && s.y >= y.low - kSlack && s.y <= y.high + kSlack;
}

bool PlotView::bringIntoView(WorldPoint p, const Insets& insets) {
    if (shows(p, insets)) return false;
    ScreenPoint s = toScreen(p);
    const Room x = roomBetween(width_, insets.left, insets.right);
    const Room y = roomBetween(height_, insets.top, insets.bottom);
    double dx = s.x < x.low ? x.low - s.x : (s.x > x.high ? x.high - s.x : 0);
    double dy = s.y < y.low ? y.low - s.y : (s.y > y.high ? y.high - s.y : 0);
    if (std::fabs(dx) > width_ || std::fabs(dy) > height_)
        centreOn(p);
    else
        pan(dx, dy);
    return true;
}
