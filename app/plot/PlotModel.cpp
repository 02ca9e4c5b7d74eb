#include "app/plot/PlotModel.h"

#include <algorithm>
#include <utility>

PlotModel::PlotModel(const PointStore& store, std::function<void()> changed)
    : store_(store), changed_(std::move(changed)) {}

const PlotView& PlotModel::view() {
    followPoints();
    return view_;
}

const PointExtent& PlotModel::extent() {
    if (!extentKnown_) {
        extent_ = measurePoints(store_);
        extentKnown_ = true;
        ++measures_;
    }
    return extent_;
}

void PlotModel::setInsets(const Insets& insets) {
    insets_ = {std::max(insets.left, 0), std::max(insets.top, 0), std::max(insets.right, 0),
               std::max(insets.bottom, 0)};
}

// The corners of the box round the drawn points are between the insets.
bool PlotModel::showsAll() {
    const WorldBox& box = extent().box;
    return box.empty() ||
           (view_.shows({box.minE, box.minN}, insets_) && view_.shows({box.maxE, box.maxN}, insets_));
}

void PlotModel::fitIfOutside() {
    if (!sized_) return;
    if (extent().drawn == 0) {
        follow_ = Follow::Waiting;
        return;
    }
    if (follow_ == Follow::Waiting || (follow_ == Follow::Fitted && !showsAll())) fit();
}

// What the store's changes since the last time call for, once the plot has
// a size to show it in.
void PlotModel::followPoints() {
    if (!followPending_ || hidden_) return;
    followPending_ = false;
    fitIfOutside();
}

void PlotModel::resize(int width, int height) {
    if (width <= 0 || height <= 0) {
        hidden_ = true;
        return;
    }
    hidden_ = false;
    view_.resize(width, height);
    sized_ = true;
    if (follow_ == Follow::Waiting) followPending_ = true;
    changed_();
}

void PlotModel::fit() {
    followPending_ = false;
    if (!sized_ || extent().drawn == 0) {
        follow_ = Follow::Waiting;
    } else {
        view_.fit(extent().box, insets_);
        follow_ = Follow::Fitted;
    }
}

void PlotModel::fitAll() {
    fit();
    changed_();
}

void PlotModel::zoomAbout(ScreenPoint at, double factor) {
    followPoints();
    view_.zoomAbout(at, factor);
    if (follow_ != Follow::Waiting) follow_ = Follow::Free;
    changed_();
}

void PlotModel::pan(double dx, double dy) {
    followPoints();
    view_.pan(dx, dy);
    if (follow_ != Follow::Waiting) follow_ = Follow::Free;
    changed_();
}

void PlotModel::select(long row, bool keepInView) {
    if (row < 0 || static_cast<std::size_t>(row) >= store_.size()) row = kNoRow;
    selected_ = row;
    if (keepInView && row != kNoRow) {
        followPoints();
        const PointRecord& point = store_.at(static_cast<std::size_t>(row));
        if (drawable(point) && view_.bringIntoView({point.e, point.n}, insets_) && follow_ == Follow::Fitted)
            follow_ = Follow::Free;
    }
    changed_();
}

long PlotModel::pointAt(ScreenPoint at, double radius) {
    followPoints();
    if (!index_.built()) index_.build(store_);
    return index_.nearest(view_.toWorld(at), radius / view_.scale());
}

void PlotModel::pointsChanged() {
    index_.clear();
    followPending_ = true;
    changed_();
}

void PlotModel::rowsAdded(std::size_t first, std::size_t count) {
    if (extentKnown_) extent_.add(store_, first, count);
    pointsChanged();
}

void PlotModel::rowChanged(std::size_t) {
    extentKnown_ = false;
    pointsChanged();
}

void PlotModel::rowRemoved(std::size_t row) {
    if (selected_ != kNoRow) {
        if (static_cast<std::size_t>(selected_) == row)
            selected_ = kNoRow;
        else if (static_cast<std::size_t>(selected_) > row)
            --selected_;
    }
    extentKnown_ = false;
    pointsChanged();
}

void PlotModel::allRemoved() {
    selected_ = kNoRow;
    extent_ = PointExtent();
    extentKnown_ = true;
    follow_ = Follow::Waiting;
    pointsChanged();
}
