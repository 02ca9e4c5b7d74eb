// The About box (template 131): the program's title, version and makers.
#pragma once

#include <windows.h>

void runAboutBox(HWND owner, HINSTANCE instance);
