// The window tests' client on Windows, over Win32. The program's window is
// found by its title among the top-level windows; its pixels are copied
// from the screen, where a GL window's picture is, since the window's own
// device context holds none of it. No other window covers it on the test
// display.
#include <windows.h>

#include "x_window.h"

XConnection::XConnection() {
    display_ = GetDC(nullptr);
}

XConnection::~XConnection() {
    if (display_ != nullptr) {
        ReleaseDC(nullptr, display_);
    }
}

Window XConnection::waitForWindow(const std::string& title, double timeoutSeconds) {
    HWND found = nullptr;
    waitUntil(
        timeoutSeconds, [&] { return (found = FindWindowA(nullptr, title.c_str())) != nullptr; }, 20);
    return found;
}

bool XConnection::windowSize(Window window, int& width, int& height) {
    RECT client;
    if (!GetClientRect(window, &client)) {
        return false;
    }
    width = client.right - client.left;
    height = client.bottom - client.top;
    return true;
}

bool XConnection::windowPosition(Window window, int& x, int& y) {
    RECT frame;
    if (!GetWindowRect(window, &frame)) {
        return false;
    }
    x = frame.left;
    y = frame.top;
    return true;
}

bool XConnection::grab(Window window, Image& image) {
    int width = 0;
    int height = 0;
    POINT origin{0, 0};
    if (!IsWindowVisible(window) || !windowSize(window, width, height) || width <= 0 || height <= 0 ||
        !ClientToScreen(window, &origin)) {
        return false;
    }
    const HDC memory = CreateCompatibleDC(display_);
    const HBITMAP bitmap = CreateCompatibleBitmap(display_, width, height);
    const HGDIOBJ previous = SelectObject(memory, bitmap);
    bool copied = BitBlt(memory, 0, 0, width, height, display_, origin.x, origin.y, SRCCOPY) != 0;
    SelectObject(memory, previous);

    // 32 bits per pixel, blue, green, red and an unused byte; a negative
    // height asks for the rows from the top.
    BITMAPINFO format{};
    format.bmiHeader.biSize = sizeof format.bmiHeader;
    format.bmiHeader.biWidth = width;
    format.bmiHeader.biHeight = -height;
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 32;
    format.bmiHeader.biCompression = BI_RGB;
    std::vector<std::uint8_t> bytes(static_cast<size_t>(width) * height * 4);
    copied = copied && GetDIBits(memory, bitmap, 0, static_cast<UINT>(height), bytes.data(), &format,
                                 DIB_RGB_COLORS) == height;
    DeleteObject(bitmap);
    DeleteDC(memory);
    if (!copied) {
        return false;
    }
    image.width = width;
    image.height = height;
    image.pixels.assign(static_cast<size_t>(width) * height, Rgb8());
    for (size_t i = 0; i < image.pixels.size(); ++i) {
        image.pixels[i] = {bytes[4 * i + 2], bytes[4 * i + 1], bytes[4 * i]};
    }
    return true;
}

void XConnection::resize(Window window, int width, int height) {
    // The outer size whose client area is width by height.
    RECT frame{0, 0, width, height};
    AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongA(window, GWL_EXSTYLE)));
    SetWindowPos(window, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void XConnection::sendDeleteWindow(Window window) {
    PostMessageA(window, WM_CLOSE, 0, 0);
}
