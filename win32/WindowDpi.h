// The resolution a window is drawn at, and sizes in pixels that are given
// for a screen of 96 DPI scaled to it.
#pragma once

#include <windows.h>

// Sent to a top-level window that has moved to a screen of another DPI
// (Windows 8.1 on); older headers lack it.
#ifndef WM_DPICHANGED
#define WM_DPICHANGED 0x02E0
#endif

// The window's DPI: that of its screen where Windows tells it per window
// (from Windows 10 1607), otherwise the system's.
int windowDpi(HWND window);

// A size of pixels at 96 DPI, at dpi.
inline int scaledForDpi(int pixels, int dpi) { return MulDiv(pixels, dpi, 96); }
