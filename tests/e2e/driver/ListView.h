// Reading and steering a report list view in another process.
#pragma once

#include <string>
#include <vector>

#include <windows.h>

namespace e2e {

int listItemCount(HWND list);
int listColumnCount(HWND list);

// Cell texts of rows [first, first + count), each row in column-index order.
std::vector<std::vector<std::wstring>> listRows(HWND list, int first, int count);

struct ListColumns {
    std::vector<std::wstring> headers;  // in column-index order
    std::vector<int> order;             // column indexes in display order
};
ListColumns listColumns(HWND list);

struct ListState {
    int focused;  // -1: none
    std::vector<int> selected;
    int topIndex;
    int perPage;  // rows that fit fully in the visible area
};
ListState listState(HWND list);

// Sets or clears the selected and focused states of one row (-1: all rows) and
// optionally scrolls it into view, as a click on the row would.
void listSetState(HWND list, int row, bool selected, bool focused, bool ensureVisible);

// Scrolls a row into view (wholly) and has the list repaint all it shows
// at once; the microseconds each took, as seen from this process.
struct ListPaint {
    long long scrollUs;
    long long paintUs;
    int topIndex;  // the top row afterwards
};
ListPaint listScrollAndPaint(HWND list, int row);

// Posts a marker message to the list and waits until the list has handled it.
// Posted messages of one thread are handled in order, so on return everything
// posted to the list's thread before has been handled too. Returns false on
// time-out.
bool listSync(HWND list, DWORD timeoutMs);

}  // namespace e2e
