// The viewer's window in a browser page: the page's canvas, under a title
// bar that the page draws. GLUT's command-line options have no meaning in a
// page, the page keeps the canvas to its own size, and the page's close
// button ends the program, so nothing needs to watch the window.

#include <GL/glut.h>
#include <emscripten.h>

#include <algorithm>

#include "window_system.h"

// The page's side (standard_streams.js): shows the window's frame around
// the canvas, and tells the largest canvas that the page has room for.
extern "C" void bilijarShowWindow();
extern "C" int bilijarRoomWidth();
extern "C" int bilijarRoomHeight();

void startWindowSystem(int& argc, char** argv, WindowPlacement defaults, ReshapeFunction) {
    // A page has no screen position to give; the canvas takes the size, cut
    // down to the page's room as a desktop cuts a window to its screen.
    glutInitWindowSize(std::min(defaults.width, bilijarRoomWidth()),
                       std::min(defaults.height, bilijarRoomHeight()));
    bilijarShowWindow();
    glutInit(&argc, argv);
}

void placeWindowFrame() {}  // the page lays the window out itself

bool reshapeFitsScreen(int, int) {
    return true;  // the page never makes the canvas larger than its room
}

void watchWindow() {}

// What the page calls when the user drags the window's corner: the canvas
// becomes width by height pixels, and GLUT reshapes and redraws it. (The
// page's close button calls exit(0), as freeglut does on the desktop.)
extern "C" EMSCRIPTEN_KEEPALIVE void bilijarResizeWindow(int width, int height) {
    glutReshapeWindow(width, height);
}
