#include "app/plot/PointExtent.h"

#include <algorithm>

#include "points/PointStore.h"

void PointExtent::add(const PointStore& store, std::size_t first, std::size_t count) {
    std::size_t end = first < store.size() ? first + std::min(count, store.size() - first) : first;
    for (std::size_t row = first; row < end; ++row) {
        const PointRecord& point = store.at(row);
        if (drawable(point)) {
            box.add({point.e, point.n});
            ++drawn;
        } else {
            ++leftOut;
        }
    }
}

PointExtent measurePoints(const PointStore& store) {
    PointExtent extent;
    extent.add(store, 0, store.size());
    return extent;
}
