#include "Screen.h"

#include "DriverError.h"

#include <algorithm>

namespace e2e {

long long repaintWindow(HWND window) {
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    if (!RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW))
        throw DriverError("RedrawWindow failed");
    QueryPerformanceCounter(&end);
    return (end.QuadPart - start.QuadPart) * 1000000 / frequency.QuadPart;
}

std::vector<std::uint32_t> clientPixels(HWND window, int x, int y, int width, int height) {
    if (width <= 0 || height <= 0 || width * static_cast<long long>(height) > 1 << 22)
        throw DriverError("bad pixel rectangle");
    POINT origin{x, y};
    if (!ClientToScreen(window, &origin)) throw DriverError("ClientToScreen failed");
    HDC screen = GetDC(nullptr);
    if (!screen) throw DriverError("GetDC failed");
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = memory ? CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0) : nullptr;
    bool copied = false;
    std::vector<std::uint32_t> pixels;
    if (bitmap && bits) {
        HGDIOBJ old = SelectObject(memory, bitmap);
        copied = BitBlt(memory, 0, 0, width, height, screen, origin.x, origin.y, SRCCOPY) != FALSE;
        GdiFlush();
        if (copied) {
            const auto* source = static_cast<const std::uint32_t*>(bits);
            pixels.assign(source, source + static_cast<std::size_t>(width) * height);
            for (std::uint32_t& pixel : pixels) pixel &= 0xFFFFFF;
        }
        SelectObject(memory, old);
    }
    if (bitmap) DeleteObject(bitmap);
    if (memory) DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    if (!copied) throw DriverError("could not read the screen");
    return pixels;
}

namespace {

void sendInputs(INPUT* inputs, UINT count) {
    if (SendInput(count, inputs, sizeof(INPUT)) != count) throw DriverError("SendInput failed");
}

INPUT mouseInput(DWORD flags, DWORD data = 0) {
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    input.mi.mouseData = data;
    return input;
}

INPUT keyInput(WORD key, bool up) {
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    return input;
}

}  // namespace

void mouseAt(HWND window, int x, int y, int button, int clicks, int wheel) {
    POINT at{x, y};
    if (!ClientToScreen(window, &at)) throw DriverError("ClientToScreen failed");
    if (!SetCursorPos(at.x, at.y)) throw DriverError("SetCursorPos failed");
    INPUT move = mouseInput(MOUSEEVENTF_MOVE);  // no distance: the pointer is there, windows hear of it
    sendInputs(&move, 1);
    if (wheel != 0) {
        INPUT turn = mouseInput(MOUSEEVENTF_WHEEL, static_cast<DWORD>(wheel));
        sendInputs(&turn, 1);
        return;
    }
    DWORD down = button == VK_RBUTTON ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN;
    DWORD up = button == VK_RBUTTON ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP;
    for (int i = 0; i < clicks; ++i) {
        INPUT press[] = {mouseInput(down), mouseInput(up)};
        sendInputs(press, 2);
    }
}

namespace {

// A move of the pointer to a point of the screen, as the mouse makes it.
INPUT moveTo(POINT at) {
    int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    INPUT input = mouseInput(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE);
    input.mi.dx = static_cast<LONG>((at.x * 65536LL + width / 2) / std::max(width, 1));
    input.mi.dy = static_cast<LONG>((at.y * 65536LL + height / 2) / std::max(height, 1));
    return input;
}

}  // namespace

void dragFrom(HWND window, int x, int y, int toX, int toY) {
    POINT from{x, y}, to{toX, toY};
    if (!ClientToScreen(window, &from) || !ClientToScreen(window, &to)) throw DriverError("ClientToScreen failed");
    INPUT start[] = {moveTo(from), mouseInput(MOUSEEVENTF_LEFTDOWN)};
    sendInputs(start, 2);
    const int steps = 8;
    for (int i = 1; i <= steps; ++i) {
        POINT at{from.x + (to.x - from.x) * i / steps, from.y + (to.y - from.y) * i / steps};
        INPUT move = moveTo(at);
        sendInputs(&move, 1);
        Sleep(10);
    }
    INPUT end = mouseInput(MOUSEEVENTF_LEFTUP);
    sendInputs(&end, 1);
}

void pressKey(WORD key, bool shift, bool control) {
    INPUT inputs[6];
    UINT count = 0;
    if (control) inputs[count++] = keyInput(VK_CONTROL, false);
    if (shift) inputs[count++] = keyInput(VK_SHIFT, false);
    inputs[count++] = keyInput(key, false);
    inputs[count++] = keyInput(key, true);
    if (shift) inputs[count++] = keyInput(VK_SHIFT, true);
    if (control) inputs[count++] = keyInput(VK_CONTROL, true);
    sendInputs(inputs, count);
}

void bringToFront(HWND window) {
    // A process that is not the foreground one may set the foreground only
    // while it has the input; the driver's own console window is not it, so
    // it attaches to the window's input for the call.
    DWORD target = GetWindowThreadProcessId(window, nullptr);
    DWORD self = GetCurrentThreadId();
    bool attached = target != self && AttachThreadInput(self, target, TRUE);
    SetForegroundWindow(window);
    BringWindowToTop(window);
    if (attached) AttachThreadInput(self, target, FALSE);
}

}  // namespace e2e
