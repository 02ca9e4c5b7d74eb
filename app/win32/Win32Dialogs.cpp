#include "app/win32/Win32Dialogs.h"

#include "app/win32/AboutBox.h"
#include "app/win32/CrsDialog.h"
#include "app/win32/PointDialog.h"

bool Win32Dialogs::runPointDialog(PointRecord& point) { return ::runPointDialog(owner_, instance_, point); }

void Win32Dialogs::runAboutBox() { ::runAboutBox(owner_, instance_); }

bool Win32Dialogs::runCrsDialog(CrsChoice& choice, std::string& text) {
    return ::runCrsDialog(owner_, instance_, choice, text);
}
