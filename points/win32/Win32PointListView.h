// The point list as a Win32 report list view: each row's lParam is its
// PointRecord.
//
// Rows added through insertRowShowing keep no texts of their own: the list
// asks its parent window for a cell's text (LVN_GETDISPINFO) when it shows
// it, and the parent hands that request to answerTextRequest, which answers
// from the row's record.
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
    int insertRowShowing(PointRecord* record, bool selected, bool focused, const CellTexts& texts) override;
    void reserveRows(int count) override;
    void deleteRow(int row) override;
    void deleteAllRows() override;
    int firstSelected() override;
    void setSelected(int row, bool selected) override;
    void setFocused(int row) override;
    void ensureVisible(int row, bool partialOk) override;
    void setColumns(const std::string (&headers)[5], const int (&widths)[5]) override;
    void beginBatch() override;
    void endBatch() override;

    // The list's window has moved to a screen of another DPI (WM_DPICHANGED
    // of its dialog): the columns are scaled with it.
    void dpiChanged(int dpi);

    // Answers the list's request for a cell text, a WM_NOTIFY that the
    // parent window received; false when the notification is not one.
    bool answerTextRequest(const NMHDR* header);

private:
    void setState(int row, UINT state, UINT mask);

    HWND list_;
    const CellTexts* texts_ = nullptr;
    int dpi_ = 96;  // the DPI the column widths are for
};

// The record of a row, read through any list view handle; usable from a
// worker thread (the request is served by the list's own thread).
PointRecord* listRowRecord(HWND list, int row);
