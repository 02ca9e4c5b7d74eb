// The main window's caption, buttons and port box.
#pragma once

#include <windows.h>

#include "app/MainWindowView.h"

class Win32MainWindowView : public MainWindowView {
public:
    explicit Win32MainWindowView(HWND window) : window_(window) {}
    void setCaption(const std::string& text) override;
    void enableControl(int id, bool enabled) override;
    void setControlText(int id, const std::string& text) override;
    std::string portBoxText() override;

private:
    HWND window_;
};
