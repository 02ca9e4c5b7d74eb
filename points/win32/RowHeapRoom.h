// Free heap room laid out before many rows go into a list view at once, so
// that the list control's own per-row bookkeeping does not fragment the
// process heap.
//
// The list control keeps its rows in arrays that it regrows every few rows,
// and allocates a handful of small blocks per row from the same heap. Under
// Wine's heap those small blocks land in the holes that every regrown array
// leaves behind, the holes can then never merge, and 100,000 rows leave
// about 200 MB of unusable free space. prepare() frees a supply of blocks
// of just under 4 KB, each kept apart from the next by a tiny block still in
// use: the small allocations are served from that supply first, and the
// array holes merge and are reused. release() gives the separators back.
//
// Only under Wine: other heaps (the low-fragmentation heap of Windows) serve
// small blocks apart from large ones already, and the supply would only
// cost memory there.
#pragma once

#include <cstddef>
#include <vector>

class RowHeapRoom {
public:
    RowHeapRoom() = default;
    RowHeapRoom(const RowHeapRoom&) = delete;
    RowHeapRoom& operator=(const RowHeapRoom&) = delete;
    ~RowHeapRoom() { release(); }

    // Lays out room for rows rows; a previous supply is released first.
    void prepare(int rows);
    void release();

private:
    std::vector<void*> separators_;
};
