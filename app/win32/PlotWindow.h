// The plot window: every point of the store drawn in plan, beside the main
// window's list. It is modeless, resizable and owned by the main window;
// opening it again brings it to the front. It changes no point, so it stays
// usable while a transfer runs.
//
// Moving about: the mouse wheel zooms about the cursor, a drag pans, Home
// or a double-click on empty space shows all points, the arrow keys pan
// and + and - zoom about the middle. A click on a point selects its row in
// the list (through the host), except while a box of the main window is up.
//
// Builds with RUVO_TEST_HOOKS (all but the release builds) answer two
// registered messages for the tests and benchmarks: "RUVO_PLOT_WHERE" with
// a row in wParam returns where the row's mark is drawn, MAKELONG(x, y) in
// client pixels, or -1 when the row is not drawn in the window;
// "RUVO_PLOT_PAINT_TIME" returns the microseconds that drawing the last
// picture took (PlotWindowTestHooks.cpp).
//
// While it is open the plot watches the store (an observer of it), so it
// shows every change at once: it asks for a new picture and draws it when
// the window paints, so many changes in a row cost one picture.
//
// User-interface thread only.
#pragma once

#include <windows.h>

#include <memory>

#include "app/plot/PlotModel.h"
#include "app/win32/PlotPainter.h"

class PointStore;
class TextTable;

// What the plot asks of the window that owns it.
class PlotWindowHost {
public:
    virtual ~PlotWindowHost() = default;
    // The list's selected row, -1 when none.
    virtual long selectedRow() = 0;
    // A click on the point of row: the row is selected, focused and
    // scrolled into view, as a click on it in the list does.
    virtual void rowClicked(long row) = 0;
};

class PlotWindow {
public:
    static const char* const kClassName;

    PlotWindow(HINSTANCE instance, const PointStore& store, const TextTable& texts, PlotWindowHost& host);
    ~PlotWindow();
    PlotWindow(const PlotWindow&) = delete;
    PlotWindow& operator=(const PlotWindow&) = delete;

    // Opens the window owned by owner, or brings it to the front when it is
    // open already.
    void open(HWND owner);
    bool isOpen() const { return window_ != nullptr; }
    HWND window() const { return window_; }

    void close();

    // The list's row is now selected; byKeyboard: the user moved the
    // selection with the keyboard in the list, and the plot shows the point.
    void rowSelected(long row, bool byKeyboard);
    // The list's rows first .. last are no longer selected (-1: no row is).
    void rowsDeselected(long first, long last);

private:
    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
    void created(HWND window);
    void destroyed();
    void takeDpi(int dpi);
    void layOut();
    void paint();
    void redraw();
    void click(POINT at, bool twice);
    bool key(WPARAM key);
#ifdef RUVO_TEST_HOOKS
    // A message of the tests: true, with its answer in result, when it was one.
    bool answerTestMessage(UINT message, WPARAM wParam, LRESULT& result);
    LRESULT where(long row);
#endif

    HINSTANCE instance_;
    const PointStore& store_;
    const TextTable& texts_;
    PlotWindowHost& host_;
    HWND window_ = nullptr;
    HWND owner_ = nullptr;
    std::unique_ptr<PlotModel> model_;
    PlotPainter painter_;
    PlotTexts plotTexts_;
    HFONT font_ = nullptr;
    int dpi_ = 96;
#ifdef RUVO_TEST_HOOKS
    LRESULT paintMicroseconds_ = 0;
#endif
    bool pictureAsked_ = false;  // the window is invalid and will paint
    bool pressed_ = false;       // the left button went down in the window
    bool dragging_ = false;
    POINT pressedAt_{0, 0};
    POINT lastAt_{0, 0};
};
