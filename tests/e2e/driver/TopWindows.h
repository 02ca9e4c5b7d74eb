// Finding the top-level windows of the programs under test.
#pragma once

#include <string>
#include <vector>

#include <windows.h>

namespace e2e {

// What a top-level window must look like to match. Unset parts match anything.
struct WindowQuery {
    bool hasClass = false;
    std::wstring className;   // exact, e.g. L"#32770"
    bool hasTitle = false;
    std::wstring title;
    bool titlePrefix = false;  // title is a prefix instead of the whole caption
    DWORD pid = 0;             // 0: any process
    std::vector<HWND> exclude;
    bool visibleOnly = true;   // a dialog counts once it is shown, i.e. initialised
};

// Matching windows in Z order, topmost first.
std::vector<HWND> findTopWindows(const WindowQuery& query);

// Polls until a window matches or timeoutMs passes; null on timeout.
HWND waitTopWindow(const WindowQuery& query, DWORD timeoutMs);

std::wstring windowClass(HWND window);
// The caption as the window manager stores it; needs no reply from the owner.
std::wstring windowCaption(HWND window);
DWORD windowProcess(HWND window);

}  // namespace e2e
