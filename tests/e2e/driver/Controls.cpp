#include "Controls.h"

#include "DriverError.h"
#include "TopWindows.h"

namespace e2e {

namespace {

struct IdSearch {
    int id;
    HWND found;
};

BOOL CALLBACK matchId(HWND window, LPARAM context) {
    IdSearch* search = reinterpret_cast<IdSearch*>(context);
    if (GetDlgCtrlID(window) == search->id) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK collectChild(HWND window, LPARAM context) {
    reinterpret_cast<std::vector<HWND>*>(context)->push_back(window);
    return TRUE;
}

}  // namespace

HWND findControl(HWND parent, int id) {
    if (!IsWindow(parent)) return nullptr;
    HWND direct = GetDlgItem(parent, id);
    if (direct) return direct;
    IdSearch search{id, nullptr};
    EnumChildWindows(parent, matchId, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND control(HWND parent, int id) {
    if (!IsWindow(parent)) throw DriverError("no such window");
    HWND found = findControl(parent, id);
    if (!found) throw DriverError("no control with id " + std::to_string(id));
    return found;
}

LRESULT sendOrThrow(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, kSendTimeoutMs, &result))
        throw DriverError("window did not answer message " + std::to_string(message));
    return static_cast<LRESULT>(result);
}

void postOrThrow(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (!PostMessageW(window, message, wParam, lParam))
        throw DriverError("could not post message " + std::to_string(message));
}

std::wstring controlText(HWND window) {
    LRESULT length = sendOrThrow(window, WM_GETTEXTLENGTH, 0, 0);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    LRESULT copied = sendOrThrow(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(&text[0]));
    text.resize(static_cast<size_t>(copied));
    return text;
}

void setControlText(HWND window, const std::wstring& text) {
    sendOrThrow(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void postCommand(HWND dialog, int id, int code) {
    if (!IsWindow(dialog)) throw DriverError("no such window");
    HWND child = findControl(dialog, id);
    postOrThrow(dialog, WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(child));
}

std::vector<ChildInfo> listChildren(HWND parent) {
    std::vector<HWND> windows;
    EnumChildWindows(parent, collectChild, reinterpret_cast<LPARAM>(&windows));
    std::vector<ChildInfo> out;
    for (HWND window : windows) {
        out.push_back(ChildInfo{window, GetDlgCtrlID(window), windowClass(window), controlText(window),
                                IsWindowEnabled(window) != FALSE, IsWindowVisible(window) != FALSE});
    }
    return out;
}

}  // namespace e2e
