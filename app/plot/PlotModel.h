// The plot of a point store: the view, the selected row, and what the plot
// knows of the points, kept in step with the store as one of its observers
// (whoever shows the plot registers it with the store).
//
// The view fits all drawn points between the insets when the plot gets its
// size and, until the user zooms or pans, fits them again whenever a change
// of the store leaves one outside the room between the insets; after a zoom
// or a pan the view stays where the user put it, until fitAll. Resizing
// keeps the centre and the scale. When the store has no drawn point the view
// waits, and fits the first ones.
//
// A change of the store only notes what it changed and asks for a picture;
// the view follows the points when it is next asked for (view, the next
// picture, or any move of the user's). So a batch of changes, such as the
// names trimmed after a send, the rows of an Import or a Clear, costs at most
// one pass over the store however many rows it changes: rows added at the
// end are taken into the extent as they come, a changed or removed row
// leaves the extent to be measured again once.
//
// A size with no pixels (the window is minimised) changes nothing: the view
// keeps its size, centre and scale, and what the store's changes call for
// waits until the plot has a size again, so a point that came meanwhile is
// in view then if the view followed the points before.
//
// Every change of what the plot shows calls changed, which only asks for a
// new picture (a window invalidates itself and draws later), so a stream
// of changes costs one picture, not one each.
#pragma once

#include <cstddef>
#include <functional>

#include "app/plot/HitIndex.h"
#include "app/plot/PlotView.h"
#include "app/plot/PointExtent.h"
#include "points/PointStore.h"

class PlotModel : public PointStoreObserver {
public:
    static constexpr long kNoRow = -1;

    PlotModel(const PointStore& store, std::function<void()> changed);

    const PointStore& store() const { return store_; }
    // The view, brought up to date with the store first.
    const PlotView& view();
    // Drawn and left-out points, and the box round the drawn ones.
    const PointExtent& extent();
    // How often the plot has measured the whole store for its extent.
    std::size_t measures() const { return measures_; }

    // Pixels kept free along the window's sides when the points are fitted,
    // and when a point is brought into view (each side at least 0).
    void setInsets(const Insets& insets);

    // The plot's size in pixels; an empty one (a side of 0 or less) is not
    // taken.
    void resize(int width, int height);
    void fitAll();
    void zoomAbout(ScreenPoint at, double factor);
    void pan(double dx, double dy);

    long selected() const { return selected_; }
    // The list's selected row (kNoRow for none); with keepInView the view
    // moves as little as shows a drawn point that lies outside.
    void select(long row, bool keepInView);

    // The row of the drawn point nearest to the screen point within radius
    // pixels; kNoRow when none is.
    long pointAt(ScreenPoint at, double radius);

    // PointStoreObserver
    void rowsAdded(std::size_t first, std::size_t count) override;
    void rowChanged(std::size_t row) override;
    void rowRemoved(std::size_t row) override;
    void allRemoved() override;

private:
    enum class Follow { Waiting, Fitted, Free };

    void pointsChanged();
    void followPoints();
    void fit();
    void fitIfOutside();
    bool showsAll();

    const PointStore& store_;
    std::function<void()> changed_;
    PlotView view_;
    bool sized_ = false;
    bool hidden_ = false;         // the last size had no pixels
    Follow follow_ = Follow::Waiting;
    bool followPending_ = false;  // the store changed since the view last followed it
    Insets insets_{0, 0, 0, 0};
    long selected_ = kNoRow;
    PointExtent extent_;
    bool extentKnown_ = false;
    std::size_t measures_ = 0;
    HitIndex index_;
};
