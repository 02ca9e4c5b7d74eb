#include "app/plot/PlotView.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

double clampTo(double value, double low, double high) {
    if (std::isnan(value)) return low;
    return std::min(std::max(value, low), high);
}

// The edge band of a side of size pixels: margin, or half the side when
// the side is too short for two margins.
double band(int size, int margin) { return std::min(static_cast<double>(std::max(margin, 0)), size / 2.0); }

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

void PlotView::fit(const WorldBox& box, int margin) {
    if (box.empty()) return;
    double roomX = std::max(1.0, width_ - 2.0 * std::max(margin, 0));
    double roomY = std::max(1.0, height_ - 2.0 * std::max(margin, 0));
    double halfWidth = box.halfWidth();
    double halfHeight = box.halfHeight();
    const double none = std::numeric_limits<double>::infinity();
    double byE = halfWidth > 0 ? (roomX / 2) / halfWidth : none;
    double byN = halfHeight > 0 ? (roomY / 2) / halfHeight : none;
    centre_ = box.middle();
    scale_ = (byE == none && byN == none) ? std::min(width_, height_) / kSpanOfOnePlace : std::min(byE, byN);
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

bool PlotView::shows(WorldPoint p, int margin) const {
    ScreenPoint s = toScreen(p);
    double bandX = band(width_, margin);
    double bandY = band(height_, margin);
    return s.x >= bandX && s.x <= width_ - bandX && s.y >= bandY && s.y <= height_ - bandY;
}

bool PlotView::bringIntoView(WorldPoint p, int margin) {
    if (shows(p, margin)) return false;
    ScreenPoint s = toScreen(p);
    double bandX = band(width_, margin);
    double bandY = band(height_, margin);
    double dx = s.x < bandX ? bandX - s.x : (s.x > width_ - bandX ? width_ - bandX - s.x : 0);
    double dy = s.y < bandY ? bandY - s.y : (s.y > height_ - bandY ? height_ - bandY - s.y : 0);
    if (std::fabs(dx) > width_ || std::fabs(dy) > height_)
        centreOn(p);
    else
        pan(dx, dy);
    return true;
}
