#include "points/win32/Win32PointListView.h"

#include <commctrl.h>

#include <string>

#include "points/PointRecord.h"
#include "points/RowSearch.h"
#include "win32/WindowDpi.h"

namespace {

bool isLeadByte(unsigned char byte) { return IsDBCSLeadByte(byte) != FALSE; }

}  // namespace

// The control learns the store's row count. Rows added at the end repaint
// only where they show, and the view stays where it is: the caller scrolls.
void Win32PointListView::takeRowCount(LPARAM flags) {
    WPARAM count = store_ ? static_cast<WPARAM>(store_->size()) : 0;
    SendMessageA(list_, LVM_SETITEMCOUNT, count, flags);
}

void Win32PointListView::show(const PointStore* store, const CellTexts* texts) {
    store_ = store;
    texts_ = texts;
    takeRowCount(LVSICF_NOSCROLL);
}

void Win32PointListView::rowsAdded(std::size_t, std::size_t) {
    if (batching_)
        countStale_ = true;
    else
        takeRowCount(LVSICF_NOINVALIDATEALL | LVSICF_NOSCROLL);
}

void Win32PointListView::rowChanged(std::size_t row) {
    SendMessageA(list_, LVM_REDRAWITEMS, static_cast<WPARAM>(row), static_cast<LPARAM>(row));
}

// In a virtual list the control deletes no item of its own: the message
// keeps its selection and focus in step with the rows that move up. The
// count then follows the store, and the rows shown are drawn afresh.
void Win32PointListView::rowRemoved(std::size_t row) {
    SendMessageA(list_, LVM_DELETEITEM, static_cast<WPARAM>(row), 0);
    if (!batching_)
        takeRowCount(LVSICF_NOSCROLL);
    else
        countStale_ = true;
}

void Win32PointListView::allRemoved() {
    SendMessageA(list_, LVM_DELETEALLITEMS, 0, 0);
    countStale_ = false;
}

bool Win32PointListView::answerRequest(const NMHDR* header, LRESULT& result) {
    if (!header || header->hwndFrom != list_ || !store_ || !texts_) return false;
    switch (header->code) {
    case LVN_GETDISPINFOA:
    case LVN_GETDISPINFOW:
        answerTextRequest(header);
        result = 0;
        return true;
    case LVN_ODFINDITEMA:
    case LVN_ODFINDITEMW:
        result = findRow(header);
        return true;
    default: return false;
    }
}

void Win32PointListView::answerTextRequest(const NMHDR* header) {
    // NMLVDISPINFOA and NMLVDISPINFOW differ only in the text's type.
    LVITEMA& item = const_cast<NMLVDISPINFOA*>(reinterpret_cast<const NMLVDISPINFOA*>(header))->item;
    if (!(item.mask & LVIF_TEXT) || !item.pszText || item.cchTextMax <= 0) return;
    // A row the store no longer holds (the control may still ask while it
    // catches up) shows as empty.
    std::string text;
    if (item.iItem >= 0 && static_cast<std::size_t>(item.iItem) < store_->size())
        text = texts_->text(store_->at(static_cast<std::size_t>(item.iItem)), item.iSubItem);
    if (header->code == LVN_GETDISPINFOA) {
        lstrcpynA(item.pszText, text.c_str(), item.cchTextMax);
    } else {
        // A text too long for the buffer shows as empty; cells are far shorter.
        auto* wide = reinterpret_cast<WCHAR*>(item.pszText);
        int room = item.cchTextMax - 1;
        int length = room > 0 ? MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide, room)
                              : 0;
        wide[length] = L'\0';
    }
}

// The row whose name the search names (the keys the user typed), from the
// control's start row on; -1 when there is none.
LRESULT Win32PointListView::findRow(const NMHDR* header) {
    std::string text;
    int start;
    UINT flags;
    if (header->code == LVN_ODFINDITEMA) {
        const auto* find = reinterpret_cast<const NMLVFINDITEMA*>(header);
        flags = find->lvfi.flags;
        start = find->iStart;
        if (find->lvfi.psz) text = find->lvfi.psz;
    } else {
        const auto* find = reinterpret_cast<const NMLVFINDITEMW*>(header);
        flags = find->lvfi.flags;
        start = find->iStart;
        if (find->lvfi.psz) {
            int length = WideCharToMultiByte(CP_ACP, 0, find->lvfi.psz, -1, nullptr, 0, nullptr, nullptr);
            if (length > 1) {
                text.resize(static_cast<std::size_t>(length));
                WideCharToMultiByte(CP_ACP, 0, find->lvfi.psz, -1, &text[0], length, nullptr, nullptr);
                text.resize(static_cast<std::size_t>(length - 1));
            }
        }
    }
    if (!(flags & (LVFI_STRING | LVFI_PARTIAL))) return -1;  // rows carry no item data to find by
    return findRowByName(*store_, text, (flags & LVFI_PARTIAL) != 0, start < 0 ? 0 : static_cast<std::size_t>(start),
                         (flags & LVFI_WRAP) != 0, isLeadByte);
}

int Win32PointListView::firstSelected() {
    return static_cast<int>(SendMessageA(list_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

void Win32PointListView::setState(int row, UINT state, UINT mask) {
    LVITEMA item = {};
    item.state = state;
    item.stateMask = mask;
    SendMessageA(list_, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
}

void Win32PointListView::setSelected(int row, bool selected) {
    setState(row, selected ? LVIS_SELECTED : 0, LVIS_SELECTED);
}

void Win32PointListView::setFocused(int row) { setState(row, LVIS_FOCUSED, LVIS_FOCUSED); }

void Win32PointListView::ensureVisible(int row, bool partialOk) {
    SendMessageA(list_, LVM_ENSUREVISIBLE, row, partialOk ? TRUE : FALSE);
}

// The widths are pixels at 96 DPI; the columns get them at the list's DPI.
void Win32PointListView::setColumns(const std::string (&headers)[5], const int (&widths)[5]) {
    while (SendMessageA(list_, LVM_DELETECOLUMN, 0, 0)) {
    }
    dpi_ = windowDpi(list_);
    for (int i = 0; i < 5; ++i) {
        LVCOLUMNA column = {};
        column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
        column.fmt = LVCFMT_CENTER;
        column.cx = scaledForDpi(widths[i], dpi_);
        column.pszText = const_cast<char*>(headers[i].c_str());
        column.iSubItem = i;
        SendMessageA(list_, LVM_INSERTCOLUMNA, i, reinterpret_cast<LPARAM>(&column));
    }
}

// Every column keeps its size on the screen, a width the user dragged it to
// included.
void Win32PointListView::dpiChanged(int dpi) {
    if (dpi <= 0 || dpi == dpi_) return;
    HWND header = reinterpret_cast<HWND>(SendMessageA(list_, LVM_GETHEADER, 0, 0));
    int count = header ? static_cast<int>(SendMessageA(header, HDM_GETITEMCOUNT, 0, 0)) : 0;
    for (int i = 0; i < count; ++i) {
        int width = static_cast<int>(SendMessageA(list_, LVM_GETCOLUMNWIDTH, i, 0));
        SendMessageA(list_, LVM_SETCOLUMNWIDTH, i, MAKELPARAM(MulDiv(width, dpi, dpi_), 0));
    }
    dpi_ = dpi;
}

void Win32PointListView::beginBatch() {
    batching_ = true;
    countStale_ = false;
    SendMessageA(list_, WM_SETREDRAW, FALSE, 0);
}

void Win32PointListView::endBatch() {
    batching_ = false;
    if (countStale_) takeRowCount(LVSICF_NOSCROLL);
    countStale_ = false;
    SendMessageA(list_, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list_, nullptr, TRUE);
}
