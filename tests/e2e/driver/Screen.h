// What a window shows on the screen, and input as the user gives it.
#pragma once

#include <cstdint>
#include <vector>

#include <windows.h>

namespace e2e {

// Has the window repaint all of its client area at once; the microseconds
// that took, as seen from this process.
long long repaintWindow(HWND window);

// The colours (0xRRGGBB) of the screen's pixels in a rectangle of the
// window's client area, row by row, as the screen shows them now.
std::vector<std::uint32_t> clientPixels(HWND window, int x, int y, int width, int height);

// Mouse input at a point of the window's client area: the pointer moves
// there, then the button (VK_LBUTTON or VK_RBUTTON) is pressed and released
// clicks times; or, with wheel not 0, the wheel turns by that much (120 a
// notch) instead.
void mouseAt(HWND window, int x, int y, int button, int clicks, int wheel);

// A drag with the left button from one client point to another, in steps.
void dragFrom(HWND window, int x, int y, int toX, int toY);

// A key pressed and released, with Shift and Control held down around it
// where asked.
void pressKey(WORD key, bool shift, bool control);

// Makes the window the foreground window.
void bringToFront(HWND window);

}  // namespace e2e
