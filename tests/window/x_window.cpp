#include "x_window.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>

namespace {

int protocolErrors = 0;

int countError(Display*, XErrorEvent*) {
    ++protocolErrors;
    return 0;
}

std::string windowTitle(Display* display, Window window) {
    std::string title;
    char* name = nullptr;
    if (XFetchName(display, window, &name) && name != nullptr) {
        title = name;
        XFree(name);
    }
    return title;
}

// Shift that brings the lowest set bit of mask to bit 0.
int maskShift(unsigned long mask) {
    int shift = 0;
    while (mask != 0 && (mask & 1) == 0) {
        mask >>= 1;
        ++shift;
    }
    return shift;
}

// The window titled title among parent's children, or one level further
// down when it is not: a window manager puts each top-level window into a
// frame of its own.
Window findByTitle(Display* display, Window parent, const std::string& title, int levels) {
    Window root = 0;
    Window ignored = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    Window found = 0;
    if (!XQueryTree(display, parent, &root, &ignored, &children, &count)) {
        return 0;
    }
    for (unsigned int i = 0; i < count && found == 0; ++i) {
        if (windowTitle(display, children[i]) == title) {
            found = children[i];
        }
    }
    for (unsigned int i = 0; i < count && found == 0 && levels > 1; ++i) {
        found = findByTitle(display, children[i], title, levels - 1);
    }
    if (children != nullptr) {
        XFree(children);
    }
    return found;
}

// Sends the window manager a request about window, as EWMH has clients do.
void askWindowManager(Display* display, Window window, const char* request, long first, long second,
                      long third) {
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, request, False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = first;
    event.xclient.data.l[1] = second;
    event.xclient.data.l[2] = third;
    event.xclient.data.l[3] = 1;  // from a normal application
    XSendEvent(display, DefaultRootWindow(display), False, SubstructureRedirectMask | SubstructureNotifyMask,
               &event);
    XSync(display, False);
}

}  // namespace

XConnection::XConnection() {
    display_ = XOpenDisplay(nullptr);
    XSetErrorHandler(countError);
}

XConnection::~XConnection() {
    if (display_ != nullptr) {
        XCloseDisplay(display_);
    }
}

Window XConnection::waitForWindow(const std::string& title, double timeoutSeconds) {
    Window found = 0;
    waitUntil(
        timeoutSeconds,
        [&] { return (found = findByTitle(display_, DefaultRootWindow(display_), title, 2)) != 0; }, 20);
    return found;
}

bool XConnection::windowSize(Window window, int& width, int& height) {
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(display_, window, &attributes)) {
        return false;
    }
    width = attributes.width;
    height = attributes.height;
    return true;
}

bool XConnection::windowPosition(Window window, int& x, int& y) {
    Window child = 0;
    return XTranslateCoordinates(display_, window, DefaultRootWindow(display_), 0, 0, &x, &y, &child) != 0;
}

bool XConnection::grab(Window window, Image& image) {
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(display_, window, &attributes) || attributes.map_state != IsViewable) {
        return false;
    }
    // A window beyond the screen (another client may make one) is no
    // picture yet; grabbing it whole would move gigabytes.
    int screenWidth = 0;
    int screenHeight = 0;
    screenSize(screenWidth, screenHeight);
    if (attributes.width > screenWidth || attributes.height > screenHeight) {
        return false;
    }
    const int errorsBefore = protocolErrors;
    XImage* ximage = XGetImage(display_, window, 0, 0, static_cast<unsigned>(attributes.width),
                               static_cast<unsigned>(attributes.height), AllPlanes, ZPixmap);
    XSync(display_, False);
    if (ximage == nullptr || protocolErrors != errorsBefore) {
        if (ximage != nullptr) {
            XDestroyImage(ximage);
        }
        return false;
    }
    const int redShift = maskShift(ximage->red_mask);
    const int greenShift = maskShift(ximage->green_mask);
    const int blueShift = maskShift(ximage->blue_mask);
    image.width = attributes.width;
    image.height = attributes.height;
    image.pixels.assign(static_cast<size_t>(image.width) * image.height, Rgb8());
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            const unsigned long pixel = XGetPixel(ximage, x, y);
            Rgb8& out = image.pixels[static_cast<size_t>(y) * image.width + x];
            out.red = static_cast<std::uint8_t>((pixel & ximage->red_mask) >> redShift);
            out.green = static_cast<std::uint8_t>((pixel & ximage->green_mask) >> greenShift);
            out.blue = static_cast<std::uint8_t>((pixel & ximage->blue_mask) >> blueShift);
        }
    }
    XDestroyImage(ximage);
    return true;
}

void XConnection::resize(Window window, int width, int height) {
    XResizeWindow(display_, window, static_cast<unsigned>(width), static_cast<unsigned>(height));
    XSync(display_, False);
}

void XConnection::sendDeleteWindow(Window window) {
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display_, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display_, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display_, window, False, NoEventMask, &event);
    XSync(display_, False);
}

void XConnection::destroyWindow(Window window) {
    XDestroyWindow(display_, window);
    XSync(display_, False);
}

void XConnection::closeThroughWindowManager(Window window) {
    askWindowManager(display_, window, "_NET_CLOSE_WINDOW", CurrentTime, 1, 0);
}

void XConnection::maximize(Window window) {
    constexpr long add = 1;
    askWindowManager(display_, window, "_NET_WM_STATE", add,
                     static_cast<long>(XInternAtom(display_, "_NET_WM_STATE_MAXIMIZED_VERT", False)),
                     static_cast<long>(XInternAtom(display_, "_NET_WM_STATE_MAXIMIZED_HORZ", False)));
}

void XConnection::screenSize(int& width, int& height) {
    XWindowAttributes attributes;
    XGetWindowAttributes(display_, DefaultRootWindow(display_), &attributes);
    width = attributes.width;
    height = attributes.height;
}

bool XConnection::frameGeometry(Window window, int& x, int& y, int& width, int& height) {
    Window outer = window;
    for (;;) {
        Window root = 0;
        Window parent = 0;
        Window* children = nullptr;
        unsigned int count = 0;
        if (!XQueryTree(display_, outer, &root, &parent, &children, &count)) {
            return false;
        }
        if (children != nullptr) {
            XFree(children);
        }
        if (parent == root) {
            break;
        }
        outer = parent;
    }
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(display_, outer, &attributes)) {
        return false;
    }
    x = attributes.x;
    y = attributes.y;
    width = attributes.width + 2 * attributes.border_width;
    height = attributes.height + 2 * attributes.border_width;
    return true;
}
