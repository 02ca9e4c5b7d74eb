// The point-list operations of AppState: columns, adding, showing, deleting
// and clearing rows. The list owns the record of every row.
#include <string>

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

}  // namespace

void AppState::setupColumns() {
    clearAll();
    // Korvel lists show E before N, Tassin lists N before E; each number
    // stands under the header that names it.
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
    bool korvel = model_ == Model::Korvel;
    list.setCellText(row, 0, point.name);
    list.setCellText(row, 1, point.mark);
    list.setCellText(row, 2, threeDecimals(korvel ? point.e : point.n));
    list.setCellText(row, 3, threeDecimals(korvel ? point.n : point.e));
    list.setCellText(row, 4, threeDecimals(point.z));
    if (!batching_) list.ensureVisible(row, true);
}

// Adds the record as the new last row, the only selected one. Outside a
// batch this happens row by row; inside one, the previous selection is
// cleared once and the final selection is applied by endRowBatch.
void AppState::addRow(PointRecord* point, bool focus, bool partialOk) {
    PointListView& list = platform_->list;
    if (batching_) {
        list.insertRow(point, false, false);
        batchLastRow_ = list.rowCount() - 1;
        batchFocus_ = focus;
        batchPartialOk_ = partialOk;
        setRowTexts(*point, batchLastRow_);
        return;
    }
    // With single selection at most one row is selected; the loop also
    // copes with a list that holds more.
    for (int row = list.firstSelected(); row >= 0; row = list.firstSelected()) list.setSelected(row, false);
    list.insertRow(point, true, focus);
    int row = list.rowCount() - 1;
    setRowTexts(*point, row);
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

void AppState::deleteSelected() {
    PointListView& list = platform_->list;
    for (int row = list.firstSelected(); row >= 0; row = list.firstSelected()) {
        delete list.rowRecord(row);
        list.deleteRow(row);
    }
}

void AppState::clearAll() {
    PointListView& list = platform_->list;
    for (int row = list.rowCount() - 1; row >= 0; --row) delete list.rowRecord(row);
    list.deleteAllRows();
}
