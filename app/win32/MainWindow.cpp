#include "app/win32/MainWindow.h"

#include <commctrl.h>
#include <dbt.h>
#include <windowsx.h>

#include <memory>

#include "app/AppState.h"
#include "app/win32/PlotWindow.h"
#include "app/win32/PortBox.h"
#include "app/win32/TaskbarProgress.h"
#include "app/win32/Win32Dialogs.h"
#include "app/win32/Win32FileDialogs.h"
#include "app/win32/Win32MainWindowView.h"
#include "app/win32/Win32MessageBoxes.h"
#include "app/win32/Win32TextTable.h"
#include "files/CoordinateSystem.h"
#include "files/TextEncoding.h"
#include "files/proj/ProjCoordinateSystems.h"
#include "files/win32/Win32FileSystem.h"
#include "link/win32/Win32LinkPlatform.h"
#include "points/PointRecord.h"
#include "points/win32/Win32PointListView.h"
#include "resources/resource.h"
#include "win32/ProgramFolder.h"
#include "win32/SystemErrorText.h"
#include "win32/WindowDpi.h"
#include "win32/WindowMessages.h"

namespace {

// Posted to the main window once the list has handled a key: selection
// changes until then are the keyboard's.
constexpr UINT kListKeyHandled = WM_APP + 1;

// The plot window's way to the list: through AppState, as the list's own
// clicks would go.
class PlotHost : public PlotWindowHost {
public:
    PlotHost(AppState& app, PointListView& list) : app_(app), list_(list) {}
    long selectedRow() override { return list_.firstSelected(); }
    void rowClicked(long row) override { app_.chooseRow(static_cast<int>(row)); }

private:
    AppState& app_;
    PointListView& list_;
};

// The Win32 side of everything AppState reaches the platform through, and
// the plot window.
struct Win32Platform {
    Win32Platform(HWND window, HINSTANCE instance, AppState& app)
        : texts(instance),
          boxes(window),
          view(window),
          list(GetDlgItem(window, IDC_LIST)),
          dialogs(window, instance),
          files(window, instance),
          taskbar(window),
          link(window, app.points()),
          pointTexts(openTextEncoding(defaultTextEncodingName())),
          coordinateSystems(openProjCoordinateSystems(programFolder())),
          platform{texts, boxes, view, list, dialogs, files, fileSystem, link, pointTexts.get(),
                   coordinateSystems.get()},
          plotHost(app, list),
          plot(instance, app.points(), texts, plotHost) {
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
    std::unique_ptr<TextEncoding> pointTexts;  // the system's ANSI code page
    // PROJ, with its database proj.db beside the program, where the zip and
    // the installer put it.
    std::unique_ptr<CoordinateSystems> coordinateSystems;
    Platform platform;
    PlotHost plotHost;
    PlotWindow plot;  // last: it goes first, while what it uses is still there
};

struct MainWindow {
    HINSTANCE instance;
    AppState* app;
    std::unique_ptr<Win32Platform> platform;
    bool listKey = false;  // the list is handling a key
};

MainWindow g_main;

void initDialog(HWND window) {
    HWND list = GetDlgItem(window, IDC_LIST);
    const DWORD extended = LVS_EX_GRIDLINES | LVS_EX_TRACKSELECT | LVS_EX_HEADERDRAGDROP | LVS_EX_FULLROWSELECT;
    SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, extended, extended);

    fillPortBox(GetDlgItem(window, IDC_PORT));

    g_main.platform = std::make_unique<Win32Platform>(window, g_main.instance, *g_main.app);
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
    g_main.platform->plot.close();
    if (!g_main.platform->link.stopWorkerWithin(kCloseWaitMs)) ExitProcess(0);
    MSG pending;
    while (PeekMessageA(&pending, window, g_ruvoFrame, g_ruvoFrame, PM_REMOVE))
        delete reinterpret_cast<PointRecord*>(pending.lParam);
    g_main.app->detach();
    g_main.platform.reset();
}

// The list's menu: the plot window, and the list written for CAD and GIS
// (greyed while a transfer runs, as Import and Export are). A right-click
// opens it at the pointer; the keyboard (Shift+F10, the menu key), which
// gives no place, at the selected row where it shows, otherwise at the
// list's top left corner.
void showListMenu(HWND window, HWND list, LPARAM place) {
    POINT at{GET_X_LPARAM(place), GET_Y_LPARAM(place)};
    if (at.x == -1 && at.y == -1) {
        RECT client, row{};
        GetClientRect(list, &client);
        int selected = static_cast<int>(SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
        row.left = LVIR_BOUNDS;
        RECT shown;
        if (selected >= 0 && SendMessageA(list, LVM_GETITEMRECT, selected, reinterpret_cast<LPARAM>(&row)) &&
            IntersectRect(&shown, &row, &client))
            at = {shown.left + (shown.bottom - shown.top), shown.bottom};
        else
            at = {client.left + GetSystemMetrics(SM_CXMENUCHECK), client.top + GetSystemMetrics(SM_CYMENUCHECK)};
        ClientToScreen(list, &at);
    }
    HMENU menu = CreatePopupMenu();
    if (!menu) return;
    const TextTable& texts = g_main.platform->texts;
    AppendMenuA(menu, MF_STRING, IDM_LIST_PLOT, texts.text(kTextPlotMenu).c_str());
    UINT cadGis = MF_STRING | (g_main.app->commandAllowed(IDM_LIST_CAD_GIS) ? 0 : MF_GRAYED);
    AppendMenuA(menu, cadGis, IDM_LIST_CAD_GIS, texts.text(kTextCadGisMenu).c_str());
    UINT align = GetSystemMetrics(SM_MENUDROPALIGNMENT) ? TPM_RIGHTALIGN : TPM_LEFTALIGN;
    int chosen = TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON | align, at.x, at.y, 0, window, nullptr);
    DestroyMenu(menu);
    if (chosen == IDM_LIST_PLOT) g_main.platform->plot.open(window);
    if (chosen == IDM_LIST_CAD_GIS) g_main.app->command(IDM_LIST_CAD_GIS);
}

// What the list tells of its selection goes to the plot: rows that became
// selected or stopped being so, one row (LVN_ITEMCHANGED; -1 for all) or a
// range of them (LVN_ODSTATECHANGED). A key in the list (LVN_KEYDOWN)
// marks the changes until it has been handled as the keyboard's.
void listNotified(HWND window, const NMHDR* header) {
    PlotWindow& plot = g_main.platform->plot;
    switch (header->code) {
    case LVN_KEYDOWN:
        if (!g_main.listKey && PostMessageA(window, kListKeyHandled, 0, 0)) g_main.listKey = true;
        break;
    case LVN_ITEMCHANGED: {
        const auto* change = reinterpret_cast<const NMLISTVIEW*>(header);
        if (!(change->uChanged & LVIF_STATE) || !((change->uNewState ^ change->uOldState) & LVIS_SELECTED)) break;
        if (change->uNewState & LVIS_SELECTED) {
            if (change->iItem >= 0) plot.rowSelected(change->iItem, g_main.listKey);
        } else {
            plot.rowsDeselected(change->iItem, change->iItem);
        }
        break;
    }
    case LVN_ODSTATECHANGED: {
        const auto* change = reinterpret_cast<const NMLVODSTATECHANGE*>(header);
        if (!((change->uNewState ^ change->uOldState) & LVIS_SELECTED)) break;
        if (change->uNewState & LVIS_SELECTED)
            plot.rowSelected(change->iFrom, g_main.listKey);
        else
            plot.rowsDeselected(change->iFrom, change->iTo);
        break;
    }
    default: break;
    }
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
        // names) and tells of its selection, which the plot follows; every
        // other notification (clicks, keys, header clicks) does nothing.
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        if (!g_main.platform) return FALSE;
        if (header->idFrom == IDC_LIST) listNotified(window, header);
        LRESULT result = 0;
        if (!g_main.platform->list.answerRequest(header, result)) return FALSE;
        SetWindowLongPtrA(window, DWLP_MSGRESULT, result);
        return TRUE;
    }
    case WM_CONTEXTMENU:
        if (!g_main.platform || reinterpret_cast<HWND>(wParam) != GetDlgItem(window, IDC_LIST)) return FALSE;
        showListMenu(window, reinterpret_cast<HWND>(wParam), lParam);
        return TRUE;
    case kListKeyHandled: g_main.listKey = false; return TRUE;
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
