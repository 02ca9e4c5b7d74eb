// The point-list operations of AppState: columns, adding, showing, deleting
// and clearing rows. The list owns the record of every row.
#include <string>
#include <vector>

#include "app/AppState.h"
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

}  // namespace

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

void AppState::setRowTexts(const PointRecord& point, int row) {
    PointListView& list = platform_->list;
    const CellTexts& texts = rowTexts(model_);
    for (int column = 0; column < 5; ++column) list.setCellText(row, column, texts.text(point, column));
    if (!batching_) list.ensureVisible(row, true);
}

// Adds the record as the new last row, the only selected one. Outside a
// batch this happens row by row; inside one, the previous selection is
// cleared once and the final selection is applied by endRowBatch. The row
// shows the record's texts (the same that setRowTexts writes).
void AppState::addRow(PointRecord* point, bool focus, bool partialOk) {
    PointListView& list = platform_->list;
    const CellTexts& texts = rowTexts(model_);
    if (batching_) {
        int row = list.insertRowShowing(point, false, false, texts);
        if (row < 0) {
            delete point;  // the list could not take it: no row owns it
            return;
        }
        batchLastRow_ = row;
        batchFocus_ = focus;
        batchPartialOk_ = partialOk;
        return;
    }
    // With single selection at most one row is selected; the loop also
    // copes with a list that holds more.
    int selected = list.firstSelected();
    for (int row = selected; row >= 0; row = list.firstSelected()) list.setSelected(row, false);
    int row = list.insertRowShowing(point, true, focus, texts);
    if (row < 0) {
        delete point;  // the list could not take it; it stays as it was
        if (selected >= 0) list.setSelected(selected, true);
        return;
    }
    list.ensureVisible(row, partialOk);
}

void AppState::appendRow(PointRecord* point) {
    addRow(point, true, true);
    modified_ = true;
}

// The Tassin road for received and imported points: selected but not
// focused, scrolled until wholly visible, and the modified flag untouched.
void AppState::insertFrameRow(PointRecord* point) { addRow(point, false, false); }

void AppState::beginRowBatch() {
    PointListView& list = platform_->list;
    for (int row = list.firstSelected(); row >= 0; row = list.firstSelected()) list.setSelected(row, false);
    batching_ = true;
    batchLastRow_ = -1;
    list.beginBatch();
}

void AppState::endRowBatch() {
    if (!batching_) return;
    PointListView& list = platform_->list;
    batching_ = false;
    if (batchLastRow_ >= 0) {
        list.setSelected(batchLastRow_, true);
        if (batchFocus_) list.setFocused(batchLastRow_);
    }
    list.endBatch();
    if (batchLastRow_ >= 0) list.ensureVisible(batchLastRow_, batchPartialOk_);
}

// A record is destroyed only after its row is gone, so the list never
// holds a row whose record no longer exists, not even while it repaints.
void AppState::deleteSelected() {
    PointListView& list = platform_->list;
    for (int row = list.firstSelected(); row >= 0; row = list.firstSelected()) {
        PointRecord* point = list.rowRecord(row);
        list.deleteRow(row);
        delete point;
    }
}

void AppState::clearAll() {
    PointListView& list = platform_->list;
    std::vector<PointRecord*> points(static_cast<std::size_t>(list.rowCount()));
    for (std::size_t row = 0; row < points.size(); ++row) points[row] = list.rowRecord(static_cast<int>(row));
    list.deleteAllRows();
    for (auto it = points.rbegin(); it != points.rend(); ++it) delete *it;
}
