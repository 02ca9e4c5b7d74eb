// The point-list operations of AppState: columns, adding, showing, deleting
// and clearing rows. The store holds the rows' records; the list shows them
// and keeps which row is selected and focused.
#include <string>

#include "app/AppState.h"
#include "app/MessageBoxes.h"
#include "app/TextFill.h"
#include "app/TextTable.h"
#include "points/NumberText.h"
#include "points/PointListView.h"
#include "points/PointRecord.h"

namespace {

// The "%.3f" text of a coordinate, the same on every platform.
std::string threeDecimals(double value) {
    char buffer[kFixedTextMax];
    return std::string(buffer, formatFixed(value, 3, buffer));
}

// The cells of a row: name, mark, then the coordinates in the build's column
// order. Korvel lists show E before N, Tassin lists N before E; each number
// stands under the header that names it.
class RowTexts : public CellTexts {
public:
    explicit RowTexts(bool korvel) : korvel_(korvel) {}
    std::string text(const PointRecord& point, int column) const override {
        switch (column) {
        case 0: return point.name;
        case 1: return point.mark;
        case 2: return threeDecimals(korvel_ ? point.e : point.n);
        case 3: return threeDecimals(korvel_ ? point.n : point.e);
        case 4: return threeDecimals(point.z);
        default: return std::string();
        }
    }

private:
    bool korvel_;
};

const CellTexts& rowTexts(Model model) {
    static const RowTexts korvel(true), tassin(false);
    return model == Model::Korvel ? korvel : tassin;
}

// With single selection at most one row is selected; the loop also copes
// with a list that holds more.
void deselectAll(PointListView& list) {
    for (int row = list.firstSelected(); row >= 0; row = list.firstSelected()) list.setSelected(row, false);
}

}  // namespace

void AppState::showPointsIn(PointListView& list) {
    points_.addObserver(list);
    list.show(&points_, &rowTexts(model_));
}

void AppState::setupColumns() {
    clearAll();
    bool korvel = model_ == Model::Korvel;
    const std::string headers[5] = {
        text(kTextHeaderName), text(kTextHeaderMark),
        text(korvel ? kTextHeaderE : kTextHeaderN), text(korvel ? kTextHeaderN : kTextHeaderE),
        text(kTextHeaderZ)};
    static const int kWidths[5] = {65, 65, 145, 145, 145};
    platform_->list.setColumns(headers, kWidths);
}

// The row shows the record from now on (the list hears of it from the
// store), scrolled into view unless part of it shows already.
void AppState::setRowTexts(const PointRecord& point, int row) {
    if (row < 0 || !points_.replace(static_cast<std::size_t>(row), point)) return;
    if (!batching_) platform_->list.ensureVisible(row, true);
}

// The last row, just added, becomes the only selected row, focused where
// the road focuses it, and is scrolled into view. Inside a batch only the
// end of the batch does this, once, for the batch's last row.
void AppState::showNewLastRow(bool focus, bool partialOk) {
    int row = static_cast<int>(points_.size()) - 1;
    if (batching_) {
        batchLastRow_ = row;
        batchFocus_ = focus;
        batchPartialOk_ = partialOk;
        return;
    }
    PointListView& list = platform_->list;
    deselectAll(list);
    list.setSelected(row, true);
    if (focus) list.setFocused(row);
    list.ensureVisible(row, partialOk);
}

bool AppState::appendRow(const PointRecord& point) {
    if (!points_.append(point)) return false;
    showNewLastRow(true, true);
    modified_ = true;
    return true;
}

// The Tassin road for received and imported points: selected but not
// focused, scrolled until wholly visible, and the modified flag untouched.
bool AppState::insertFrameRow(const PointRecord& point) {
    if (!points_.append(point)) return false;
    showNewLastRow(false, false);
    return true;
}

// Points of a file, by the road of the build's received points (appendRow
// in Korvel lists, insertFrameRow in Tassin lists). Returns how many found
// room.
std::size_t AppState::addRows(const PointRecord* points, std::size_t count) {
    std::size_t added = points_.append(points, count);
    if (added == 0) return 0;
    bool korvel = model_ == Model::Korvel;
    showNewLastRow(korvel, korvel);
    if (korvel) modified_ = true;
    return added;
}

void AppState::reportNoRoom() {
    platform_->boxes.show(BoxOwner::MainWindow,
                          fillText(text(kTextNoRoomForPoints), {static_cast<int>(points_.size())}), "Error",
                          BoxIcon::Error, BoxButtons::Ok);
}

void AppState::beginRowBatch() {
    batching_ = true;
    batchLastRow_ = -1;
    platform_->list.beginBatch();
}

// A batch that added nothing leaves the selection where it was.
void AppState::endRowBatch() {
    if (!batching_) return;
    batching_ = false;
    platform_->list.endBatch();
    if (batchLastRow_ >= 0 && static_cast<std::size_t>(batchLastRow_) < points_.size())
        showNewLastRow(batchFocus_, batchPartialOk_);
}

// The selected row goes from the store and so from the list. It loses its
// selection first, so that the search ends even for a selected row that the
// store does not hold.
void AppState::deleteSelected() {
    PointListView& list = platform_->list;
    for (int row = list.firstSelected(); row >= 0; row = list.firstSelected()) {
        list.setSelected(row, false);
        points_.remove(static_cast<std::size_t>(row));
    }
}

void AppState::clearAll() { points_.clear(); }
