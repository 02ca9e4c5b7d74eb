// Reading and choosing the items of a combo box in another process.
#pragma once

#include <string>
#include <vector>

#include <windows.h>

namespace e2e {

std::vector<std::wstring> comboItems(HWND combo);
int comboSelection(HWND combo);  // -1: none

// Selects an item like a user would: CB_SETCURSEL, then the CBN_SELCHANGE and
// CBN_SELENDOK notifications to the owning dialog (CB_SETCURSEL alone sends
// none), posted so that they queue up in order with any command posted after.
void comboChoose(HWND combo, int index);

}  // namespace e2e
