#include "ListView.h"

#include "Controls.h"
#include "DriverError.h"
#include "RemoteBuffer.h"

#include <commctrl.h>

#include <algorithm>
#include <cstring>

namespace e2e {

namespace {

const size_t kTextOffset = 512;
const size_t kTextChars = 4096;
const size_t kBufferSize = kTextOffset + kTextChars * sizeof(wchar_t);
// Room for one cell's text; a longer text is cut, as in any list view.
const size_t kCellChars = 512;

}  // namespace

int listItemCount(HWND list) { return static_cast<int>(sendOrThrow(list, LVM_GETITEMCOUNT, 0, 0)); }

int listColumnCount(HWND list) {
    HWND header = reinterpret_cast<HWND>(sendOrThrow(list, LVM_GETHEADER, 0, 0));
    if (!header) throw DriverError("list view has no header");
    return static_cast<int>(sendOrThrow(header, HDM_GETITEMCOUNT, 0, 0));
}

std::vector<std::vector<std::wstring>> listRows(HWND list, int first, int count) {
    int total = listItemCount(list);
    int columns = listColumnCount(list);
    if (first < 0) first = 0;
    if (count < 0 || first + count > total) count = total > first ? total - first : 0;
    std::vector<std::vector<std::wstring>> rows;
    if (count == 0 || columns == 0) return rows;
    // One item structure and one text buffer per column, written and read
    // back once per row: the calls into the other process cost the most.
    // LVM_GETITEM asks for the texts, as it does of a virtual list, whose
    // owner keeps them (a virtual list does not take LVM_GETITEMTEXT).
    const size_t cells = static_cast<size_t>(columns);
    const size_t textsOffset = cells * sizeof(LVITEMW);
    RemoteBuffer remote(list, textsOffset + cells * kCellChars * sizeof(wchar_t));
    std::vector<LVITEMW> items(cells);
    for (size_t column = 0; column < cells; ++column) {
        items[column] = LVITEMW{};
        items[column].mask = LVIF_TEXT;
        items[column].iSubItem = static_cast<int>(column);
        items[column].pszText = reinterpret_cast<LPWSTR>(remote.address(textsOffset + column * kCellChars * sizeof(wchar_t)));
        items[column].cchTextMax = static_cast<int>(kCellChars);
    }
    std::vector<wchar_t> texts(cells * kCellChars);
    // The items, then empty texts: a cell the list has no text for reads as
    // empty.
    std::vector<char> block(textsOffset + texts.size() * sizeof(wchar_t), 0);
    rows.reserve(static_cast<size_t>(count));
    for (int row = first; row < first + count; ++row) {
        for (LVITEMW& item : items) item.iItem = row;
        std::memcpy(block.data(), items.data(), textsOffset);
        std::fill(block.begin() + static_cast<std::ptrdiff_t>(textsOffset), block.end(), 0);
        remote.write(0, block.data(), block.size());
        for (size_t column = 0; column < cells; ++column) {
            if (!sendOrThrow(list, LVM_GETITEMW, 0, remote.address(column * sizeof(LVITEMW))))
                throw DriverError("LVM_GETITEMW failed");
        }
        remote.read(0, block.data(), block.size());
        std::memcpy(texts.data(), block.data() + textsOffset, texts.size() * sizeof(wchar_t));
        std::vector<std::wstring> rowTexts;
        for (size_t column = 0; column < cells; ++column) {
            // The control may answer with a pointer to its own text.
            LVITEMW answered;
            std::memcpy(&answered, block.data() + column * sizeof(LVITEMW), sizeof answered);
            if (answered.pszText != items[column].pszText) {
                rowTexts.push_back(answered.pszText ? remote.readWideAt(reinterpret_cast<LPARAM>(answered.pszText),
                                                                        kCellChars - 1)
                                                    : std::wstring());
                continue;
            }
            const wchar_t* text = &texts[column * kCellChars];
            rowTexts.emplace_back(text, std::find(text, text + kCellChars - 1, L'\0') - text);
        }
        rows.push_back(rowTexts);
    }
    return rows;
}

ListColumns listColumns(HWND list) {
    int columns = listColumnCount(list);
    RemoteBuffer remote(list, kBufferSize);
    ListColumns out;
    for (int column = 0; column < columns; ++column) {
        LVCOLUMNW info{};
        info.mask = LVCF_TEXT;
        info.pszText = reinterpret_cast<LPWSTR>(remote.address(kTextOffset));
        info.cchTextMax = static_cast<int>(kTextChars);
        remote.write(0, &info, sizeof info);
        if (!sendOrThrow(list, LVM_GETCOLUMNW, static_cast<WPARAM>(column), remote.address()))
            throw DriverError("LVM_GETCOLUMNW failed");
        wchar_t text[kTextChars] = {};
        remote.read(kTextOffset, text, sizeof text);
        text[kTextChars - 1] = L'\0';
        out.headers.push_back(text);
    }
    out.order.assign(static_cast<size_t>(columns), 0);
    if (columns > 0) {
        if (!sendOrThrow(list, LVM_GETCOLUMNORDERARRAY, static_cast<WPARAM>(columns), remote.address(kTextOffset)))
            throw DriverError("LVM_GETCOLUMNORDERARRAY failed");
        remote.read(kTextOffset, out.order.data(), out.order.size() * sizeof(int));
    }
    return out;
}

ListState listState(HWND list) {
    ListState state{};
    state.focused = static_cast<int>(sendOrThrow(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED));
    int row = -1;
    for (;;) {
        row = static_cast<int>(sendOrThrow(list, LVM_GETNEXTITEM, static_cast<WPARAM>(row), LVNI_SELECTED));
        if (row < 0) break;
        state.selected.push_back(row);
    }
    state.topIndex = static_cast<int>(sendOrThrow(list, LVM_GETTOPINDEX, 0, 0));
    state.perPage = static_cast<int>(sendOrThrow(list, LVM_GETCOUNTPERPAGE, 0, 0));
    return state;
}

void listSetState(HWND list, int row, bool selected, bool focused, bool ensureVisible) {
    RemoteBuffer remote(list, sizeof(LVITEMW));
    LVITEMW item{};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = (selected ? LVIS_SELECTED : 0u) | (focused ? LVIS_FOCUSED : 0u);
    remote.write(0, &item, sizeof item);
    if (!sendOrThrow(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row), remote.address()))
        throw DriverError("LVM_SETITEMSTATE failed");
    if (ensureVisible && row >= 0) sendOrThrow(list, LVM_ENSUREVISIBLE, static_cast<WPARAM>(row), FALSE);
}

ListPaint listScrollAndPaint(HWND list, int row) {
    LARGE_INTEGER frequency, start, scrolled, painted;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    sendOrThrow(list, LVM_ENSUREVISIBLE, static_cast<WPARAM>(row), FALSE);
    QueryPerformanceCounter(&scrolled);
    // The whole client area, painted before the call returns.
    if (!RedrawWindow(list, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW))
        throw DriverError("RedrawWindow failed");
    QueryPerformanceCounter(&painted);
    auto us = [&](const LARGE_INTEGER& from, const LARGE_INTEGER& to) {
        return (to.QuadPart - from.QuadPart) * 1000000 / frequency.QuadPart;
    };
    ListPaint paint{us(start, scrolled), us(scrolled, painted), 0};
    paint.topIndex = static_cast<int>(sendOrThrow(list, LVM_GETTOPINDEX, 0, 0));
    return paint;
}

bool listSync(HWND list, DWORD timeoutMs) {
    // The hover time is the one list setting that is readable, settable by a
    // posted message and harmless to change for a moment; it is put back.
    LRESULT original = sendOrThrow(list, LVM_GETHOVERTIME, 0, 0);
    static DWORD counter = 0;
    DWORD marker = 0x5EC00000u + (++counter & 0xFFFFu);
    postOrThrow(list, LVM_SETHOVERTIME, 0, static_cast<LPARAM>(marker));
    DWORD start = GetTickCount();
    bool seen = false;
    while (!seen && GetTickCount() - start < timeoutMs) {
        DWORD_PTR now = 0;
        if (SendMessageTimeoutW(list, LVM_GETHOVERTIME, 0, 0, SMTO_ABORTIFHUNG, 200, &now) &&
            static_cast<DWORD>(now) == marker)
            seen = true;
        else
            Sleep(10);
    }
    if (seen) sendOrThrow(list, LVM_SETHOVERTIME, 0, original);
    return seen;
}

}  // namespace e2e
