// The point list as a Win32 report list view: each row's lParam is its
// PointRecord.
//
// Rows added through insertRowShowing keep no texts of their own: the list
// asks for a cell's text (LVN_GETDISPINFO) when it shows it, and this class
// answers from the row's record. For that it watches the notifications that
// the list sends to its parent window, from the first such row until it is
// destroyed; every other message of the parent passes through unchanged.
// One list view per program can do so; rows of any other keep their texts.
#pragma once

#include <windows.h>

#include "points/PointListView.h"
#include "points/win32/RowHeapRoom.h"

class Win32PointListView : public PointListView {
public:
    explicit Win32PointListView(HWND list) : list_(list) {}
    ~Win32PointListView() override;
    Win32PointListView(const Win32PointListView&) = delete;
    Win32PointListView& operator=(const Win32PointListView&) = delete;

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

private:
    static LRESULT CALLBACK parentProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    bool watchParent();
    bool answerTextRequest(NMHDR* header);
    void setState(int row, UINT state, UINT mask);

    HWND list_;
    const CellTexts* texts_ = nullptr;
    RowHeapRoom heapRoom_;
};

// The record of a row, read through any list view handle; usable from a
// worker thread (the request is served by the list's own thread).
PointRecord* listRowRecord(HWND list, int row);
