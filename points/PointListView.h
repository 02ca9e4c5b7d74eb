// The report list that shows the points: rows in order, each carrying its
// PointRecord as item data and five cell texts; five columns.
//
// Rows are addressed by 0-based index. Only the point-list operations of
// AppState change the rows; other code reads them through AppState.
#pragma once

#include <string>

class PointRecord;

// The texts that the five cells of a row show, made from the row's record.
class CellTexts {
public:
    virtual ~CellTexts() = default;
    virtual std::string text(const PointRecord& record, int column) const = 0;
};

class PointListView {
public:
    virtual ~PointListView() = default;

    virtual int rowCount() = 0;
    virtual PointRecord* rowRecord(int row) = 0;

    // Appends a row at index rowCount() with the record as item data and the
    // given selected and focused states; cell texts start empty.
    virtual void insertRow(PointRecord* record, bool selected, bool focused) = 0;
    virtual void setCellText(int row, int column, const std::string& text) = 0;

    // Appends a row as insertRow does, whose five cells show the texts that
    // texts makes from the record; texts must outlive the row. A list may
    // make the texts only when it shows them. Returns the new row's index, or
    // -1 when the row could not be added (the record then still belongs to
    // the caller).
    virtual int insertRowShowing(PointRecord* record, bool selected, bool focused, const CellTexts& texts) {
        insertRow(record, selected, focused);
        int row = rowCount() - 1;
        for (int column = 0; column < 5; ++column) setCellText(row, column, texts.text(*record, column));
        return row;
    }

    // A hint that about count rows are going to be added by the next batch,
    // so that the list can prepare its storage for them. Changes nothing
    // that shows; the batch's end lets go of what it did not use.
    virtual void reserveRows(int count) { (void)count; }
    virtual void deleteRow(int row) = 0;
    virtual void deleteAllRows() = 0;

    // First selected row from the top, -1 when none.
    virtual int firstSelected() = 0;
    virtual void setSelected(int row, bool selected) = 0;
    virtual void setFocused(int row) = 0;
    // Scrolls the row into view: partialOk lets a partly shown row stand.
    virtual void ensureVisible(int row, bool partialOk) = 0;

    // Removes every column, then adds five centred columns.
    virtual void setColumns(const std::string (&headers)[5], const int (&widths)[5]) = 0;

    // While a batch runs the list need not repaint; the end of the batch shows
    // the final state at once. Batches do not nest.
    virtual void beginBatch() = 0;
    virtual void endBatch() = 0;
};
