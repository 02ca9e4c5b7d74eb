// The report list that shows the point store: one row per record of the
// store, in the store's order, each with five cells made from its record.
//
// The list keeps no record and no text of its own: it asks for a cell's text
// when it shows the cell, and of the rows it keeps only which is selected and
// which has the focus. It follows the store's changes as one of its
// observers; whoever shows a store in it registers it with that store.
//
// Rows are addressed by 0-based index, the store's row numbers. Only the
// point-list operations of AppState change the rows.
#pragma once

#include <string>

#include "points/PointStore.h"

class PointRecord;

// The texts that the five cells of a row show, made from the row's record.
class CellTexts {
public:
    virtual ~CellTexts() = default;
    virtual std::string text(const PointRecord& record, int column) const = 0;
};

class PointListView : public PointStoreObserver {
public:
    // From now on the list shows the rows of store, their cells made by
    // texts; both outlive the showing, which show(nullptr, nullptr) ends
    // (the list is empty then).
    virtual void show(const PointStore* store, const CellTexts* texts) = 0;

    // First selected row from the top, -1 when none.
    virtual int firstSelected() = 0;
    virtual void setSelected(int row, bool selected) = 0;
    virtual void setFocused(int row) = 0;
    // Scrolls the row into view: partialOk lets a partly shown row stand.
    virtual void ensureVisible(int row, bool partialOk) = 0;

    // Removes every column, then adds five centred columns.
    virtual void setColumns(const std::string (&headers)[5], const int (&widths)[5]) = 0;

    // While a batch runs the list need not repaint, nor follow each change
    // of the store at once; its end shows the store as it is then. Between
    // the two calls only the store's notifications reach the list. Batches
    // do not nest.
    virtual void beginBatch() = 0;
    virtual void endBatch() = 0;
};
