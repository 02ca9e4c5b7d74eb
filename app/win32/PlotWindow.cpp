#include "app/win32/PlotWindow.h"

#include <windowsx.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "app/TextTable.h"
#include "resources/resource.h"
#include "win32/WindowDpi.h"

const char* const PlotWindow::kClassName = PLOT_WINDOW_CLASS;

namespace {

// A notch of the wheel zooms by this much; the keys + and - too.
constexpr double kZoomStep = 1.25;
// The arrow keys move the picture by this part of the window.
constexpr int kPanParts = 8;

// The window's size when it opens, at 96 DPI, and the smallest it gets.
constexpr int kOpenWidth = 520, kOpenHeight = 440;
constexpr int kLeastWidth = 200, kLeastHeight = 160;

bool registerClass(HINSTANCE instance, WNDPROC procedure) {
    static bool registered = false;
    if (registered) return true;
    WNDCLASSEXA type = {};
    type.cbSize = sizeof type;
    type.style = CS_DBLCLKS;
    type.lpfnWndProc = procedure;
    type.hInstance = instance;
    type.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_PROGRAM));
    type.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    type.lpszClassName = PlotWindow::kClassName;
    registered = RegisterClassExA(&type) != 0;
    return registered;
}

// Where the window opens (left, top, width, height): beside the owner on
// the right, where the owner's screen has room for it, else on the left;
// where neither side has room, at the edge of the screen on the side with
// more room, so that it covers as little of the list as it can. Without the
// owner's place, where the system puts new windows.
RECT openingPlace(HWND owner, int width, int height) {
    RECT place{CW_USEDEFAULT, CW_USEDEFAULT, width, height};
    RECT ownerRect;
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof monitor;
    if (GetWindowRect(owner, &ownerRect) &&
        GetMonitorInfoA(MonitorFromWindow(owner, MONITOR_DEFAULTTONEAREST), &monitor)) {
        const RECT& work = monitor.rcWork;
        int top = std::max(work.top, std::min<long>(ownerRect.top, work.bottom - height));
        long roomRight = work.right - ownerRect.right, roomLeft = ownerRect.left - work.left;
        if (roomRight >= width)
            place = {ownerRect.right, top, width, height};
        else if (roomLeft >= width)
            place = {ownerRect.left - width, top, width, height};
        else if (roomRight >= roomLeft)
            place = {std::max(work.left, work.right - width), top, width, height};
        else
            place = {work.left, top, width, height};
    }
    return place;
}

}  // namespace

PlotWindow::PlotWindow(HINSTANCE instance, const PointStore& store, const TextTable& texts, PlotWindowHost& host)
    : instance_(instance), store_(store), texts_(texts), host_(host) {}

PlotWindow::~PlotWindow() { close(); }

void PlotWindow::open(HWND owner) {
    if (window_) {
        if (IsIconic(window_)) ShowWindow(window_, SW_RESTORE);
        SetForegroundWindow(window_);
        BringWindowToTop(window_);
        return;
    }
    if (!registerClass(instance_, windowProc)) return;
    owner_ = owner;
    plotTexts_ = {texts_.text(kTextHeaderN), texts_.text(kTextPlotCount), texts_.text(kTextPlotCountLeftOut),
                  texts_.text(kTextPlotEmpty), texts_.text(kTextPlotHelp)};
    int dpi = windowDpi(owner);
    RECT place = openingPlace(owner, scaledForDpi(kOpenWidth, dpi), scaledForDpi(kOpenHeight, dpi));
    std::string caption = texts_.text(kTextPlotCaption);
    HWND window = CreateWindowExA(0, kClassName, caption.c_str(), WS_OVERLAPPEDWINDOW, place.left, place.top,
                                  place.right, place.bottom, owner, nullptr, instance_, this);
    if (window) ShowWindow(window, SW_SHOWNORMAL);
}

void PlotWindow::close() {
    if (window_) DestroyWindow(window_);
}

void PlotWindow::rowSelected(long row, bool byKeyboard) {
    if (model_) model_->select(row, byKeyboard);
}

void PlotWindow::rowsDeselected(long first, long last) {
    if (!model_ || model_->selected() == PlotModel::kNoRow) return;
    long row = model_->selected();
    if (first < 0 || (row >= first && row <= last)) model_->select(PlotModel::kNoRow, false);
}

LRESULT CALLBACK PlotWindow::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* self = static_cast<PlotWindow*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<PlotWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    // From WM_CREATE on the client area has its size, which the first fit
    // of the points needs.
    if (self && message == WM_CREATE) self->created(window);
    if (!self || !self->window_) return DefWindowProcA(window, message, wParam, lParam);
    return self->handle(message, wParam, lParam);
}

void PlotWindow::created(HWND window) {
    window_ = window;
    model_ = std::make_unique<PlotModel>(store_, [this] { redraw(); });
    store_.addObserver(*model_);
    takeDpi(windowDpi(window));
    model_->select(host_.selectedRow(), false);
}

void PlotWindow::destroyed() {
    if (model_) store_.removeObserver(*model_);
    SetWindowLongPtrA(window_, GWLP_USERDATA, 0);
    model_.reset();
    window_ = nullptr;
    pressed_ = dragging_ = pictureAsked_ = false;
    painter_.setStyle(dpi_, nullptr);
    if (font_) DeleteObject(font_);
    font_ = nullptr;
}

// Sizes and the font for the DPI. The font is the owner's dialog font, at
// this window's DPI.
void PlotWindow::takeDpi(int dpi) {
    dpi_ = dpi > 0 ? dpi : 96;
    LOGFONTA face = {};
    HFONT ownerFont = reinterpret_cast<HFONT>(SendMessageA(owner_, WM_GETFONT, 0, 0));
    if (!ownerFont || !GetObjectA(ownerFont, sizeof face, &face)) {
        NONCLIENTMETRICSA metrics = {};
        metrics.cbSize = sizeof metrics;
        SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
        face = metrics.lfMessageFont;
    }
    face.lfHeight = MulDiv(face.lfHeight, dpi_, windowDpi(owner_));
    HFONT font = CreateFontIndirectA(&face);
    painter_.setStyle(dpi_, font);
    if (font_) DeleteObject(font_);
    font_ = font;
    if (model_) model_->setInsets(painter_.fitInsets());
    layOut();
}

// A minimised window has no client area: the plot then keeps its view as
// it is until the window is restored.
void PlotWindow::layOut() {
    RECT client;
    if (!model_ || !GetClientRect(window_, &client)) return;
    if (IsIconic(window_) || IsRectEmpty(&client)) {
        model_->resize(0, 0);
        return;
    }
    int height = client.bottom - painter_.statusHeight();
    model_->resize(client.right, std::max(height, 1));
}

// One request for a picture stands until the window paints: a batch of
// changes asks the system once.
void PlotWindow::redraw() {
    if (!window_ || pictureAsked_) return;
    pictureAsked_ = true;
    InvalidateRect(window_, nullptr, FALSE);
}

void PlotWindow::paint() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window_, &ps);
    pictureAsked_ = false;
    if (IsRectEmpty(&ps.rcPaint)) {
        // A WM_PAINT with nothing left to paint: one sent by another
        // program's redraw after the window's own paint got there first.
        EndPaint(window_, &ps);
        return;
    }
    RECT client;
    GetClientRect(window_, &client);
#ifdef RUVO_TEST_HOOKS
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
#endif
    if (dc && model_) painter_.paint(dc, client.right, client.bottom, *model_, plotTexts_);
#ifdef RUVO_TEST_HOOKS
    QueryPerformanceCounter(&end);
    paintMicroseconds_ = static_cast<LRESULT>((end.QuadPart - start.QuadPart) * 1000000 / frequency.QuadPart);
#endif
    EndPaint(window_, &ps);
}

// A click on a point selects its row; a double-click off every point shows
// all points. While a box of the main window is up (the window is disabled,
// its list with it), the selection is the box's to read and stays.
void PlotWindow::click(POINT at, bool twice) {
    ScreenPoint middle{at.x + 0.5, at.y + 0.5};
    long row = model_->pointAt(middle, painter_.sizes().hitRadius);
    if (row != PlotModel::kNoRow) {
        if (!IsWindowEnabled(owner_)) return;
        model_->select(row, false);
        host_.rowClicked(row);
    } else if (twice) {
        model_->fitAll();
    }
}

bool PlotWindow::key(WPARAM key) {
    const PlotView& view = model_->view();
    double stepX = view.width() / kPanParts, stepY = view.height() / kPanParts;
    ScreenPoint middle{view.width() / 2.0, view.height() / 2.0};
    switch (key) {
    case VK_HOME: model_->fitAll(); return true;
    case VK_LEFT: model_->pan(stepX, 0); return true;
    case VK_RIGHT: model_->pan(-stepX, 0); return true;
    case VK_UP: model_->pan(0, stepY); return true;
    case VK_DOWN: model_->pan(0, -stepY); return true;
    case VK_ADD:
    case VK_OEM_PLUS: model_->zoomAbout(middle, kZoomStep); return true;
    case VK_SUBTRACT:
    case VK_OEM_MINUS: model_->zoomAbout(middle, 1 / kZoomStep); return true;
    default: return false;
    }
}

LRESULT PlotWindow::handle(UINT message, WPARAM wParam, LPARAM lParam) {
#ifdef RUVO_TEST_HOOKS
    LRESULT answer;
    if (answerTestMessage(message, wParam, answer)) return answer;
#endif
    switch (message) {
    case WM_SIZE: layOut(); return 0;
    case WM_ERASEBKGND: return 1;  // paint covers every pixel
    case WM_PAINT: paint(); return 0;
    case WM_PRINTCLIENT: {
        RECT client;
        GetClientRect(window_, &client);
        painter_.paint(reinterpret_cast<HDC>(wParam), client.right, client.bottom, *model_, plotTexts_);
        return 0;
    }
    case WM_LBUTTONDOWN:
        SetFocus(window_);
        SetCapture(window_);
        pressed_ = true;
        dragging_ = false;
        pressedAt_ = lastAt_ = POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        return 0;
    case WM_MOUSEMOVE: {
        if (!pressed_) return 0;
        POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        if (!dragging_ && (std::abs(at.x - pressedAt_.x) > GetSystemMetrics(SM_CXDRAG) ||
                           std::abs(at.y - pressedAt_.y) > GetSystemMetrics(SM_CYDRAG)))
            dragging_ = true;
        if (dragging_) {
            model_->pan(at.x - lastAt_.x, at.y - lastAt_.y);
            lastAt_ = at;
        }
        return 0;
    }
    case WM_LBUTTONUP: {
        bool wasClick = pressed_ && !dragging_;
        if (pressed_) ReleaseCapture();
        pressed_ = dragging_ = false;
        if (wasClick) click(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}, false);
        return 0;
    }
    case WM_CAPTURECHANGED: pressed_ = dragging_ = false; return 0;
    case WM_LBUTTONDBLCLK: click(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}, true); return 0;
    case WM_MOUSEWHEEL: {
        POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};  // screen coordinates
        ScreenToClient(window_, &at);
        double notches = GET_WHEEL_DELTA_WPARAM(wParam) / static_cast<double>(WHEEL_DELTA);
        model_->zoomAbout({at.x + 0.5, at.y + 0.5}, std::pow(kZoomStep, notches));
        return 0;
    }
    case WM_KEYDOWN:
        if (key(wParam)) return 0;
        break;
    case WM_GETMINMAXINFO: {
        auto* limits = reinterpret_cast<MINMAXINFO*>(lParam);
        limits->ptMinTrackSize = {scaledForDpi(kLeastWidth, dpi_), scaledForDpi(kLeastHeight, dpi_)};
        return 0;
    }
    case WM_DPICHANGED: {
        takeDpi(HIWORD(wParam));
        const RECT* suggested = reinterpret_cast<const RECT*>(lParam);
        SetWindowPos(window_, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                     suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
        return 0;
    }
    case WM_CLOSE: DestroyWindow(window_); return 0;
    case WM_DESTROY: destroyed(); return 0;
    default: break;
    }
    return DefWindowProcA(window_, message, wParam, lParam);
}
