// Reaching the controls of a dialog in another process.
//
// Messages that carry no pointers, or whose pointers the window system copies
// between processes (WM_GETTEXT, WM_SETTEXT, CB_GETLBTEXT), go straight to the
// control. Every send has a time-out so that a hung program fails the test
// instead of hanging the driver.
#pragma once

#include <string>
#include <vector>

#include <windows.h>

namespace e2e {

const UINT kSendTimeoutMs = 5000;

// The child with this id, searched among all descendants when it is not a
// direct child; throws DriverError when there is none.
HWND control(HWND parent, int id);
// Same, but null when there is none.
HWND findControl(HWND parent, int id);

// SendMessageTimeoutW; throws DriverError when the window does not answer.
LRESULT sendOrThrow(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// PostMessageW; throws DriverError when the message could not be queued.
void postOrThrow(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

std::wstring controlText(HWND window);
void setControlText(HWND window, const std::wstring& text);

// WM_COMMAND for a control id, as the control itself would send it: the
// notification code in the high word and the control's window as lParam.
void postCommand(HWND dialog, int id, int code);

struct ChildInfo {
    HWND window;
    int id;
    std::wstring className;
    std::wstring text;
    bool enabled;
    bool visible;
};
// Every descendant, in window order.
std::vector<ChildInfo> listChildren(HWND parent);

}  // namespace e2e
