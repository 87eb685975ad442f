#include "window_system.h"

#include <GL/glut.h>

namespace {

// A window destroyed by another client (XDestroyWindow, as `xdotool
// windowclose` sends) would leave freeglut waiting for its events forever,
// since freeglut ignores DestroyNotify. Such a window is unmapped first,
// which freeglut reports as GLUT_HIDDEN. Asking for the window's place then
// reaches the X server, which answers a destroyed window with BadWindow;
// Xlib's default error handler prints the error and ends the process with
// status 1 through exit, so the at-exit clean-up runs. An iconified window
// is hidden too but still there, and is asked again every checkInterval
// milliseconds until it is shown, in case it is destroyed while hidden.
constexpr unsigned int checkInterval = 250;
bool windowHidden = false;
bool checkPending = false;

void checkWindowExists(int) {
    checkPending = windowHidden;
    if (windowHidden) {
        glutGet(GLUT_WINDOW_X);
        glutTimerFunc(checkInterval, checkWindowExists, 0);
    }
}

void onWindowStatus(int status) {
    windowHidden = status == GLUT_HIDDEN;
    if (windowHidden && !checkPending) {
        checkWindowExists(0);
    }
}

}  // namespace

void watchWindow() {
    glutWindowStatusFunc(onWindowStatus);
}
