#include "app/win32/MainWindow.h"

#include <commctrl.h>
#include <dbt.h>

#include <memory>

#include "app/AppState.h"
#include "app/win32/PortBox.h"
#include "app/win32/TaskbarProgress.h"
#include "app/win32/Win32Dialogs.h"
#include "app/win32/Win32FileDialogs.h"
#include "app/win32/Win32MainWindowView.h"
#include "app/win32/Win32MessageBoxes.h"
#include "app/win32/Win32TextTable.h"
#include "files/win32/Win32FileSystem.h"
#include "link/win32/Win32LinkPlatform.h"
#include "points/PointRecord.h"
#include "points/win32/Win32PointListView.h"
#include "resources/resource.h"
#include "win32/SystemErrorText.h"
#include "win32/WindowMessages.h"

#ifndef WM_DPICHANGED
#define WM_DPICHANGED 0x02E0
#endif

namespace {

// The Win32 side of everything AppState reaches the platform through.
struct Win32Platform {
    Win32Platform(HWND window, HINSTANCE instance, const PointStore& points)
        : texts(instance),
          boxes(window),
          view(window),
          list(GetDlgItem(window, IDC_LIST)),
          dialogs(window, instance),
          files(window, instance),
          taskbar(window),
          link(window, points),
          platform{texts, boxes, view, list, dialogs, files, fileSystem, link} {
        link.setProgressDisplay(&taskbar);
    }

    Win32TextTable texts;
    Win32MessageBoxes boxes;
    Win32MainWindowView view;
    Win32PointListView list;
    Win32Dialogs dialogs;
    Win32FileDialogs files;
    Win32FileSystem fileSystem;
    TaskbarProgress taskbar;  // before link, which clears it as it goes
    Win32LinkPlatform link;
    Platform platform;
};

struct MainWindow {
    HINSTANCE instance;
    AppState* app;
    std::unique_ptr<Win32Platform> platform;
};

MainWindow g_main;

void initDialog(HWND window) {
    HWND list = GetDlgItem(window, IDC_LIST);
    const DWORD extended = LVS_EX_GRIDLINES | LVS_EX_TRACKSELECT | LVS_EX_HEADERDRAGDROP | LVS_EX_FULLROWSELECT;
    SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, extended, extended);

    fillPortBox(GetDlgItem(window, IDC_PORT));

    g_main.platform = std::make_unique<Win32Platform>(window, g_main.instance, g_main.app->points());
    g_main.app->attach(g_main.platform->platform);
}

// How long closing waits for a running worker to stop by itself.
constexpr DWORD kCloseWaitMs = 250;

// The window goes away: stop a running transfer quietly, give back the
// records still on their way in the message queue, and let go of the
// platform. The points themselves belong to AppState, which frees them
// when the program ends. A worker that does not stop at once (held in a
// write to a line that takes nothing, where the system cannot cancel the
// call) ends with the process, which ends here: closing never waits for
// the line.
void destroyWindow(HWND window) {
    if (!g_main.platform) return;
    if (!g_main.platform->link.stopWorkerWithin(kCloseWaitMs)) ExitProcess(0);
    MSG pending;
    while (PeekMessageA(&pending, window, g_ruvoFrame, g_ruvoFrame, PM_REMOVE))
        delete reinterpret_cast<PointRecord*>(pending.lParam);
    g_main.app->detach();
    g_main.platform.reset();
}

INT_PTR CALLBACK mainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    AppState& app = *g_main.app;
    if (message == g_ruvoFrame) {
        // The record came with the message; the store keeps a copy.
        std::unique_ptr<PointRecord> point(reinterpret_cast<PointRecord*>(lParam));
        if (point) app.pointArrived(*point);
        return TRUE;
    }
    if (message == g_ruvoHead) {
        app.transferFinished();
        return TRUE;
    }
    if (message == g_ruvoTitle) {
        if (g_main.platform)
            if (auto title = g_main.platform->link.takePendingTitle()) app.showTransferTitle(*title);
        return TRUE;
    }
    if (message == g_ruvoProgress) {
        if (g_main.platform) g_main.platform->link.showPendingProgress();
        return TRUE;
    }
    if (message == g_taskbarButtonCreated) {
        if (g_main.platform) g_main.platform->taskbar.buttonCreated();
        return TRUE;
    }
    if (message == g_ruvoFail) {
        const auto fault = static_cast<ProtocolFault>(wParam);
        app.transferFailed(fault, fault == ProtocolFault::None ? systemErrorText(static_cast<DWORD>(lParam))
                                                               : std::string());
        return TRUE;
    }
    switch (message) {
    case WM_CLOSE: EndDialog(window, 0); return TRUE;
    case WM_INITDIALOG: initDialog(window); return TRUE;
    case WM_COMMAND:
        if (app.command(LOWORD(wParam))) EndDialog(window, 0);
        return TRUE;
    case WM_NOTIFY: {
        // The list asks for what it shows (cell texts, the row a typed name
        // names); every other notification (clicks, keys, header clicks)
        // does nothing.
        LRESULT result = 0;
        if (!g_main.platform || !g_main.platform->list.answerRequest(reinterpret_cast<NMHDR*>(lParam), result))
            return FALSE;
        SetWindowLongPtrA(window, DWLP_MSGRESULT, result);
        return TRUE;
    }
    case WM_DEVICECHANGE:
        // A USB adapter came or went: the port box lists the ports present.
        if (wParam == DBT_DEVICEARRIVAL || wParam == DBT_DEVICEREMOVECOMPLETE || wParam == DBT_DEVNODES_CHANGED)
            refreshPortBox(GetDlgItem(window, IDC_PORT));
        return FALSE;
    case WM_DPICHANGED:
        // Windows rescales the dialog itself (the default handling, hence
        // FALSE); the list's columns are in pixels and follow here.
        if (g_main.platform) g_main.platform->list.dpiChanged(LOWORD(wParam));
        return FALSE;
    case WM_DESTROY: destroyWindow(window); return FALSE;
    default: return FALSE;
    }
}

}  // namespace

INT_PTR runMainWindow(HINSTANCE instance, AppState& app) {
    g_main.instance = instance;
    g_main.app = &app;
    return DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_MAIN), nullptr, mainWindowProc, 0);
}
