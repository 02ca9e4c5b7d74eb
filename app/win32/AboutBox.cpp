#include "app/win32/AboutBox.h"

#include "resources/resource.h"

namespace {

// OK and the close box end the box; Escape and every other command do
// nothing, so the box closes only through OK or its close box.
INT_PTR CALLBACK aboutBoxProc(HWND box, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG: return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK) EndDialog(box, 0);
        return TRUE;
    case WM_CLOSE: EndDialog(box, 0); return TRUE;
    default: return FALSE;
    }
}

}  // namespace

void runAboutBox(HWND owner, HINSTANCE instance) {
    DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_ABOUT), owner, aboutBoxProc, 0);
}
