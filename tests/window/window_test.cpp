// The built program in a real X server: its window, its pixels, and how it
// ends when the user closes the window.

#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "picture_checks.h"

namespace {

class ProgramWindow : public WindowTest, public testing::WithParamInterface<WindowCase> {};

TEST_P(ProgramWindow, ShowsTheSceneInViewAndExitsZeroWhenClosed) {
    const WindowCase& c = GetParam();
    ProgramSetup setup;
    setup.input = c.input;
    ASSERT_NO_FATAL_FAILURE(start(setup));

    // The whole trace was out before the window opened.
    const std::string traceWhileOpen = readFile(guard.program.outPath);

    for (const Shape& shape : c.shapes) {
        if (leftOutOnWindows(shape.notOnWindows,
                             std::to_string(shape.width) + "x" + std::to_string(shape.height))) {
            continue;
        }
        int width = 0;
        int height = 0;
        ASSERT_TRUE(x->windowSize(window, width, height));
        if (width != shape.width || height != shape.height) {
            x->resize(window, shape.width, shape.height);
        }
        ASSERT_NO_FATAL_FAILURE(showsPicture(c, shape, c.name));
    }

    x->sendDeleteWindow(window);
    const ProgramResult result = guard.endsWhenClosed();
    EXPECT_FALSE(result.out.empty());
    EXPECT_EQ(traceWhileOpen, result.out) << "part of the trace was still buffered while the window was open";
    const bool rejected = result.out.find("Tacka nije u pravougaoniku!\n") != std::string::npos;
    EXPECT_EQ(rejected, !c.accepted);
}

INSTANTIATE_TEST_SUITE_P(Tables, ProgramWindow, testing::ValuesIn(windowCases()),
                         [](const testing::TestParamInfo<WindowCase>& tested) { return tested.param.name; });

// How a run of the geometry table ends.
enum class Ending {
    closedByUser,              // the window manager's close: status 0
    destroyedByAnotherClient,  // XDestroyWindow from outside: status 1 within a second
    noWindow,                  // no window opens; the program ends by itself with status 1
};

// clang-format off
struct GeometryRow {
    const char* name;
    const char* rule;
    std::vector<std::string> arguments;
    int x, y;
    Shape shape;  // the 10 by 5 table
    Ending ending = Ending::closedByUser;
    std::vector<std::string> environment = {};
    bool errorClosed = false;
    int resizeWidth = 0, resizeHeight = 0;  // when not 0, another client resizes the window first
    const char* notOnWindows = nullptr;     // why the rule does not hold on Windows
};

const char* const windowsFitsTheFrame = "the window's frame, not its client area, is kept to the screen";
const Table10x5Shapes& shapes = table10x5Shapes;
const GeometryRow geometryRows[] = {
    {"noOptions", "no options: 640 by 480 at (100, 50)", {}, 100, 50, shapes.standard},
    {"sizeAndPlace", "-geometry 300x200+40+30", {"-geometry", "300x200+40+30"}, 40, 30, shapes.small},
    {"sizeOnly", "-geometry 300x200: the default place", {"-geometry", "300x200"}, 100, 50, shapes.small},
    {"placeOnly", "-geometry +40+30: the default size", {"-geometry", "+40+30"}, 40, 30, shapes.standard},
    // Mesa crashed on a window this size.
    {"beyondTheScreen", "-geometry 32767x32767-0-0: the screen's size, counted from the bottom right corner",
     {"-geometry", "32767x32767-0-0"}, 0, 0, shapes.screen, Ending::closedByUser, {}, false, 0, 0,
     windowsFitsTheFrame},
    {"resizedBeyondTheScreen", "a window resized beyond the screen by another client gets the screen's size",
     {"-geometry", "+0+0"}, 0, 0, shapes.screen, Ending::closedByUser, {}, false, 32767, 32767,
     windowsFitsTheFrame},
    {"destroyedByAnotherClient", "a window destroyed by another client ends the program", {}, 100, 50,
     shapes.standard, Ending::destroyedByAnotherClient, {}, false, 0, 0,
     "only the window's own thread can destroy it"},
    // With descriptor 2 closed, the X connection took it and the GL
    // library's messages went into the X protocol: the program hung.
    {"closedErrorNoDriver", "a closed standard error and no GL driver", {}, 0, 0, {}, Ending::noWindow,
     {"LIBGL_DRIVERS_PATH=/nonexistent"}, true, 0, 0, "Windows always has a GL driver (GDI's)"},
    {"closedErrorChattyDriver", "a closed standard error and a chatty GL library", {}, 100, 50, shapes.standard,
     Ending::closedByUser, {"LIBGL_DEBUG=verbose"}, true},
};
// clang-format on

void PrintTo(const GeometryRow& row, std::ostream* os) {
    *os << row.rule;
}

class ProgramWindowGeometry : public WindowTest, public testing::WithParamInterface<GeometryRow> {};

// GLUT takes its own options from the command line; the window's size and
// place are defaults that -geometry overrides, and no size beyond the
// screen's crashes it. A hostile environment (a closed standard error, a
// window that another client destroys) never leaves it waiting forever.
TEST_P(ProgramWindowGeometry, FollowsGlutsGeometryOption) {
    const GeometryRow& row = GetParam();
    if (leftOutOnWindows(row.notOnWindows, row.rule)) {
        GTEST_SKIP();
    }
    const WindowCase& table10x5 = windowCases()[0];
    ProgramSetup setup;
    setup.input = table10x5.input;
    setup.arguments = row.arguments;
    setup.environment = row.environment;
    setup.errorClosed = row.errorClosed;
    if (row.ending == Ending::noWindow) {
        setup.display = display;
        guard.program = startProgram(BILIJAR_PATH, setup);
        const ProgramResult result = guard.waitForEnd(5.0);
        ASSERT_FALSE(result.timedOut) << "the program did not end";
        EXPECT_EQ(result.exitStatus, 1);
        EXPECT_EQ(x->waitForWindow(windowTitle, 0.0), Window{}) << "a window opened";
        return;
    }
    ASSERT_NO_FATAL_FAILURE(start(setup));
    if (row.resizeWidth != 0) {
        // The window as a user sees it first, then resized from outside.
        ASSERT_NO_FATAL_FAILURE(showsPicture(table10x5, table10x5Shapes.standard, row.name));
        x->resize(window, row.resizeWidth, row.resizeHeight);
    }
    ASSERT_NO_FATAL_FAILURE(showsPicture(table10x5, row.shape, row.name));
    int left = -1;
    int top = -1;
    ASSERT_TRUE(x->windowPosition(window, left, top));
    EXPECT_EQ(left, row.x);
    EXPECT_EQ(top, row.y);

    if (row.ending == Ending::destroyedByAnotherClient) {
#ifndef _WIN32
        x->destroyWindow(window);
#endif
        // Within a second, given the room for an emulator.
        const ProgramResult result = guard.waitForEnd(1.0);
        ASSERT_FALSE(result.timedOut) << "the program did not end when its window was destroyed";
        EXPECT_EQ(result.exitStatus, 1);
        EXPECT_NE(result.err.find("BadWindow"), std::string::npos) << result.err;
        return;
    }
    x->sendDeleteWindow(window);
    guard.endsWhenClosed();
}

INSTANTIATE_TEST_SUITE_P(Rows, ProgramWindowGeometry, testing::ValuesIn(geometryRows),
                         [](const testing::TestParamInfo<GeometryRow>& tested) { return tested.param.name; });

}  // namespace
