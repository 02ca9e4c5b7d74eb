// The plot window's messages for the tests and benchmarks, in the builds
// with RUVO_TEST_HOOKS only (PlotWindow.h): the release programs neither
// register nor answer them.
#include "app/win32/PlotWindow.h"

#ifdef RUVO_TEST_HOOKS

#include "points/PointStore.h"
#include "resources/resource.h"

bool PlotWindow::answerTestMessage(UINT message, WPARAM wParam, LRESULT& result) {
    static const UINT whereMessage = RegisterWindowMessageA(MESSAGE_NAME_PLOT_WHERE);
    static const UINT paintTimeMessage = RegisterWindowMessageA(MESSAGE_NAME_PLOT_PAINT_TIME);
    if (message == whereMessage)
        result = where(static_cast<long>(wParam));
    else if (message == paintTimeMessage)
        result = paintMicroseconds_;
    else
        return false;
    return true;
}

LRESULT PlotWindow::where(long row) {
    if (!model_ || row < 0 || static_cast<std::size_t>(row) >= store_.size()) return -1;
    const PointRecord& point = store_.at(static_cast<std::size_t>(row));
    if (!drawable(point)) return -1;
    const PlotView& view = model_->view();
    ScreenPoint at = view.toScreen({point.e, point.n});
    if (!(at.x >= 0 && at.x < view.width() && at.y >= 0 && at.y < view.height())) return -1;
    Pixel pixel = pixelOf(at);
    return MAKELONG(pixel.x, pixel.y);
}

#endif
