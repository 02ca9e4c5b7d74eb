// Message boxes through MessageBoxA, owned by the main window or by nobody.
#pragma once

#include <windows.h>

#include "app/MessageBoxes.h"

class Win32MessageBoxes : public MessageBoxes {
public:
    explicit Win32MessageBoxes(HWND mainWindow) : mainWindow_(mainWindow) {}
    bool show(BoxOwner owner, const std::string& text, const std::string& caption, BoxIcon icon,
              BoxButtons buttons) override;

private:
    HWND mainWindow_;
};
