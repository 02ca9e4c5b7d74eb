#include "points/win32/Win32PointListView.h"

#include <commctrl.h>

#include <climits>

#include "points/PointRecord.h"

namespace {

// Inserting at an index past the last row appends the row, without asking
// the list for its row count first.
constexpr int kAppend = INT_MAX;

// The one list view whose parent window is watched, and the parent's own
// window procedure. The procedure is replaced, not subclassed through the
// common controls: their subclass chain looks itself up in the window's
// properties on every message, which under Wine costs a server round trip
// and made each added row ten times slower.
struct ParentWatch {
    HWND parent = nullptr;
    WNDPROC original = nullptr;
    Win32PointListView* view = nullptr;
};
ParentWatch g_watch;

}  // namespace

PointRecord* listRowRecord(HWND list, int row) {
    LVITEMA item = {};
    item.mask = LVIF_PARAM;
    item.iItem = row;
    if (!SendMessageA(list, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item))) return nullptr;
    return reinterpret_cast<PointRecord*>(item.lParam);
}

Win32PointListView::~Win32PointListView() {
    if (g_watch.view != this) return;
    g_watch.view = nullptr;
    // Put the parent's procedure back unless someone replaced it after us; in
    // that case ours stays in the chain and only passes messages on.
    if (GetWindowLongPtrA(g_watch.parent, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(parentProc)) {
        SetWindowLongPtrA(g_watch.parent, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_watch.original));
        g_watch.parent = nullptr;
    }
}

bool Win32PointListView::watchParent() {
    if (g_watch.view == this) return true;
    if (g_watch.view || g_watch.parent) return false;  // one watched list per program
    HWND parent = GetParent(list_);
    if (!parent) return false;
    LONG_PTR original = SetWindowLongPtrA(parent, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(parentProc));
    if (!original) return false;
    g_watch.parent = parent;
    g_watch.original = reinterpret_cast<WNDPROC>(original);
    g_watch.view = this;
    return true;
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
    bool answered = watchParent();
    LVITEMA item = {};
    item.mask = LVIF_TEXT | LVIF_PARAM | LVIF_STATE;
    item.iItem = kAppend;
    item.state = (selected ? LVIS_SELECTED : 0) | (focused ? LVIS_FOCUSED : 0);
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.pszText = answered ? LPSTR_TEXTCALLBACKA : const_cast<char*>("");
    item.lParam = reinterpret_cast<LPARAM>(record);
    int row = static_cast<int>(SendMessageA(list_, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
    if (row >= 0 && !answered) {
        // Nobody answers the list's requests: the row keeps its own texts.
        for (int column = 0; column < 5; ++column) setCellText(row, column, texts.text(*record, column));
    }
    return row;
}

LRESULT CALLBACK Win32PointListView::parentProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    WNDPROC original = g_watch.original;
    if (message == WM_NOTIFY && g_watch.view && g_watch.view->answerTextRequest(reinterpret_cast<NMHDR*>(lParam)))
        return 0;
    return CallWindowProcA(original, window, message, wParam, lParam);
}

bool Win32PointListView::answerTextRequest(NMHDR* header) {
    if (!header || header->hwndFrom != list_ || !texts_) return false;
    if (header->code != LVN_GETDISPINFOA && header->code != LVN_GETDISPINFOW) return false;
    // NMLVDISPINFOA and NMLVDISPINFOW differ only in the text's type.
    LVITEMA& item = reinterpret_cast<NMLVDISPINFOA*>(header)->item;
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
    // The row count hint lets the list size its arrays once (where the list
    // supports it); the heap room keeps them from fragmenting (where needed).
    SendMessageA(list_, LVM_SETITEMCOUNT, static_cast<WPARAM>(rowCount() + count),
                 LVSICF_NOINVALIDATEALL | LVSICF_NOSCROLL);
    heapRoom_.prepare(count);
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

void Win32PointListView::setColumns(const std::string (&headers)[5], const int (&widths)[5]) {
    while (SendMessageA(list_, LVM_DELETECOLUMN, 0, 0)) {
    }
    for (int i = 0; i < 5; ++i) {
        LVCOLUMNA column = {};
        column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
        column.fmt = LVCFMT_CENTER;
        column.cx = widths[i];
        column.pszText = const_cast<char*>(headers[i].c_str());
        column.iSubItem = i;
        SendMessageA(list_, LVM_INSERTCOLUMNA, i, reinterpret_cast<LPARAM>(&column));
    }
}

void Win32PointListView::beginBatch() { SendMessageA(list_, WM_SETREDRAW, FALSE, 0); }

void Win32PointListView::endBatch() {
    heapRoom_.release();
    SendMessageA(list_, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list_, nullptr, TRUE);
}
