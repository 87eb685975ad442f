#pragma once

// GoogleTest first: Xlib defines None, a name that GoogleTest uses.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "window_cases.h"

// A small client for the window tests: finds a top-level window by its
// title, grabs its pixels, resizes it, asks it to close as a window manager
// does and destroys it as another client may. Xlib's on X11 (x_window.cpp);
// on Windows the same interface over Win32 (win32_window.cpp), where a
// Window is a window handle and the Display the screen's device context.
// <windows.h> stays out of the tests, whose names (near) it would define away.
#ifdef _WIN32
struct HWND__;
struct HDC__;
using Window = HWND__*;
using Display = HDC__;
#else
#include <X11/Xlib.h>
#endif

// Polls every pollMilliseconds until done() holds, for at most seconds,
// asking at least once; whether it came to hold.
template <typename Condition>
bool waitUntil(double seconds, Condition done, int pollMilliseconds = 50) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (!done()) {
        if (std::chrono::steady_clock::now() >= deadline) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(pollMilliseconds));
    }
    return true;
}

// Pixels in rows from the top, as the screen shows them.
struct Image {
    int width = 0;
    int height = 0;
    std::vector<Rgb8> pixels;

    Rgb8 at(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

// A connection to the X server named by DISPLAY; display() is null when
// DISPLAY is unset or the server cannot be reached (on Windows: when the
// screen has no device context). Protocol errors (a window that went away
// between two requests) are counted instead of ending the process.
class XConnection {
  public:
    XConnection();
    ~XConnection();
    XConnection(const XConnection&) = delete;
    XConnection& operator=(const XConnection&) = delete;

    Display* display() const { return display_; }

    // Polls for a top-level window with this title (under a window manager,
    // inside its frame), looking at least once; 0 when none has appeared
    // after timeoutSeconds.
    Window waitForWindow(const std::string& title, double timeoutSeconds);

    // The window's current size; false if it is gone.
    bool windowSize(Window window, int& width, int& height);

    // Where the window's top-left corner is on the screen, as GLUT places it:
    // the client area's on X11, the outer frame's on Windows; false if it is
    // gone.
    bool windowPosition(Window window, int& x, int& y);

    // The window's pixels; false if it is not mapped, is gone or is larger
    // than the screen.
    bool grab(Window window, Image& image);

    // Gives the window's client area this size.
    void resize(Window window, int width, int height);

    // Sends WM_PROTOCOLS / WM_DELETE_WINDOW, the message a window manager
    // sends when the user clicks the close button (on Windows WM_CLOSE, which
    // the close button brings to the window).
    void sendDeleteWindow(Window window);

#ifndef _WIN32
    // Destroys the window as another client may (xdotool windowclose):
    // XDestroyWindow, with no word to its owner. Windows lets only the
    // window's own thread destroy it.
    void destroyWindow(Window window);

    // What a pager or wmctrl asks of the window manager, which does it:
    // _NET_CLOSE_WINDOW (wmctrl -c), and _NET_WM_STATE with both
    // maximized states (wmctrl -b add,maximized_vert,maximized_horz).
    void closeThroughWindowManager(Window window);
    void maximize(Window window);

    // The screen's size as it is now (the root window's), which RandR may
    // have changed since the connection was opened.
    void screenSize(int& width, int& height);

    // The place and size of the window's outermost ancestor below the root:
    // the window manager's frame, or the window itself without one; false
    // if it is gone.
    bool frameGeometry(Window window, int& x, int& y, int& width, int& height);
#endif

  private:
    Display* display_ = nullptr;
};

// Writes image as a binary PPM (P6), which any image viewer reads; false
// on any failure.
bool writePpm(const Image& image, const std::string& path);
