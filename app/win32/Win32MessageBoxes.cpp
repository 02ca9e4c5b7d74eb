#include "app/win32/Win32MessageBoxes.h"

bool Win32MessageBoxes::show(BoxOwner owner, const std::string& text, const std::string& caption,
                             BoxIcon icon, BoxButtons buttons) {
    UINT style = buttons == BoxButtons::OkCancel ? MB_OKCANCEL : MB_OK;
    switch (icon) {
    case BoxIcon::Error: style |= MB_ICONERROR; break;
    case BoxIcon::Warning: style |= MB_ICONWARNING; break;
    case BoxIcon::Information: style |= MB_ICONINFORMATION; break;
    case BoxIcon::None: break;
    }
    HWND window = owner == BoxOwner::MainWindow ? mainWindow_ : nullptr;
    return MessageBoxA(window, text.c_str(), caption.c_str(), style) != IDCANCEL;
}
