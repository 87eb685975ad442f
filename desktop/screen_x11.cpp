#include "screen.h"

#include <GL/glut.h>
#include <GL/glx.h>
#include <X11/Xutil.h>
#include <chrono>
#include <string>
#include <thread>

ScreenSize currentScreenSize() {
    // GLUT's screen size is the one at glutInit. The root window has the
    // screen's size as it is now: RandR resizes it with the screen.
    Display* display = glXGetCurrentDisplay();
    Window root = 0;
    int x = 0;
    int y = 0;
    unsigned int width = 0;
    unsigned int height = 0;
    unsigned int border = 0;
    unsigned int depth = 0;
    if (display != nullptr &&
        XGetGeometry(display, DefaultRootWindow(display), &root, &x, &y, &width, &height, &border, &depth)) {
        return {static_cast<int>(width), static_cast<int>(height)};
    }
    return {glutGet(GLUT_SCREEN_WIDTH), glutGet(GLUT_SCREEN_HEIGHT)};
}

namespace {

// Whether a window manager manages the window: it has put the window into
// a frame of its own, or (one that draws no frames) owns ICCCM's WM_Sn
// selection, which not every window manager takes.
bool windowManaged(Display* display, Window window) {
    Window root = 0;
    Window parent = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    if (XQueryTree(display, window, &root, &parent, &children, &count)) {
        if (children != nullptr) {
            XFree(children);
        }
        if (parent != root) {
            return true;
        }
    }
    const std::string selection = "WM_S" + std::to_string(DefaultScreen(display));
    return XGetSelectionOwner(display, XInternAtom(display, selection.c_str(), False)) != None;
}

// Whether the window manager still holds the window: its WM_STATE is there
// and not Withdrawn.
bool heldByWindowManager(Display* display, Window window) {
    const Atom wmState = XInternAtom(display, "WM_STATE", False);
    Atom type = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    const bool read = XGetWindowProperty(display, window, wmState, 0, 1, False, wmState, &type, &format,
                                         &count, &after, &data) == Success;
    const bool held =
        read && format == 32 && count == 1 && reinterpret_cast<const long*>(data)[0] != WithdrawnState;
    if (data != nullptr) {
        XFree(data);
    }
    return held;
}

// Withdraws the window and maps it again, for the window manager to place
// it anew. A window mapped again before the window manager has let it go
// may be left unmanaged, so the map waits for that, a little while at most.
void mapAgain(Display* display, Window window) {
    XWithdrawWindow(display, window, DefaultScreen(display));
    for (int i = 0; i < 50 && heldByWindowManager(display, window); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    XMapWindow(display, window);
}

}  // namespace

void placeFrameCorner(bool fromRight, bool fromBottom) {
    if (!fromRight && !fromBottom) {
        return;  // the top-left corner: the window manager's default
    }
    Display* display = glXGetCurrentDisplay();
    const GLXDrawable window = glXGetCurrentDrawable();
    XSizeHints* hints = XAllocSizeHints();
    long supplied = 0;
    if (display != nullptr && window != 0 && hints != nullptr &&
        XGetWMNormalHints(display, window, hints, &supplied)) {
        // GLUT gives the window manager the window's top-left corner and no
        // gravity, so the frame's top-left corner goes there and the title
        // bar pushes the window off the screen's bottom or right edge. The
        // gravity names the corner that the position is for, as X programs
        // set it for -geometry.
        hints->flags |= PWinGravity;
        if (fromRight) {
            hints->win_gravity = fromBottom ? SouthEastGravity : NorthEastGravity;
        } else {
            hints->win_gravity = SouthWestGravity;
        }
        XSetWMNormalHints(display, window, hints);
        // GLUT has mapped the window already, and a window manager reads
        // the place and gravity when a window is mapped: the window is
        // withdrawn and mapped again, for the window manager to place anew.
        // Without a window manager, the window is in its place already.
        if (windowManaged(display, window)) {
            mapAgain(display, window);
        }
        XFlush(display);
    }
    if (hints != nullptr) {
        XFree(hints);
    }
}
