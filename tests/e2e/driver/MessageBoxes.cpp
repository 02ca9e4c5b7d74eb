#include "MessageBoxes.h"

#include "Controls.h"
#include "DriverError.h"
#include "TopWindows.h"

#include <algorithm>
#include <utility>

namespace e2e {

MessageBoxInfo describeMessageBox(HWND box) {
    HWND textControl = GetDlgItem(box, 0xFFFF);
    if (!textControl) throw DriverError("window has no message text");
    MessageBoxInfo info{windowCaption(box), controlText(textControl), false, {}};
    std::vector<std::pair<int, int>> buttons;  // x position, id
    for (const ChildInfo& child : listChildren(box)) {
        if (!child.visible) continue;
        LONG style = GetWindowLongW(child.window, GWL_STYLE);
        if (child.className == L"Static" && (style & SS_TYPEMASK) == SS_ICON) {
            if (sendOrThrow(child.window, STM_GETICON, 0, 0) != 0) info.hasIcon = true;
        } else if (child.className == L"Button") {
            RECT rect{};
            GetWindowRect(child.window, &rect);
            buttons.emplace_back(rect.left, child.id);
        }
    }
    std::sort(buttons.begin(), buttons.end());
    for (const auto& button : buttons) info.buttons.push_back(button.second);
    return info;
}

}  // namespace e2e
