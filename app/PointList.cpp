// The point-list operations of AppState: columns, adding, showing, deleting
// and clearing rows. The store holds the rows' records; the list shows them
// and keeps which row is selected and focused.
#include <memory>
#include <string>

#include "app/AppState.h"
#include "app/MessageBoxes.h"
#include "app/TextFill.h"
#include "app/TextTable.h"
#include "app/families/InstrumentFamily.h"
#include "points/NumberText.h"
#include "points/PointListView.h"
#include "points/PointRecord.h"

struct AppState::NewRowEffects {
    bool focus;      // the new row gets the focus
    bool partialOk;  // a partly shown row counts as in view
    bool modifies;   // the list counts as modified
};

namespace {

constexpr AppState::NewRowEffects kAppendRowEffects{true, true, true};
constexpr AppState::NewRowEffects kInsertFrameRowEffects{false, false, false};

const AppState::NewRowEffects& effectsOf(ArrivalEntry entry) {
    return entry == ArrivalEntry::AppendRow ? kAppendRowEffects : kInsertFrameRowEffects;
}

// The "%.3f" text of a coordinate, the same on every platform.
std::string threeDecimals(double value) {
    char buffer[kFixedTextMax];
    return std::string(buffer, formatFixed(value, 3, buffer));
}

// The cells of a row in the family's column order.
class RowTexts : public CellTexts {
public:
    explicit RowTexts(const InstrumentFamily& family) : family_(family) {}
    std::string text(const PointRecord& point, int column) const override {
        if (column < 0 || column >= 5) return std::string();
        switch (family_.columns[column]) {
        case ListColumn::Name: return point.name;
        case ListColumn::Mark: return point.mark;
        case ListColumn::N: return threeDecimals(point.n);
        case ListColumn::E: return threeDecimals(point.e);
        case ListColumn::Z: return threeDecimals(point.z);
        }
        return std::string();
    }

private:
    const InstrumentFamily& family_;
};

int headerTextOf(ListColumn column) {
    switch (column) {
    case ListColumn::Name: return kTextHeaderName;
    case ListColumn::Mark: return kTextHeaderMark;
    case ListColumn::N: return kTextHeaderN;
    case ListColumn::E: return kTextHeaderE;
    case ListColumn::Z: return kTextHeaderZ;
    }
    return 0;
}

int widthOf(ListColumn column) { return column == ListColumn::Name || column == ListColumn::Mark ? 65 : 145; }

// With single selection at most one row is selected; the loop also copes
// with a list that holds more.
void deselectAll(PointListView& list) {
    for (int row = list.firstSelected(); row >= 0; row = list.firstSelected()) list.setSelected(row, false);
}

}  // namespace

std::unique_ptr<CellTexts> AppState::makeRowTexts(const InstrumentFamily& family) {
    return std::make_unique<RowTexts>(family);
}

void AppState::showPointsIn(PointListView& list) {
    points_.addObserver(list);
    list.show(&points_, rowTexts_.get());
}

void AppState::setupColumns() {
    clearAll();
    std::string headers[5];
    int widths[5];
    for (int i = 0; i < 5; ++i) {
        headers[i] = text(headerTextOf(family_.columns[i]));
        widths[i] = widthOf(family_.columns[i]);
    }
    platform_->list.setColumns(headers, widths);
}

// The row shows the record from now on (the list hears of it from the
// store), scrolled into view unless part of it shows already.
void AppState::setRowTexts(const PointRecord& point, int row) {
    if (row < 0 || !points_.replace(static_cast<std::size_t>(row), point)) return;
    if (!batching_) platform_->list.ensureVisible(row, true);
}

// The last row, just added, becomes the only selected row, focused where
// its effects focus it, and is scrolled into view. Inside a batch only the
// end of the batch does this, once, for the batch's last row.
void AppState::showNewLastRow(const NewRowEffects& effects) {
    int row = static_cast<int>(points_.size()) - 1;
    if (batching_) {
        batchLastRow_ = row;
        batchEffects_ = &effects;
        return;
    }
    PointListView& list = platform_->list;
    deselectAll(list);
    list.setSelected(row, true);
    if (effects.focus) list.setFocused(row);
    list.ensureVisible(row, effects.partialOk);
}

void AppState::chooseRow(int row) {
    if (!platform_ || row < 0 || static_cast<std::size_t>(row) >= points_.size()) return;
    PointListView& list = platform_->list;
    deselectAll(list);
    list.setSelected(row, true);
    list.setFocused(row);
    list.ensureVisible(row, false);
}

bool AppState::addRow(const PointRecord& point, const NewRowEffects& effects) {
    if (!points_.append(point)) return false;
    showNewLastRow(effects);
    if (effects.modifies) modified_ = true;
    return true;
}

bool AppState::appendRow(const PointRecord& point) { return addRow(point, kAppendRowEffects); }

// How received and imported points enter the list in the families that
// enter them so (Tassin): selected but not focused, scrolled until wholly
// visible, and the modified flag untouched.
bool AppState::insertFrameRow(const PointRecord& point) { return addRow(point, kInsertFrameRowEffects); }

bool AppState::addArrivedRow(const PointRecord& point) { return addRow(point, effectsOf(family_.arrival)); }

// Points of a file, entered as the family's received points are. Returns
// how many found room.
std::size_t AppState::addRows(const PointRecord* points, std::size_t count) {
    std::size_t added = points_.append(points, count);
    if (added == 0) return 0;
    const NewRowEffects& effects = effectsOf(family_.arrival);
    showNewLastRow(effects);
    if (effects.modifies) modified_ = true;
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
    if (batchLastRow_ >= 0 && static_cast<std::size_t>(batchLastRow_) < points_.size() && batchEffects_)
        showNewLastRow(*batchEffects_);
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
