#include "points/win32/Win32PointListView.h"

#include <commctrl.h>

#include <climits>

#include "points/PointRecord.h"
#include "points/win32/WindowDpi.h"

namespace {

// Inserting at an index past the last row appends the row, without asking
// the list for its row count first.
constexpr int kAppend = INT_MAX;

}  // namespace

PointRecord* listRowRecord(HWND list, int row) {
    LVITEMA item = {};
    item.mask = LVIF_PARAM;
    item.iItem = row;
    if (!SendMessageA(list, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item))) return nullptr;
    return reinterpret_cast<PointRecord*>(item.lParam);
}

int Win32PointListView::rowCount() { return static_cast<int>(SendMessageA(list_, LVM_GETITEMCOUNT, 0, 0)); }

PointRecord* Win32PointListView::rowRecord(int row) { return listRowRecord(list_, row); }

void Win32PointListView::insertRow(PointRecord* record, bool selected, bool focused) {
    LVITEMA item = {};
    item.mask = LVIF_PARAM | LVIF_STATE;
    item.iItem = kAppend;
    item.state = (selected ? LVIS_SELECTED : 0) | (focused ? LVIS_FOCUSED : 0);
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.lParam = reinterpret_cast<LPARAM>(record);
    SendMessageA(list_, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
}

// One message per row: the row's texts are asked for when it shows, and
// cells that were never set are asked for in the same way.
int Win32PointListView::insertRowShowing(PointRecord* record, bool selected, bool focused, const CellTexts& texts) {
    texts_ = &texts;
    LVITEMA item = {};
    item.mask = LVIF_TEXT | LVIF_PARAM | LVIF_STATE;
    item.iItem = kAppend;
    item.state = (selected ? LVIS_SELECTED : 0) | (focused ? LVIS_FOCUSED : 0);
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.pszText = LPSTR_TEXTCALLBACKA;
    item.lParam = reinterpret_cast<LPARAM>(record);
    return static_cast<int>(SendMessageA(list_, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
}

bool Win32PointListView::answerTextRequest(const NMHDR* header) {
    if (!header || header->hwndFrom != list_ || !texts_) return false;
    if (header->code != LVN_GETDISPINFOA && header->code != LVN_GETDISPINFOW) return false;
    // NMLVDISPINFOA and NMLVDISPINFOW differ only in the text's type.
    LVITEMA& item = const_cast<NMLVDISPINFOA*>(reinterpret_cast<const NMLVDISPINFOA*>(header))->item;
    if (!(item.mask & LVIF_TEXT) || !item.pszText || item.cchTextMax <= 0) return true;
    const PointRecord* record = reinterpret_cast<const PointRecord*>(item.lParam);
    std::string text = record ? texts_->text(*record, item.iSubItem) : std::string();
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
    return true;
}

void Win32PointListView::reserveRows(int count) {
    if (count <= 0) return;
    // The row count hint lets the list size its storage once.
    SendMessageA(list_, LVM_SETITEMCOUNT, static_cast<WPARAM>(rowCount() + count),
                 LVSICF_NOINVALIDATEALL | LVSICF_NOSCROLL);
}

void Win32PointListView::setCellText(int row, int column, const std::string& text) {
    LVITEMA item = {};
    item.mask = LVIF_TEXT;
    item.iItem = row;
    item.iSubItem = column;
    item.pszText = const_cast<char*>(text.c_str());
    SendMessageA(list_, LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
}

void Win32PointListView::deleteRow(int row) { SendMessageA(list_, LVM_DELETEITEM, row, 0); }

void Win32PointListView::deleteAllRows() { SendMessageA(list_, LVM_DELETEALLITEMS, 0, 0); }

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

void Win32PointListView::beginBatch() { SendMessageA(list_, WM_SETREDRAW, FALSE, 0); }

void Win32PointListView::endBatch() {
    SendMessageA(list_, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list_, nullptr, TRUE);
}
