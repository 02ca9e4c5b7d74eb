// The point list as a virtual Win32 report list view (LVS_OWNERDATA, set in
// the dialog template): the control holds the row count, the selection and
// the focus, nothing else.
//
// It asks its parent window for what it shows: a cell's text
// (LVN_GETDISPINFO) and, for the keys typed into the list, the row whose
// name starts with them (LVN_ODFINDITEM). The parent hands those requests to
// answerRequest, which answers from the store.
#pragma once

#include <windows.h>

#include "points/PointListView.h"

class Win32PointListView : public PointListView {
public:
    explicit Win32PointListView(HWND list) : list_(list) {}

    void show(const PointStore* store, const CellTexts* texts) override;
    void rowsAdded(std::size_t first, std::size_t count) override;
    void rowChanged(std::size_t row) override;
    void rowRemoved(std::size_t row) override;
    void allRemoved() override;
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

    // Answers the list's request to its owner, a WM_NOTIFY that the parent
    // window received: true when it was one, with result the value the
    // parent returns for it (DWLP_MSGRESULT of a dialog).
    bool answerRequest(const NMHDR* header, LRESULT& result);

private:
    void setState(int row, UINT state, UINT mask);
    void takeRowCount(LPARAM flags);
    void answerTextRequest(const NMHDR* header);
    LRESULT findRow(const NMHDR* header);

    HWND list_;
    const PointStore* store_ = nullptr;
    const CellTexts* texts_ = nullptr;
    int dpi_ = 96;  // the DPI the column widths are for
    bool batching_ = false;
    // The control's row count lags the store's: rows came or went during
    // the batch.
    bool countStale_ = false;
};
