#pragma once

// What the window tests check in a picture of the program's window, and how
// they wait for one.

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "program_runner.h"
#include "window_cases.h"
#include "x_window.h"

extern const char* const windowTitle;

// A deadline of seconds stretched by the build's BILIJAR_TEST_TIME_FACTOR,
// larger where an emulator runs the program: room for a slow program, never
// for one that hangs.
double deadline(double seconds);

// Whether a check is left out because Windows behaves otherwise there
// (notOnWindows says why, or is null); if so, the test's output says so.
bool leftOutOnWindows(const char* notOnWindows, const std::string& what);

// Polls until the window has the given size and shows a finished picture:
// all four corners background (a corner the program has not drawn yet shows
// what was on the screen before) and two grabs in a row the same.
bool waitForPicture(XConnection& x, Window window, int width, int height, Image& image);

// Keeps image as SCREENSHOT_DIR/name.ppm.
void saveScreenshot(const Image& image, const std::string& name);

// The picture of case c at this shape: only the four colours, nothing at
// the edge, the start point, the walls' box and the path where the camera
// puts them.
void checkPicture(const WindowCase& c, const Shape& shape, const Image& image);

// Ends the program if a failed check left it running.
struct ProgramGuard {
    StartedProgram program;
    bool ended = false;
    // Waits for the program to end, at most deadline(seconds); result.timedOut
    // tells whether it is still running.
    ProgramResult waitForEnd(double seconds) {
        const ProgramResult result = waitProgram(program, deadline(seconds));
        ended = !result.timedOut;
        return result;
    }
    // Waits for the program to end once its window was closed: with status
    // 0, within 10 seconds.
    ProgramResult endsWhenClosed() {
        const ProgramResult result = waitForEnd(10.0);
        EXPECT_FALSE(result.timedOut) << "the program did not end when its window was closed";
        EXPECT_EQ(result.exitStatus, 0);
        return result;
    }
    ~ProgramGuard() {
        if (!ended) {
            killProgram(program);
        }
    }
};

// A test of the program's window on the test display: the private Xvfb that
// CTest starts for the window tests, whose display number is in
// TEST_DISPLAY_FILE while it runs, or else the one that DISPLAY names. The
// server found is put into DISPLAY, so that GLUT and XConnection use it.
// The test skips when there is no server and fails when the fixture's file
// holds no display number or a window of an earlier run is still open.
// Under Wine a process keeps the X server that DISPLAY named when it
// started; the test fails if that is not the test display, and the
// programs it starts get the display through ProgramSetup.
class WindowTest : public testing::Test {
  protected:
    void SetUp() override;

    // Starts the program on the test display and waits for its window.
    void start(ProgramSetup setup);

    // Waits for a finished picture of the window at shape, keeps it as the
    // screenshot name-WIDTHxHEIGHT, and checks it as case c's.
    void showsPicture(const WindowCase& c, const Shape& shape, const std::string& name);

    std::string display;
    std::unique_ptr<XConnection> x;
    ProgramGuard guard;
    Window window{};
};
