#include "TopWindows.h"

#include <algorithm>

namespace e2e {

namespace {

struct Search {
    const WindowQuery* query;
    std::vector<HWND> found;
};

bool matches(HWND window, const WindowQuery& query) {
    if (query.visibleOnly && !IsWindowVisible(window)) return false;
    if (std::find(query.exclude.begin(), query.exclude.end(), window) != query.exclude.end()) return false;
    if (query.pid != 0 && windowProcess(window) != query.pid) return false;
    if (query.hasClass && windowClass(window) != query.className) return false;
    if (query.hasTitle) {
        std::wstring caption = windowCaption(window);
        if (query.titlePrefix ? caption.compare(0, query.title.size(), query.title) != 0 || caption.size() < query.title.size()
                              : caption != query.title)
            return false;
    }
    return true;
}

BOOL CALLBACK collect(HWND window, LPARAM context) {
    Search* search = reinterpret_cast<Search*>(context);
    if (matches(window, *search->query)) search->found.push_back(window);
    return TRUE;
}

}  // namespace

std::vector<HWND> findTopWindows(const WindowQuery& query) {
    Search search{&query, {}};
    EnumWindows(collect, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND waitTopWindow(const WindowQuery& query, DWORD timeoutMs) {
    DWORD start = GetTickCount();
    for (;;) {
        std::vector<HWND> found = findTopWindows(query);
        if (!found.empty()) return found.front();
        if (GetTickCount() - start >= timeoutMs) return nullptr;
        Sleep(20);
    }
}

std::wstring windowClass(HWND window) {
    wchar_t name[256] = {};
    int n = GetClassNameW(window, name, 256);
    return std::wstring(name, static_cast<size_t>(n > 0 ? n : 0));
}

std::wstring windowCaption(HWND window) {
    wchar_t text[1024] = {};
    int n = InternalGetWindowText(window, text, 1024);
    return std::wstring(text, static_cast<size_t>(n > 0 ? n : 0));
}

DWORD windowProcess(HWND window) {
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    return pid;
}

}  // namespace e2e
