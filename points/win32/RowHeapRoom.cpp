#include "points/win32/RowHeapRoom.h"

#include <windows.h>

#include <new>

namespace {

// Process-heap room one row needs: the list control's bookkeeping (four
// small blocks per row under Wine 8.0) and what is lost where they do not
// fill a block of the supply exactly. Measured with 100,000 rows: 216 bytes
// suffice, fewer leave the last rows to fragment the heap again (11 MB
// more); every byte more stays as touched memory (0.1 MB per byte). The
// rows' PointRecords come from the C runtime's own heap and need no room.
constexpr std::size_t kBytesPerRow = 232;
// Each block of the supply stays below 4 KB with its header: blocks up to
// that size are looked up before the large ones the arrays leave behind.
constexpr std::size_t kPieceSize = 4000;
// Below this many rows the holes do not matter.
constexpr int kFewRows = 2000;

bool runningUnderWine() {
    static const bool wine = [] {
        HMODULE ntdll = GetModuleHandleA("ntdll.dll");
        return ntdll && GetProcAddress(ntdll, "wine_get_version") != nullptr;
    }();
    return wine;
}

}  // namespace

void RowHeapRoom::prepare(int rows) {
    release();
    if (rows < kFewRows || !runningUnderWine()) return;
    std::size_t pieces = static_cast<std::size_t>(rows) * kBytesPerRow / kPieceSize + 1;
    std::vector<void*> supply;
    try {
        // Both lists are made before the first piece, so that they do not
        // end up between pieces themselves.
        supply.reserve(pieces);
        separators_.reserve(pieces);
    } catch (const std::bad_alloc&) {
        return;
    }
    HANDLE heap = GetProcessHeap();
    for (std::size_t i = 0; i < pieces; ++i) {
        void* piece = HeapAlloc(heap, 0, kPieceSize);
        void* separator = piece ? HeapAlloc(heap, 0, 1) : nullptr;
        if (!separator) {
            if (piece) HeapFree(heap, 0, piece);
            break;  // no more room: the rows get what there is
        }
        supply.push_back(piece);
        separators_.push_back(separator);
    }
    for (void* piece : supply) HeapFree(heap, 0, piece);
}

void RowHeapRoom::release() {
    HANDLE heap = GetProcessHeap();
    for (void* separator : separators_) HeapFree(heap, 0, separator);
    separators_.clear();
    separators_.shrink_to_fit();
}
