// The built program on a desktop: its window under a real window manager
// (openbox, which CTest starts on an X server of the tests' own), where the
// window manager frames, places, maximizes and closes the window.

#include <X11/Xatom.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "camera.h"
#include "picture_checks.h"
#include "transform.h"

namespace {

// The screen that every row starts with; the X server can grow to the
// larger one.
constexpr int startWidth = 1280;
constexpr int startHeight = 1024;
constexpr int grownWidth = 1920;
constexpr int grownHeight = 1200;

// The 10 by 5 table's shape at a size the window manager chose: the scale
// that the viewer's camera gives it (the camera's own tests check that).
Shape table10x5At(int width, int height) {
    const Point boxMin(-0.01f, -0.01f);
    const Point boxMax(10.01f, 5.01f);
    const Camera camera = cameraFromBox(boxMin, boxMax);
    const Projection projection = projectionFor(camera, boxMin, boxMax, width, height);
    const double halfTan = std::tan(projection.fovy / 2.0 * pi / 180.0);
    return {width, height, height / 2.0 / (camera.eyeDistance * halfTan)};
}

// The desktop's size as the window manager has it (_NET_DESKTOP_GEOMETRY).
bool desktopSize(Display* display, int& width, int& height) {
    Atom type = 0;
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    const bool read = XGetWindowProperty(display, DefaultRootWindow(display),
                                         XInternAtom(display, "_NET_DESKTOP_GEOMETRY", False), 0, 2, False,
                                         XA_CARDINAL, &type, &format, &count, &after, &data) == Success &&
                      format == 32 && count == 2;
    if (read) {
        const auto* values = reinterpret_cast<const long*>(data);
        width = static_cast<int>(values[0]);
        height = static_cast<int>(values[1]);
    }
    if (data != nullptr) {
        XFree(data);
    }
    return read;
}

// Sets the screen's size as a user's change of resolution does (xrandr
// --fb, which on Xvfb also reports a harmless BadValue) and waits until the
// window manager has taken it.
bool setScreenSize(XConnection& x, int width, int height) {
    const std::string command =
        "xrandr --fb " + std::to_string(width) + "x" + std::to_string(height) + " >/dev/null 2>&1";
    if (std::system(command.c_str()) == -1) {
        return false;
    }
    return waitUntil(deadline(5.0), [&] {
        int screenWidth = 0;
        int screenHeight = 0;
        int desktopWidth = 0;
        int desktopHeight = 0;
        x.screenSize(screenWidth, screenHeight);
        return screenWidth == width && screenHeight == height &&
               desktopSize(x.display(), desktopWidth, desktopHeight) && desktopWidth == width &&
               desktopHeight == height;
    });
}

// Waits for the window manager to give the window's frame the screen's
// width, and then for a finished picture of the window's size.
bool waitForMaximizedPicture(XConnection& x, Window window, Image& image, Shape& shape) {
    int screenWidth = 0;
    int screenHeight = 0;
    x.screenSize(screenWidth, screenHeight);
    const bool maximized = waitUntil(deadline(5.0), [&] {
        int left = 0;
        int top = 0;
        int width = 0;
        int height = 0;
        return x.frameGeometry(window, left, top, width, height) && width == screenWidth;
    });
    // The window manager may size the frame before the window inside it:
    // a picture counts at the size that the window keeps.
    for (int attempt = 0; maximized && attempt < 2; ++attempt) {
        int width = 0;
        int height = 0;
        if (!x.windowSize(window, width, height)) {
            return false;
        }
        shape = table10x5At(width, height);
        if (waitForPicture(x, window, width, height, image)) {
            return true;
        }
    }
    return false;
}

// What the user (or another client) does under the window manager, and
// what must follow.
// clang-format off
struct WindowManagerRow {
    const char* name;
    const char* rule;
    std::vector<std::string> arguments;
    Shape first;              // the first picture
    bool screenGrows;         // the screen grows to 1920 by 1200 while the window is open
    int resizeWidth = 0, resizeHeight = 0;  // when not 0, the user resizes the window so
    bool maximized = false;   // the user maximizes the window
    bool inBottomRightCorner = false;  // the frame ends at the screen's bottom right corner
};

const WindowManagerRow windowManagerRows[] = {
    {"closedByTheWindowManager", "closed through the window manager (wmctrl -c): status 0", {}, table10x5Shapes.standard, false},
    {"maximized", "maximized: a finished picture of the size the window manager gives", {}, table10x5Shapes.standard, false,
     0, 0, true},
    // The screen's size was the one at the start: the resize was cut to
    // 1280x1000, and the maximized window was asked to shrink, which the
    // window manager refused, and never drawn.
    {"screenGrown", "the screen grown while the window is open: a resize to 1600x1000 and a maximize take the new size",
     {}, table10x5Shapes.standard, true, 1600, 1000, true},
    // The window manager put the frame's top left corner at (980, 824),
    // and the window hung over the screen's bottom edge.
    {"cornerPlacement", "-geometry 300x200-0-0: the frame whole in the bottom right corner", {"-geometry", "300x200-0-0"},
     table10x5Shapes.small, false, 0, 0, false, true},
};
// clang-format on

void PrintTo(const WindowManagerRow& row, std::ostream* os) {
    *os << row.rule;
}

class ProgramWindowManager : public WindowTest, public testing::WithParamInterface<WindowManagerRow> {
  protected:
    // These change the screen's size and maximize and close windows: only
    // on the X server that ctest starts for them, never on a user's desktop.
    void SetUp() override {
        if (!std::ifstream(TEST_DISPLAY_FILE)) {
            GTEST_SKIP() << "no X server of the tests' own (" << TEST_DISPLAY_FILE
                         << "): run them with ctest";
        }
        WindowTest::SetUp();
    }
};

TEST_P(ProgramWindowManager, FramesPlacesMaximizesAndClosesTheWindow) {
    const WindowCase& table10x5 = windowCases()[0];
    const WindowManagerRow& row = GetParam();
    ASSERT_TRUE(setScreenSize(*x, startWidth, startHeight)) << "the screen did not take 1280x1024";
    ProgramSetup setup;
    setup.input = table10x5.input;
    setup.arguments = row.arguments;
    ASSERT_NO_FATAL_FAILURE(start(setup));
    if (row.inBottomRightCorner) {
        int left = 0;
        int top = 0;
        int width = 0;
        int height = 0;
        const bool inCorner = waitUntil(deadline(5.0), [&] {
            return x->frameGeometry(window, left, top, width, height) && left + width == startWidth &&
                   top + height == startHeight;
        });
        EXPECT_TRUE(inCorner) << "the frame is " << width << "x" << height << " at (" << left << ", " << top
                              << ")";
        EXPECT_GE(left, 0);
        EXPECT_GE(top, 0);
    }
    // A window partly off the screen gives no picture.
    ASSERT_NO_FATAL_FAILURE(showsPicture(table10x5, row.first, row.name));

    if (row.screenGrows) {
        ASSERT_TRUE(setScreenSize(*x, grownWidth, grownHeight)) << "the screen did not grow";
    }
    if (row.resizeWidth != 0) {
        x->resize(window, row.resizeWidth, row.resizeHeight);
        ASSERT_NO_FATAL_FAILURE(
            showsPicture(table10x5, table10x5At(row.resizeWidth, row.resizeHeight), row.name));
    }
    if (row.maximized) {
        x->maximize(window);
        Image image;
        Shape shape{0, 0, 0.0};
        const bool drawn = waitForMaximizedPicture(*x, window, image, shape);
        saveScreenshot(image,
                       "maximized-" + std::to_string(image.width) + "x" + std::to_string(image.height));
        ASSERT_TRUE(drawn) << "no finished picture of the maximized window; last grab " << image.width << "x"
                           << image.height;
        checkPicture(table10x5, shape, image);
    }

    x->closeThroughWindowManager(window);
    EXPECT_FALSE(guard.endsWhenClosed().out.empty());
}

INSTANTIATE_TEST_SUITE_P(Rows, ProgramWindowManager, testing::ValuesIn(windowManagerRows),
                         [](const testing::TestParamInfo<WindowManagerRow>& tested) {
                             return tested.param.name;
                         });

}  // namespace
