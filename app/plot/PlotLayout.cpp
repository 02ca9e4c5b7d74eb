#include "app/plot/PlotLayout.h"

#include <algorithm>

namespace {

PixelRect united(const PixelRect& a, const PixelRect& b) {
    return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
            std::max(a.bottom, b.bottom)};
}

}  // namespace

int pixelsAtDpi(int pixels, int dpi) {
    long long scaled = static_cast<long long>(pixels) * dpi;
    return static_cast<int>(scaled >= 0 ? (scaled + 48) / 96 : -((-scaled + 48) / 96));
}

PlotSizes::PlotSizes(int dpi)
    : markRadius(pixelsAtDpi(2, dpi)),
      selectedRadius(pixelsAtDpi(6, dpi)),
      selectedFrame(pixelsAtDpi(2, dpi)),
      hitRadius(pixelsAtDpi(6, dpi)),
      margin(pixelsAtDpi(24, dpi)),
      nameGap(pixelsAtDpi(2, dpi)),
      scaleBarMost(pixelsAtDpi(120, dpi)),
      arrowLength(pixelsAtDpi(28, dpi)),
      padding(pixelsAtDpi(4, dpi)) {}

PixelRect ScaleBarPlace::area() const { return united(united(bar, leftTick), united(rightTick, label)); }

ScaleBarPlace placeScaleBar(const PlotSizes& sizes, int viewHeight, int length, int labelWidth, int textHeight) {
    length = std::max(length, 1);
    const int thick = std::max(1, sizes.padding / 2);
    const int tick = sizes.padding * 2;
    const int left = sizes.padding * 3, bottom = viewHeight - sizes.padding * 3;
    ScaleBarPlace place;
    place.bar = {left, bottom - thick, left + length, bottom};
    place.leftTick = {left, bottom - tick, left + thick, bottom};
    place.rightTick = {left + length - thick, bottom - tick, left + length, bottom};
    const int labelLeft = left + (length - labelWidth) / 2;
    place.label = {labelLeft, bottom - tick - textHeight, labelLeft + labelWidth, bottom - tick};
    return place;
}

PixelRect NorthArrowPlace::area() const {
    return united(united(letter, shaft), {tip.x - headHalf, tip.y, tip.x + headHalf + 1, headBottom + 1});
}

NorthArrowPlace placeNorthArrow(const PlotSizes& sizes, int viewWidth, int letterWidth, int textHeight) {
    const int middle = viewWidth - sizes.padding * 6;
    const int top = sizes.padding * 2;
    const int thick = std::max(1, sizes.padding / 2);
    const int head = sizes.arrowLength / 3;
    NorthArrowPlace place;
    place.letter = {middle - letterWidth / 2, top, middle - letterWidth / 2 + letterWidth, top + textHeight};
    place.tip = {middle, top + textHeight + sizes.padding / 2};
    place.headBottom = place.tip.y + head;
    place.headHalf = head / 2 + 1;
    place.shaft = {middle - thick / 2, place.headBottom - 1, middle - thick / 2 + thick,
                   place.tip.y + sizes.arrowLength};
    return place;
}

Insets fitInsets(const PlotSizes& sizes, int textHeight) {
    // A mark reaches selectedRadius round its pixel at most; a name beside
    // it, centred on it, half its height.
    const int reach = std::max(sizes.selectedRadius, textHeight - textHeight / 2) + 1;
    // The arrow's place down from the top, and the bar's up from the
    // bottom, do not depend on the window's size.
    const int arrowBottom = placeNorthArrow(sizes, 0, 0, textHeight).area().bottom;
    const int barTop = -placeScaleBar(sizes, 0, 1, 0, textHeight).area().top;
    return {sizes.margin, std::max(sizes.margin, arrowBottom + reach), sizes.margin,
            std::max(sizes.margin, barTop + reach)};
}
