// The viewer's window in a browser page: the page's canvas, under a title
// bar that the page draws. GLUT's command-line options have no meaning in a
// page, the page keeps the canvas to its own size, and the page's close
// button ends the program, so nothing needs to watch the window.

#include <GL/glut.h>
#include <emscripten.h>
#include <emscripten/html5.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "scene.h"
#include "window_system.h"

// The page's side (browser_window.js): shows the window's frame around
// the canvas, tells the largest canvas that the page has room for (in CSS
// pixels), and takes the picture's description for its text alternative.
extern "C" void bilijarShowWindow();
extern "C" int bilijarRoomWidth();
extern "C" int bilijarRoomHeight();
extern "C" void bilijarDescribePicture(double width, double height, int legs);
extern "C" int bilijarHasWebGL();

namespace {

// A browser without WebGL gives GLUT no context to draw with: the program
// says so and ends as the desktop's does when it has no display. Some
// engines have no WebGL at all when it is switched off, others fail only
// when the context is made, so it is asked both before and after.
void endWithoutWebGL() {
    std::fputs("Prozor ne moze da se otvori: pregledac nema WebGL.\n", stderr);
    std::exit(1);
}

// Tells the page what the window shows: the table's size, read from its
// walls (the right wall lies at x = width, the top wall at y = height), and
// how many legs the path has (its coloured segments); a width of -1 for a
// table that has no walls. The size goes to the page as it is drawn: the
// widest table's wall lies beyond the largest int (2147483647 is drawn at
// 2^31).
void describePicture() {
    float width = -1.0f;
    float height = -1.0f;
    int legs = 0;
    for (const Segment& segment : sceneSegments) {
        if (segment.color == colorBlack) {
            width = std::max(width, segment.start.x);
            height = std::max(height, segment.start.y);
        } else {
            ++legs;
        }
    }
    bilijarDescribePicture(width, height, legs);
}

}  // namespace

void startWindowSystem(int& argc, char** argv, WindowPlacement defaults, ReshapeFunction) {
    // A page has no screen position to give; the canvas takes the size in
    // CSS pixels, cut down to the page's room as a desktop cuts a window to
    // its screen, with as many pixels as the screen shows there.
    const double ratio = emscripten_get_device_pixel_ratio();
    glutInitWindowSize(static_cast<int>(std::lround(std::min(defaults.width, bilijarRoomWidth()) * ratio)),
                       static_cast<int>(std::lround(std::min(defaults.height, bilijarRoomHeight()) * ratio)));
    if (!bilijarHasWebGL()) {
        endWithoutWebGL();
    }
    describePicture();
    bilijarShowWindow();
    glutInit(&argc, argv);
}

void placeWindowFrame() {
    // The page lays the window out itself.
    if (emscripten_webgl_get_current_context() == 0) {
        endWithoutWebGL();
    }
}

bool reshapeFitsScreen(int, int) {
    return true;  // the page never makes the canvas larger than its room
}

void watchWindow() {}

// What the page calls when the user drags the window's corner, or the
// screen's pixel density changes: the canvas becomes width by height pixels,
// and GLUT reshapes and redraws it. (The page's close button calls exit(0),
// as freeglut does on the desktop.)
extern "C" EMSCRIPTEN_KEEPALIVE void bilijarResizeWindow(int width, int height) {
    glutReshapeWindow(width, height);
}
