// The built program in a real X server: its window, its pixels, and how it
// ends when the user closes the window.

#include <gtest/gtest.h>
#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>
#include <thread>
#include <vector>

#include "program_runner.h"
#include "x_window.h"

namespace {

const char* const windowTitle = "Bilijar - prikaz";

// Background (0.9, 0.9, 0.8) and the three colours the run draws with.
const Rgb8 background = {230, 230, 204};
const Rgb8 black = {0, 0, 0};
const Rgb8 red = {255, 0, 0};
const Rgb8 blue = {0, 0, 255};

// Rounding of 0.9 * 255 = 229.5 may go either way; drawn colours are exact.
constexpr int colourTolerance = 2;
// Pixel positions are predicted from the unrounded projection; lines and
// 4-pixel points land within this many pixels of it.
constexpr int positionTolerance = 3;
// A 4-pixel point reaches this far beyond its vertex.
constexpr double pointReach = 2.0;

bool near(Rgb8 a, Rgb8 b) {
    return std::abs(a.red - b.red) <= colourTolerance && std::abs(a.green - b.green) <= colourTolerance &&
           std::abs(a.blue - b.blue) <= colourTolerance;
}

// A window shape and the scale at which it shows the scene, in pixels per
// unit, worked by hand: the eye at distance e sees e * t above and below the
// centre, t = tan(fovy / 2); the box fills 1 / 1.05 of the window on its
// tighter side unless 45 degrees (t = 0.41421) already shows it.
struct Shape {
    int width;
    int height;
    double pixelsPerUnit;
    const char* notOnWindows = nullptr;  // why Windows cannot show this shape
};

// Whether a check is left out because Windows behaves otherwise there
// (notOnWindows says why, or is null); if so, the test's output says so.
bool leftOutOnWindows(const char* notOnWindows, const std::string& what) {
#ifdef _WIN32
    if (notOnWindows != nullptr) {
        std::cout << "not checked on Windows: " << what << ": " << notOnWindows << std::endl;
        return true;
    }
#else
    (void)notOnWindows;
    (void)what;
#endif
    return false;
}

// A point of the scene's plane.
struct PlanePoint {
    double x;
    double y;
};

struct WindowCase {
    const char* name;
    const char* input;
    bool accepted;              // the start point lies in the rectangle
    double a, b;                // the rectangle; its walls reach 0.01 beyond it
    double cx, cy;              // the box's centre, shown at the window's centre
    PlanePoint start;           // the blue start point
    PlanePoint firstLegMiddle;  // on the blue first leg
    PlanePoint redSample;       // on the red path
    bool checkPath;             // whether the legs are long enough to find
    std::vector<Shape> shapes;
};

// Names the case in test output instead of dumping its bytes.
void PrintTo(const WindowCase& c, std::ostream* os) {
    *os << c.name;
}

// Hand working of the paths, start (2, 1):
//  10 by 5, direction (1, 1): top at (6, 5), then right wall at (10, 1).
//  10 by 10, direction (1, 1): right wall at (10, 9), then top at (9, 10).
//  5 by 100, direction (1, 1): right wall at (5, 4), then left wall at (0, 9).
//  1000 by 10, direction (100, 1): top at (902, 10), then right wall at
//  (1000, 9.02).
const std::vector<WindowCase>& windowCases() {
    // clang-format off
    static const std::vector<WindowCase> cases = {
        // name, input, accepted, a, b, centre, start, first leg, red path, check path, shapes

        // e = 10.02 at 45 degrees: 240 / (10.02 * 0.41421) = 57.826. Tall:
        // t = 1.05 * 5.01 / (10.02 * 300 / 700) = 1.2250, 350 / (10.02 * t).
        // Wide: 45 degrees, 100 / (10.02 * 0.41421).
        // In 40 by 30 the 3 pixels that keep the squares off the edge
        // outweigh the margin: t = 5.01 * 15 / (10.02 * (20 - 3)) = 0.44118,
        // 15 / (10.02 * t).
        {"table10x5", "10\n5\n2\n1\n1\n1\n1\n", true, 10, 5, 5, 2.5, {2, 1}, {4, 3}, {8, 3}, true,
         {{640, 480, 57.826}, {300, 700, 28.514}, {1000, 200, 24.094},
          {40, 30, 3.3931, "a window with a caption is at least as wide as the caption's buttons"}}},
        // e = 10.02, t = 1.05 * 5.01 / 10.02 = 0.525: 240 / (10.02 * 0.525).
        {"table10x10", "10\n10\n2\n1\n1\n1\n1\n", true, 10, 10, 5, 5, {2, 1}, {6, 5}, {9.5, 9.5}, true,
         {{640, 480, 45.623}}},
        // e = 100.02, t = 1.05 * 50.01 / 100.02 = 0.525: 240 / (100.02 * 0.525).
        {"table5x100", "5\n100\n2\n1\n1\n1\n1\n", true, 5, 100, 2.5, 50, {2, 1}, {3.5, 2.5}, {2.5, 6.5}, true,
         {{640, 480, 4.5705}}},
        // e = 1000.02 at 45 degrees: 240 / (1000.02 * 0.41421).
        {"table1000x10", "1000\n10\n2\n1\n100\n1\n1\n", true, 1000, 10, 500, 5, {2, 1}, {452, 5.5},
         {951, 9.51}, true, {{640, 480, 0.57941}}},
        // e = 0.02, t = 1.05 * 0.01 / 0.02 = 0.525: 240 / (0.02 * 0.525). The
        // walls cross at the start point; the path has no length to find.
        {"table0x0", "0\n0\n0\n0\n1\n1\n1\n", true, 0, 0, 0, 0, {0, 0}, {0, 0}, {0, 0}, false,
         {{640, 480, 22857.1}}},
        // The start point alone, at the centre; e = 24 at 45 degrees.
        {"rejectedStartPoint", "10\n5\n12\n3\n1\n1\n1\n", false, 10, 5, 12, 3, {12, 3}, {12, 3}, {12, 3},
         false, {{640, 480, 24.142}}},
        // Near the float limits the depth range must stay in normal floats.
        // A point next to the smallest normal float, alone at the centre:
        {"tinyRejectedStartPoint", "-1\n-1\n1e-38\n1e-38\n1\n1\n0\n", false, -1, -1, 1e-38, 1e-38,
         {1e-38, 1e-38}, {1e-38, 1e-38}, {1e-38, 1e-38}, false, {{640, 480, 1e40}}},
        // The box from (640, 480) to (1.8e38, 1.8e38) is centred on 9e37 and
        // fills 1 / 1.05 of the height: 240 / (1.05 * 9e37); the point is in
        // the top right corner.
        {"hugeRejectedStartPoint", "10\n10\n1.8e38\n1.8e38\n1\n1\n0\n", false, 10, 10, 9e37, 9e37,
         {1.8e38, 1.8e38}, {1.8e38, 1.8e38}, {1.8e38, 1.8e38}, false, {{640, 480, 2.5397e-36}}},
    };
    // clang-format on
    return cases;
}

struct PixelPosition {
    double x;
    double y;
};

// Window pixel (column, row from the top) where the plane point p appears.
PixelPosition toPixel(const WindowCase& c, const Shape& shape, PlanePoint p) {
    return {shape.width / 2.0 + (p.x - c.cx) * shape.pixelsPerUnit,
            shape.height / 2.0 - (p.y - c.cy) * shape.pixelsPerUnit};
}

bool colourNear(const Image& image, PixelPosition at, Rgb8 colour) {
    for (int dy = -positionTolerance; dy <= positionTolerance; ++dy) {
        for (int dx = -positionTolerance; dx <= positionTolerance; ++dx) {
            const int x = static_cast<int>(at.x) + dx;
            const int y = static_cast<int>(at.y) + dy;
            if (x >= 0 && y >= 0 && x < image.width && y < image.height && near(image.at(x, y), colour)) {
                return true;
            }
        }
    }
    return false;
}

struct Extent {
    int count = 0;
    int left = 0;
    int right = -1;
    int top = 0;
    int bottom = -1;
};

Extent extentOf(const Image& image, Rgb8 colour) {
    Extent extent;
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            if (!near(image.at(x, y), colour)) {
                continue;
            }
            if (extent.count++ == 0) {
                extent.left = extent.right = x;
                extent.top = extent.bottom = y;
            }
            extent.left = std::min(extent.left, x);
            extent.right = std::max(extent.right, x);
            extent.top = std::min(extent.top, y);
            extent.bottom = std::max(extent.bottom, y);
        }
    }
    return extent;
}

bool borderIsBackground(const Image& image) {
    for (int x = 0; x < image.width; ++x) {
        if (!near(image.at(x, 0), background) || !near(image.at(x, image.height - 1), background)) {
            return false;
        }
    }
    for (int y = 0; y < image.height; ++y) {
        if (!near(image.at(0, y), background) || !near(image.at(image.width - 1, y), background)) {
            return false;
        }
    }
    return true;
}

bool cornersAreBackground(const Image& image) {
    return near(image.at(0, 0), background) && near(image.at(image.width - 1, 0), background) &&
           near(image.at(0, image.height - 1), background) &&
           near(image.at(image.width - 1, image.height - 1), background);
}

// Polls until the window has the given size and shows a finished picture:
// all four corners background (a corner the program has not drawn yet shows
// what was on the screen before) and two grabs in a row the same.
bool waitForPicture(XConnection& x, Window window, int width, int height, Image& image) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    Image previous;
    while (std::chrono::steady_clock::now() < deadline) {
        if (x.grab(window, image) && image.width == width && image.height == height &&
            cornersAreBackground(image)) {
            if (previous.width == width && previous.height == height &&
                previous.pixels.size() == image.pixels.size() &&
                std::equal(previous.pixels.begin(), previous.pixels.end(), image.pixels.begin(),
                           [](Rgb8 p, Rgb8 q) {
                               return p.red == q.red && p.green == q.green && p.blue == q.blue;
                           })) {
                return true;
            }
            previous = image;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return false;
}

void saveScreenshot(const Image& image, const std::string& name) {
    std::error_code ignored;
    std::filesystem::create_directories(SCREENSHOT_DIR, ignored);
    writePpm(image, std::string(SCREENSHOT_DIR) + "/" + name + ".ppm");
}

void checkPicture(const WindowCase& c, const Shape& shape, const Image& image) {
    SCOPED_TRACE(std::string(c.name) + " at " + std::to_string(shape.width) + "x" +
                 std::to_string(shape.height));

    int strangePixels = 0;
    for (const Rgb8& pixel : image.pixels) {
        if (!near(pixel, background) && !near(pixel, black) && !near(pixel, red) && !near(pixel, blue)) {
            ++strangePixels;
        }
    }
    EXPECT_EQ(strangePixels, 0) << "only the background, black, red and blue are drawn";
    EXPECT_TRUE(borderIsBackground(image)) << "something is drawn at the window's edge";

    EXPECT_TRUE(colourNear(image, toPixel(c, shape, c.start), blue)) << "blue start point";
    const Extent walls = extentOf(image, black);
    const Extent path = extentOf(image, red);
    if (!c.accepted) {
        EXPECT_EQ(walls.count, 0) << "a rejected start point is drawn alone";
        EXPECT_EQ(path.count, 0) << "a rejected start point is drawn alone";
        const Extent point = extentOf(image, blue);
        EXPECT_LE(point.right - point.left, 4) << "one 4-pixel point";
        EXPECT_LE(point.bottom - point.top, 4) << "one 4-pixel point";
        return;
    }

    // The walls span the box from (-0.01, -0.01) to (a + 0.01, b + 0.01),
    // with a 4-pixel point at each end.
    const PixelPosition lowerLeft = toPixel(c, shape, {-0.01, -0.01});
    const PixelPosition upperRight = toPixel(c, shape, {c.a + 0.01, c.b + 0.01});
    ASSERT_GT(walls.count, 0) << "black walls";
    EXPECT_NEAR(walls.left, lowerLeft.x - pointReach, positionTolerance) << "left wall";
    EXPECT_NEAR(walls.right, upperRight.x + pointReach, positionTolerance) << "right wall";
    EXPECT_NEAR(walls.top, upperRight.y - pointReach, positionTolerance) << "top wall";
    EXPECT_NEAR(walls.bottom, lowerLeft.y + pointReach, positionTolerance) << "bottom wall";

    if (c.checkPath) {
        EXPECT_GT(path.count, 0) << "red path";
        EXPECT_TRUE(colourNear(image, toPixel(c, shape, c.redSample), red)) << "red path";
        EXPECT_TRUE(colourNear(image, toPixel(c, shape, c.firstLegMiddle), blue)) << "blue first leg";
    }
}

// Ends the program if a failed check left it running.
struct ProgramGuard {
    StartedProgram program;
    bool ended = false;
    ~ProgramGuard() {
        if (!ended) {
            killProgram(program);
        }
    }
};

class ProgramWindow : public testing::TestWithParam<WindowCase> {};

TEST_P(ProgramWindow, ShowsTheSceneInViewAndExitsZeroWhenClosed) {
    REQUIRE_TEST_DISPLAY(display);
    XConnection x;
    ASSERT_NE(x.display(), nullptr) << "cannot reach the X server at DISPLAY=" << display;
    ASSERT_EQ(x.waitForWindow(windowTitle, 0.0), Window{}) << "a window of an earlier run is still open";

    const WindowCase& c = GetParam();
    ProgramGuard guard{startProgram(BILIJAR_PATH, c.input, display)};
    const Window window = x.waitForWindow(windowTitle, 20.0);
    ASSERT_NE(window, Window{}) << "no window titled \"" << windowTitle << "\" appeared";

    // The whole trace was out before the window opened.
    const std::string traceWhileOpen = readFile(guard.program.outPath);

    for (const Shape& shape : c.shapes) {
        if (leftOutOnWindows(shape.notOnWindows,
                             std::to_string(shape.width) + "x" + std::to_string(shape.height))) {
            continue;
        }
        int width = 0;
        int height = 0;
        ASSERT_TRUE(x.windowSize(window, width, height));
        if (width != shape.width || height != shape.height) {
            x.resize(window, shape.width, shape.height);
        }
        Image image;
        const bool drawn = waitForPicture(x, window, shape.width, shape.height, image);
        saveScreenshot(image, std::string(c.name) + "-" + std::to_string(shape.width) + "x" +
                                  std::to_string(shape.height));
        ASSERT_TRUE(drawn) << "no finished " << shape.width << "x" << shape.height << " picture; last grab "
                           << image.width << "x" << image.height;
        checkPicture(c, shape, image);
    }

    x.sendDeleteWindow(window);
    const ProgramResult result = waitProgram(guard.program, 10.0);
    ASSERT_FALSE(result.timedOut) << "the program did not end when its window was closed";
    guard.ended = true;
    EXPECT_EQ(result.exitStatus, 0);
    EXPECT_FALSE(result.out.empty());
    EXPECT_EQ(traceWhileOpen, result.out) << "part of the trace was still buffered while the window was open";
    const bool rejected = result.out.find("Tacka nije u pravougaoniku!\n") != std::string::npos;
    EXPECT_EQ(rejected, !c.accepted);
}

INSTANTIATE_TEST_SUITE_P(Tables, ProgramWindow, testing::ValuesIn(windowCases()),
                         [](const testing::TestParamInfo<WindowCase>& info) { return info.param.name; });

// How a run of the geometry table ends.
enum class Ending {
    closedByUser,              // the window manager's close: status 0
    destroyedByAnotherClient,  // XDestroyWindow from outside: status 1 within a second
    noWindow,                  // no window opens; the program ends by itself with status 1
};

// GLUT takes its own options from the command line; the window's size and
// place are defaults that -geometry overrides, and no size beyond the
// screen's crashes it. A hostile environment (a closed standard error, a
// window that another client destroys) never leaves it waiting forever.
TEST(ProgramWindowGeometry, FollowsGlutsGeometryOption) {
    REQUIRE_TEST_DISPLAY(display);
    XConnection x;
    ASSERT_NE(x.display(), nullptr) << "cannot reach the X server at DISPLAY=" << display;
    const WindowCase& table10x5 = windowCases()[0];
    const char* const windowsFitsTheFrame = "the window's frame, not its client area, is kept to the screen";
    // clang-format off
    struct Row {
        const char* rule;
        std::vector<std::string> arguments;
        int x, y;
        Shape shape;  // the 10 by 5 table at 45 degrees: 100 / (10.02 * 0.41421) in 300 by 200
        Ending ending = Ending::closedByUser;
        std::vector<std::string> environment = {};
        bool errorClosed = false;
        int resizeWidth = 0, resizeHeight = 0;  // when not 0, another client resizes the window first
        const char* notOnWindows = nullptr;     // why the rule does not hold on Windows
    } rows[] = {
        {"no options: 640 by 480 at (100, 50)", {}, 100, 50, {640, 480, 57.826}},
        {"-geometry 300x200+40+30", {"-geometry", "300x200+40+30"}, 40, 30, {300, 200, 24.094}},
        {"-geometry 300x200: the default place", {"-geometry", "300x200"}, 100, 50, {300, 200, 24.094}},
        {"-geometry +40+30: the default size", {"-geometry", "+40+30"}, 40, 30, {640, 480, 57.826}},
        // The fixture's screen is 1280 by 1024; the table fills 1 / 1.05 of
        // its width: 640 / (1.05 * 5.01). Mesa crashed on a window this size.
        {"-geometry 32767x32767-0-0: the screen's size, counted from the bottom right corner",
         {"-geometry", "32767x32767-0-0"}, 0, 0, {1280, 1024, 121.66}, Ending::closedByUser, {}, false, 0, 0,
         windowsFitsTheFrame},
        {"a window resized beyond the screen by another client gets the screen's size", {"-geometry", "+0+0"},
         0, 0, {1280, 1024, 121.66}, Ending::closedByUser, {}, false, 32767, 32767, windowsFitsTheFrame},
        {"a window destroyed by another client ends the program", {}, 100, 50, {640, 480, 57.826},
         Ending::destroyedByAnotherClient, {}, false, 0, 0, "only the window's own thread can destroy it"},
        // With descriptor 2 closed, the X connection took it and the GL
        // library's messages went into the X protocol: the program hung.
        {"a closed standard error and no GL driver", {}, 0, 0, {}, Ending::noWindow,
         {"LIBGL_DRIVERS_PATH=/nonexistent"}, true, 0, 0, "Windows always has a GL driver (GDI's)"},
        {"a closed standard error and a chatty GL library", {}, 100, 50, {640, 480, 57.826},
         Ending::closedByUser, {"LIBGL_DEBUG=verbose"}, true},
    };
    // clang-format on
    for (const Row& row : rows) {
        if (leftOutOnWindows(row.notOnWindows, row.rule)) {
            continue;
        }
        SCOPED_TRACE(row.rule);
        ASSERT_EQ(x.waitForWindow(windowTitle, 0.0), Window{}) << "a window of an earlier run is still open";
        ProgramSetup setup;
        setup.input = table10x5.input;
        setup.display = display;
        setup.arguments = row.arguments;
        setup.environment = row.environment;
        setup.errorClosed = row.errorClosed;
        ProgramGuard guard{startProgram(BILIJAR_PATH, setup)};
        if (row.ending == Ending::noWindow) {
            const ProgramResult result = waitProgram(guard.program, 5.0);
            ASSERT_FALSE(result.timedOut) << "the program did not end";
            guard.ended = true;
            EXPECT_EQ(result.exitStatus, 1);
            EXPECT_EQ(x.waitForWindow(windowTitle, 0.0), Window{}) << "a window opened";
            continue;
        }
        const Window window = x.waitForWindow(windowTitle, 20.0);
        ASSERT_NE(window, Window{}) << "no window titled \"" << windowTitle << "\" appeared";
        Image image;
        if (row.resizeWidth != 0) {
            // The window as a user sees it first, then resized from outside.
            ASSERT_TRUE(waitForPicture(x, window, 640, 480, image)) << "no first 640x480 picture";
            x.resize(window, row.resizeWidth, row.resizeHeight);
        }
        ASSERT_TRUE(waitForPicture(x, window, row.shape.width, row.shape.height, image))
            << "no finished " << row.shape.width << "x" << row.shape.height << " picture";
        int left = -1;
        int top = -1;
        ASSERT_TRUE(x.windowPosition(window, left, top));
        EXPECT_EQ(left, row.x);
        EXPECT_EQ(top, row.y);
        checkPicture(table10x5, row.shape, image);

        if (row.ending == Ending::destroyedByAnotherClient) {
#ifndef _WIN32
            x.destroyWindow(window);
#endif
            // Within a second, or three where an emulator runs the program.
            const ProgramResult result =
                waitProgram(guard.program, std::string(BILIJAR_EMULATOR).empty() ? 1.0 : 3.0);
            ASSERT_FALSE(result.timedOut) << "the program did not end when its window was destroyed";
            guard.ended = true;
            EXPECT_EQ(result.exitStatus, 1);
            EXPECT_NE(result.err.find("BadWindow"), std::string::npos) << result.err;
            continue;
        }
        x.sendDeleteWindow(window);
        const ProgramResult result = waitProgram(guard.program, 10.0);
        ASSERT_FALSE(result.timedOut) << "the program did not end when its window was closed";
        guard.ended = true;
        EXPECT_EQ(result.exitStatus, 0);
    }
}

}  // namespace
