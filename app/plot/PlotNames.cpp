#include "app/plot/PlotNames.h"

#include "app/plot/LabelPlacer.h"
#include "app/plot/PlotScene.h"
#include "points/PointStore.h"

namespace {

PixelRect markRect(int x, int y, int radius) { return {x - radius, y - radius, x + radius + 1, y + radius + 1}; }

}  // namespace

std::vector<PlacedName> placeNames(const PointStore& store, const PlotScene& scene, long selectedRow,
                                   const PixelRect& selectedAt, const NameStyle& style,
                                   const std::function<int(const PointRecord&)>& textWidth,
                                   const std::vector<PixelRect>& keepFree) {
    std::vector<PlacedName> names;
    LabelPlacer placer(scene.width(), scene.height(), style.cell);
    for (const PixelRect& rect : keepFree) placer.take(rect);
    bool selected = selectedRow >= 0 && static_cast<std::size_t>(selectedRow) < store.size() && !selectedAt.empty();
    if (scene.listsEveryMark())
        for (const PlotMark& mark : scene.marks()) placer.take(markRect(mark.x, mark.y, scene.markRadius()));
    if (selected) placer.take(selectedAt);

    auto tryName = [&](std::size_t row, int x, int y, int reach, bool always) {
        const PointRecord& point = store.at(row);
        if (point.name[0] == '\0') return;
        int width = textWidth(point);
        PixelRect where;
        if (placer.place(x, y, reach, width, style.textHeight, style.gap, where)) {
            names.push_back({row, where});
        } else if (always) {
            // Over the marks beside it, on the right where the window has room.
            int left = x + reach + style.gap + 1;
            if (left + width > scene.width()) left = x - reach - style.gap - width;
            where = {left, y - style.textHeight / 2, left + width, y - style.textHeight / 2 + style.textHeight};
            placer.take(where);
            names.push_back({row, where});
        }
    };
    if (selected) {
        int x = (selectedAt.left + selectedAt.right - 1) / 2, y = (selectedAt.top + selectedAt.bottom - 1) / 2;
        tryName(static_cast<std::size_t>(selectedRow), x, y, (selectedAt.right - selectedAt.left - 1) / 2, true);
    }
    if (!scene.listsEveryMark()) return names;
    for (const PlotMark& mark : scene.marks())
        if (!selected || mark.row != static_cast<std::size_t>(selectedRow))
            tryName(mark.row, mark.x, mark.y, scene.markRadius(), false);
    return names;
}
