// The report list that shows the points: rows in order, each carrying its
// PointRecord as item data and five cell texts; five columns.
//
// Rows are addressed by 0-based index. Only the point-list operations of
// AppState change the rows; other code reads them through AppState.
#pragma once

#include <string>

class PointRecord;

class PointListView {
public:
    virtual ~PointListView() = default;

    virtual int rowCount() = 0;
    virtual PointRecord* rowRecord(int row) = 0;

    // Appends a row at index rowCount() with the record as item data and the
    // given selected and focused states; cell texts start empty.
    virtual void insertRow(PointRecord* record, bool selected, bool focused) = 0;
    virtual void setCellText(int row, int column, const std::string& text) = 0;
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
