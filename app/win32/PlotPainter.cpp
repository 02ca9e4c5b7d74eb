#include "app/win32/PlotPainter.h"

#include <algorithm>
#include <cmath>

#include "app/TextFill.h"
#include "app/plot/PixelImage.h"
#include "app/plot/PlotModel.h"
#include "app/plot/PlotNames.h"
#include "app/plot/ScaleBar.h"
#include "win32/WindowDpi.h"

namespace {

// Pixels of the memory bitmap are 0x00RRGGBB; GDI colours are COLORREFs.
constexpr std::uint32_t kPaper = 0xFFFFFF;
constexpr std::uint32_t kMark = 0x1A1A1A;
constexpr std::uint32_t kSelected = 0xD00000;
const COLORREF kNameColour = RGB(40, 40, 40);
const COLORREF kSelectedColour = RGB(0xD0, 0, 0);
const COLORREF kInk = RGB(0, 0, 0);

// Marks listed one by one, for their names, up to this many in view; more
// than that leaves no room for names anyway.
constexpr std::size_t kNamedMarks = 4000;

void fillBlack(HDC dc, const PixelRect& rect) {
    RECT area{rect.left, rect.top, rect.right, rect.bottom};
    FillRect(dc, &area, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
}

}  // namespace

PlotPainter::~PlotPainter() { dropBitmap(); }

void PlotPainter::setStyle(int dpi, HFONT font) {
    sizes_ = PlotSizes(dpi);
    font_ = font;
    widthsKnown_ = false;
    lineHeight_ = 0;
    if (HDC screen = GetDC(nullptr)) {
        HGDIOBJ old = SelectObject(screen, font_ ? static_cast<HGDIOBJ>(font_) : GetStockObject(DEFAULT_GUI_FONT));
        TEXTMETRICA metrics;
        if (GetTextMetricsA(screen, &metrics)) lineHeight_ = metrics.tmHeight;
        SelectObject(screen, old);
        ReleaseDC(nullptr, screen);
    }
    if (lineHeight_ <= 0) lineHeight_ = scaledForDpi(13, dpi);
}

int PlotPainter::statusHeight() const { return lineHeight_ + 2 * sizes_.padding + 1; }

Insets PlotPainter::fitInsets() const { return ::fitInsets(sizes_, lineHeight_); }

bool PlotPainter::makeBitmap(HDC target, int width, int height) {
    if (bitmap_ && width == width_ && height == height_) return true;
    dropBitmap();
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // rows from the top
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    memory_ = CreateCompatibleDC(target);
    bitmap_ = memory_ ? CreateDIBSection(target, &info, DIB_RGB_COLORS, &bits, nullptr, 0) : nullptr;
    if (!bitmap_ || !bits) {
        dropBitmap();
        return false;
    }
    oldBitmap_ = SelectObject(memory_, bitmap_);
    bits_ = static_cast<std::uint32_t*>(bits);
    width_ = width;
    height_ = height;
    return true;
}

void PlotPainter::dropBitmap() {
    if (memory_ && oldBitmap_) SelectObject(memory_, oldBitmap_);
    if (bitmap_) DeleteObject(bitmap_);
    if (memory_) DeleteDC(memory_);
    memory_ = nullptr;
    bitmap_ = nullptr;
    oldBitmap_ = nullptr;
    bits_ = nullptr;
    width_ = height_ = 0;
}

// A name's width in the font: single-byte characters from a table read once,
// names with double-byte characters measured whole.
int PlotPainter::nameWidth(const PointRecord& point) {
    if (!widthsKnown_) {
        if (!GetCharWidth32A(memory_, 0, 255, charWidths_))
            std::fill(std::begin(charWidths_), std::end(charWidths_), lineHeight_ / 2);
        widthsKnown_ = true;
    }
    int width = 0;
    for (const char* c = point.name; *c; ++c) {
        unsigned char byte = static_cast<unsigned char>(*c);
        if (byte >= 0x80 && IsDBCSLeadByte(byte)) {
            SIZE size;
            return GetTextExtentPoint32A(memory_, point.name, lstrlenA(point.name), &size) ? size.cx : 0;
        }
        width += charWidths_[byte];
    }
    return width;
}

void PlotPainter::paint(HDC target, int width, int height, PlotModel& model, const PlotTexts& texts) {
    width = std::max(width, 1);
    height = std::max(height, 1);
    if (!makeBitmap(target, width, height)) {
        // No memory for the picture: a plain white window rather than none.
        RECT all{0, 0, width, height};
        FillRect(target, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        return;
    }
    GdiFlush();  // GDI is done with the bitmap before its pixels are written
    const PlotView& view = model.view();
    PixelImage image{bits_, width, std::min(view.height(), height), width};
    fillImage(image, kPaper);
    HGDIOBJ oldFont = SelectObject(memory_, font_ ? static_cast<HGDIOBJ>(font_) : GetStockObject(DEFAULT_GUI_FONT));

    // The scale bar and the north arrow, over the points where any are
    // drawn; no name is written under them.
    const bool overlaid = model.extent().drawn > 0;
    ScaleBar bar = chooseScaleBar(view.scale(), std::min(sizes_.scaleBarMost, view.width() / 2));
    std::string barLabel = scaleBarText(bar);
    ScaleBarPlace barPlace = placeScaleBar(sizes_, view.height(), static_cast<int>(std::lround(bar.pixels)),
                                           textWidth(barLabel), lineHeight_);
    NorthArrowPlace arrowPlace = placeNorthArrow(sizes_, view.width(), textWidth(texts.north), lineHeight_);
    std::vector<PixelRect> overlays;
    if (overlaid) overlays = {barPlace.area(), arrowPlace.area()};

    const PointStore& store = model.store();
    PixelRect selectedAt{0, 0, 0, 0};
    if (!store.empty()) {
        scene_.build(store, view, sizes_.markRadius, kNamedMarks);
        paintMarks(image, scene_, kMark, work_);
        long row = model.selected();
        if (row != PlotModel::kNoRow) {
            const PointRecord& point = store.at(static_cast<std::size_t>(row));
            ScreenPoint at = view.toScreen({point.e, point.n});
            double reach = sizes_.selectedRadius;
            if (drawable(point) && at.x >= -reach && at.x < view.width() + reach && at.y >= -reach &&
                at.y < view.height() + reach) {
                Pixel pixel = pixelOf(at);
                int r = sizes_.selectedRadius;
                frameSquare(image, pixel.x, pixel.y, r, sizes_.selectedFrame, kSelected);
                fillSquare(image, pixel.x, pixel.y, sizes_.markRadius + 1, kSelected);
                selectedAt = {pixel.x - r, pixel.y - r, pixel.x + r + 1, pixel.y + r + 1};
            }
        }
        drawNames(model, selectedAt, overlays);
    } else {
        RECT room{sizes_.padding * 4, 0, view.width() - sizes_.padding * 4, view.height()};
        RECT measured = room;
        DrawTextA(memory_, texts.empty.c_str(), -1, &measured, DT_CENTER | DT_WORDBREAK | DT_NOPREFIX | DT_CALCRECT);
        int textHeight = measured.bottom - measured.top;
        room.top = (view.height() - textHeight) / 2;
        room.bottom = room.top + textHeight;
        SetBkMode(memory_, TRANSPARENT);
        SetTextColor(memory_, kNameColour);
        DrawTextA(memory_, texts.empty.c_str(), -1, &room, DT_CENTER | DT_WORDBREAK | DT_NOPREFIX);
    }
    if (overlaid) {
        drawScaleBar(barPlace, barLabel);
        drawNorthArrow(arrowPlace, texts.north);
    }
    drawStatus(model, width, height, texts);
    SelectObject(memory_, oldFont);
    BitBlt(target, 0, 0, width, height, memory_, 0, 0, SRCCOPY);
}

void PlotPainter::drawNames(PlotModel& model, const PixelRect& selectedAt, const std::vector<PixelRect>& overlays) {
    const PointStore& store = model.store();
    NameStyle style{lineHeight_, sizes_.nameGap, std::max(1, sizes_.markRadius)};
    std::vector<PlacedName> names =
        placeNames(store, scene_, model.selected(), selectedAt, style,
                   [this](const PointRecord& point) { return nameWidth(point); }, overlays);
    SetBkColor(memory_, RGB(255, 255, 255));
    for (const PlacedName& name : names) {
        const char* text = store.at(name.row).name;
        // The selected name may lie over marks: on white, to stay readable.
        bool selected = static_cast<long>(name.row) == model.selected();
        SetBkMode(memory_, selected ? OPAQUE : TRANSPARENT);
        SetTextColor(memory_, selected ? kSelectedColour : kNameColour);
        TextOutA(memory_, name.rect.left, name.rect.top, text, lstrlenA(text));
    }
}

int PlotPainter::textWidth(const std::string& text) {
    SIZE size{0, 0};
    GetTextExtentPoint32A(memory_, text.c_str(), static_cast<int>(text.size()), &size);
    return size.cx;
}

void PlotPainter::drawScaleBar(const ScaleBarPlace& place, const std::string& label) {
    fillBlack(memory_, place.bar);
    fillBlack(memory_, place.leftTick);
    fillBlack(memory_, place.rightTick);
    SetBkMode(memory_, OPAQUE);
    SetBkColor(memory_, RGB(255, 255, 255));
    SetTextColor(memory_, kInk);
    TextOutA(memory_, place.label.left, place.label.top, label.c_str(), static_cast<int>(label.size()));
}

void PlotPainter::drawNorthArrow(const NorthArrowPlace& place, const std::string& letter) {
    SetBkMode(memory_, OPAQUE);
    SetBkColor(memory_, RGB(255, 255, 255));
    SetTextColor(memory_, kInk);
    TextOutA(memory_, place.letter.left, place.letter.top, letter.c_str(), static_cast<int>(letter.size()));
    fillBlack(memory_, place.shaft);
    POINT triangle[] = {{place.tip.x, place.tip.y},
                        {place.tip.x - place.headHalf, place.headBottom},
                        {place.tip.x + place.headHalf, place.headBottom}};
    HGDIOBJ oldBrush = SelectObject(memory_, GetStockObject(BLACK_BRUSH));
    HGDIOBJ oldPen = SelectObject(memory_, GetStockObject(BLACK_PEN));
    Polygon(memory_, triangle, 3);
    SelectObject(memory_, oldPen);
    SelectObject(memory_, oldBrush);
}

void PlotPainter::drawStatus(PlotModel& model, int width, int height, const PlotTexts& texts) {
    int top = model.view().height();
    if (top >= height) return;
    RECT strip{0, top, width, height};
    FillRect(memory_, &strip, GetSysColorBrush(COLOR_BTNFACE));
    RECT line{0, top, width, top + 1};
    FillRect(memory_, &line, GetSysColorBrush(COLOR_BTNSHADOW));
    const PointExtent& extent = model.extent();
    std::string count = extent.leftOut ? fillText(texts.countLeftOut, {static_cast<int>(extent.drawn),
                                                                       static_cast<int>(extent.leftOut)})
                                       : fillText(texts.count, {static_cast<int>(extent.drawn)});
    SetBkMode(memory_, TRANSPARENT);
    SetTextColor(memory_, GetSysColor(COLOR_BTNTEXT));
    int y = top + 1 + sizes_.padding;
    TextOutA(memory_, sizes_.padding * 2, y, count.c_str(), static_cast<int>(count.size()));
    SIZE countSize{0, 0}, helpSize{0, 0};
    GetTextExtentPoint32A(memory_, count.c_str(), static_cast<int>(count.size()), &countSize);
    GetTextExtentPoint32A(memory_, texts.help.c_str(), static_cast<int>(texts.help.size()), &helpSize);
    int helpLeft = width - sizes_.padding * 2 - helpSize.cx;
    if (helpLeft > sizes_.padding * 6 + countSize.cx)
        TextOutA(memory_, helpLeft, y, texts.help.c_str(), static_cast<int>(texts.help.size()));
}
