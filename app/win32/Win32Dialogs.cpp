#include "app/win32/Win32Dialogs.h"

#include "app/win32/AboutBox.h"
#include "app/win32/PointDialog.h"

bool Win32Dialogs::runPointDialog(PointRecord& point) { return ::runPointDialog(owner_, instance_, point); }

void Win32Dialogs::runAboutBox() { ::runAboutBox(owner_, instance_); }
