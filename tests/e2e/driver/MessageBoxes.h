// What a message box shows.
//
// A message box is a top-level "#32770" dialog: its text is the static control
// 0xFFFF, its icon a static control with an icon image, its buttons carry the
// standard ids (IDOK 1, IDCANCEL 2, IDYES 6, IDNO 7, ...).
#pragma once

#include <string>
#include <vector>

#include <windows.h>

namespace e2e {

struct MessageBoxInfo {
    std::wstring caption;
    std::wstring text;
    bool hasIcon;
    std::vector<int> buttons;  // ids of the visible push buttons, left to right
};

// Throws DriverError when the window has no message text control.
MessageBoxInfo describeMessageBox(HWND box);

}  // namespace e2e
