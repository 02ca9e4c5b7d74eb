// Draws the plot window's client area with GDI into a memory bitmap (a DIB
// section that the marks are painted into directly), then copies it to the
// window in one piece, so that nothing flickers.
//
// The top part is the plot: white, each drawn point a small dark square,
// the selected one larger in red, names beside the marks where they fit, a
// scale bar at the bottom left and a north arrow at the top right, where no
// name is written (app/plot/PlotLayout.h places them); an empty list shows a
// short hint instead. The bottom line is the status: how many points are
// drawn and how many were left out, and how to move about.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "app/plot/PlotGeometry.h"
#include "app/plot/PlotLayout.h"
#include "app/plot/PlotScene.h"

class PlotModel;
class PointRecord;

// The texts the plot shows, in the program's language.
struct PlotTexts {
    std::string north;          // the letter of the north arrow
    std::string count;          // %d drawn points
    std::string countLeftOut;   // %d drawn, %d left out
    std::string empty;          // the hint of an empty list
    std::string help;           // how to move about
};

class PlotPainter {
public:
    PlotPainter() = default;
    ~PlotPainter();
    PlotPainter(const PlotPainter&) = delete;
    PlotPainter& operator=(const PlotPainter&) = delete;

    // The DPI the window is drawn at and the font of the names and the
    // status line (the caller keeps it while it is in use).
    void setStyle(int dpi, HFONT font);
    const PlotSizes& sizes() const { return sizes_; }
    // The status line's height in pixels, from the font.
    int statusHeight() const;
    // What a fit of the points keeps free along the plot's sides, so that
    // the scale bar and the north arrow cover no mark and no name.
    Insets fitInsets() const;

    // Draws the client area, width x height pixels, into target. The plot
    // part is the model's view; the caller has sized the view to it.
    void paint(HDC target, int width, int height, PlotModel& model, const PlotTexts& texts);

private:
    bool makeBitmap(HDC target, int width, int height);
    void dropBitmap();
    void drawNames(PlotModel& model, const PixelRect& selectedAt, const std::vector<PixelRect>& overlays);
    int textWidth(const std::string& text);
    void drawScaleBar(const ScaleBarPlace& place, const std::string& label);
    void drawNorthArrow(const NorthArrowPlace& place, const std::string& letter);
    void drawStatus(PlotModel& model, int width, int height, const PlotTexts& texts);
    int nameWidth(const PointRecord& point);

    PlotSizes sizes_{96};
    HFONT font_ = nullptr;
    int charWidths_[256] = {};
    bool widthsKnown_ = false;
    int lineHeight_ = 0;

    HDC memory_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ oldBitmap_ = nullptr;
    std::uint32_t* bits_ = nullptr;
    int width_ = 0;
    int height_ = 0;

    PlotScene scene_;
    std::vector<std::uint8_t> work_;
};
