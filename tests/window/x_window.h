#pragma once

// GoogleTest first: Xlib defines None, a name that GoogleTest uses.
#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <cstdint>
#include <string>
#include <vector>

// A small Xlib client for the window tests: finds a top-level window by its
// title, grabs its pixels, resizes it, asks it to close as a window manager
// does and destroys it as another client may.

struct Rgb8 {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
};

// Pixels in rows from the top, as the screen shows them.
struct Image {
    int width = 0;
    int height = 0;
    std::vector<Rgb8> pixels;

    Rgb8 at(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

// A connection to the X server named by DISPLAY; display() is null when
// DISPLAY is unset or the server cannot be reached. Protocol errors (a window
// that went away between two requests) are counted instead of ending the
// process.
class XConnection {
  public:
    XConnection();
    ~XConnection();
    XConnection(const XConnection&) = delete;
    XConnection& operator=(const XConnection&) = delete;

    Display* display() const { return display_; }

    // Polls for a top-level window with this title, looking at least once;
    // 0 when none has appeared after timeoutSeconds.
    Window waitForWindow(const std::string& title, double timeoutSeconds);

    // The window's current size; false if it is gone.
    bool windowSize(Window window, int& width, int& height);

    // Where the window's top-left corner is on the screen; false if it is gone.
    bool windowPosition(Window window, int& x, int& y);

    // The window's pixels; false if it is not mapped, is gone or is larger
    // than the screen.
    bool grab(Window window, Image& image);

    void resize(Window window, int width, int height);

    // Sends WM_PROTOCOLS / WM_DELETE_WINDOW, the message a window manager
    // sends when the user clicks the close button.
    void sendDeleteWindow(Window window);

    // Destroys the window as another client may (xdotool windowclose):
    // XDestroyWindow, with no word to its owner.
    void destroyWindow(Window window);

  private:
    Display* display_ = nullptr;
};

// The X server that the window tests draw on: the private Xvfb that CTest
// starts for them, whose display number is in TEST_DISPLAY_FILE while it
// runs, or else the one that DISPLAY names. The server found is put into
// DISPLAY, so that GLUT and XConnection use it.
enum class TestDisplay {
    ready,   // display names the server
    absent,  // no server: the test skips
    broken,  // the file holds no display number: the test fails
};
TestDisplay useTestDisplay(std::string& display, std::string& problem);

// Declares display and fills it with the test display, or ends the test:
// skipped when there is none, failed when the fixture's file is broken.
#define REQUIRE_TEST_DISPLAY(display)               \
    std::string display;                            \
    do {                                            \
        std::string problem;                        \
        switch (useTestDisplay(display, problem)) { \
            case TestDisplay::absent:               \
                GTEST_SKIP() << problem;            \
            case TestDisplay::broken:               \
                FAIL() << problem;                  \
            case TestDisplay::ready:                \
                break;                              \
        }                                           \
    } while (false)

// Writes image as a binary PPM (P6), which any image viewer reads; false
// on any failure.
bool writePpm(const Image& image, const std::string& path);
