#include "app/win32/Win32MainWindowView.h"

void Win32MainWindowView::setCaption(const std::string& text) { SetWindowTextA(window_, text.c_str()); }

void Win32MainWindowView::enableControl(int id, bool enabled) {
    EnableWindow(GetDlgItem(window_, id), enabled ? TRUE : FALSE);
}

void Win32MainWindowView::setControlText(int id, const std::string& text) {
    SetDlgItemTextA(window_, id, text.c_str());
}

std::string Win32MainWindowView::portBoxText() {
    char buffer[256];
    UINT length = GetDlgItemTextA(window_, kIdPortBox, buffer, sizeof buffer);
    return std::string(buffer, length);
}
