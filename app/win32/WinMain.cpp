// Entry point of korvellink and tassinlink; RUVO_FAMILY names the entry of
// the build's instrument family (app/families/FamilyTable.h).
#include <windows.h>
#include <commctrl.h>

#include "app/AppState.h"
#include "app/families/FamilyTable.h"
#include "app/win32/MainWindow.h"

namespace {
AppState g_app(RUVO_FAMILY);
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    // Register the classes that the main window's template uses (the list
    // view above all) before the dialog is created.
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_LISTVIEW_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    return static_cast<int>(runMainWindow(instance, g_app));
}
