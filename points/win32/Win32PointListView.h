// The point list as a Win32 report list view: each row's lParam is its
// PointRecord.
#pragma once

#include <windows.h>

#include "points/PointListView.h"

class Win32PointListView : public PointListView {
public:
    explicit Win32PointListView(HWND list) : list_(list) {}

    int rowCount() override;
    PointRecord* rowRecord(int row) override;
    void insertRow(PointRecord* record, bool selected, bool focused) override;
    void setCellText(int row, int column, const std::string& text) override;
    void deleteRow(int row) override;
    void deleteAllRows() override;
    int firstSelected() override;
    void setSelected(int row, bool selected) override;
    void setFocused(int row) override;
    void ensureVisible(int row, bool partialOk) override;
    void setColumns(const std::string (&headers)[5], const int (&widths)[5]) override;
    void beginBatch() override;
    void endBatch() override;

private:
    void setState(int row, UINT state, UINT mask);
    HWND list_;
};

// The record of a row, read through any list view handle; usable from a
// worker thread (the request is served by the list's own thread).
PointRecord* listRowRecord(HWND list, int row);
