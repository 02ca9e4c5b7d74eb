// The point dialog, the About box and the coordinate-system dialog, owned
// by the main window.
#pragma once

#include <windows.h>

#include "app/Dialogs.h"

class Win32Dialogs : public Dialogs {
public:
    Win32Dialogs(HWND owner, HINSTANCE instance) : owner_(owner), instance_(instance) {}
    bool runPointDialog(PointRecord& point) override;
    void runAboutBox() override;
    bool runCrsDialog(CrsChoice& choice, std::string& text) override;

private:
    HWND owner_;
    HINSTANCE instance_;
};
