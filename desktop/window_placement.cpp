#include "window_system.h"

#include <GL/glut.h>
#include <algorithm>
#include <cstring>

#include "screen.h"
#ifdef _WIN32
// The project's GLUT settings are the same for every file: this glutInit
// and the viewer's glutCreateWindow both hand GLUT this program's exit.
#ifdef GLUT_DISABLE_ATEXIT_HACK
#error "glutInit and glutCreateWindow must hand GLUT this program's exit"
#endif
// freeglut for Windows parses -geometry with its own copy of Xlib's
// XParseGeometry, which its static library holds and no header declares.
extern "C" int XParseGeometry(const char* string, int* x, int* y, unsigned int* width, unsigned int* height);
// Its result's bits, as Xlib's header gives them.
constexpr int XValue = 0x0001;
constexpr int YValue = 0x0002;
constexpr int WidthValue = 0x0004;
constexpr int HeightValue = 0x0008;
constexpr int XNegative = 0x0010;
constexpr int YNegative = 0x0020;
#else
#include <X11/Xutil.h>
#endif

namespace {

// The last -geometry option of the command line (GLUT takes the last of
// several), as X parses it.
struct PlacementOption {
    bool given = false;
    int mask = 0;  // XParseGeometry's flags
    int x = 0;
    int y = 0;
    unsigned int width = 0;
    unsigned int height = 0;
};

PlacementOption lastPlacementOption(int argc, char** argv) {
    PlacementOption option;
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::strcmp(argv[i], "-geometry") == 0) {
            option = PlacementOption();
            option.given = true;
            option.mask = XParseGeometry(argv[++i], &option.x, &option.y, &option.width, &option.height);
        }
    }
    return option;
}

// Whether the option gives both the width and the height (WxH, WxH+X+Y);
// no option counts as giving them, since the defaults stand.
bool givesSize(const PlacementOption& option) {
    return !option.given || (option.mask & (WidthValue | HeightValue)) == (WidthValue | HeightValue);
}

// A window larger than its screen cannot be seen whole, and one tens of
// thousands of pixels wide makes the GL driver allocate gigabytes for its
// buffers, which Mesa's software renderer does not survive. A size beyond
// the screen is cut down to the screen's, after glutInit has opened the
// display; a place counted from the right or bottom edge (-X, -Y) is then
// worked again from the new size, as GLUT works it.
void fitSizeToScreen(const PlacementOption& option) {
    const ScreenSize screen = currentScreenSize();
    const auto screenWidth = static_cast<unsigned int>(screen.width);
    const auto screenHeight = static_cast<unsigned int>(screen.height);
    if (!givesSize(option) || (option.width <= screenWidth && option.height <= screenHeight)) {
        return;
    }
    const int width = static_cast<int>(std::min(option.width, screenWidth));
    const int height = static_cast<int>(std::min(option.height, screenHeight));
    glutInitWindowSize(width, height);
    if ((option.mask & (XValue | YValue)) == (XValue | YValue)) {
        const int x = (option.mask & XNegative) ? option.x + static_cast<int>(screenWidth) - width : option.x;
        const int y =
            (option.mask & YNegative) ? option.y + static_cast<int>(screenHeight) - height : option.y;
        glutInitWindowPosition(x, y);
    }
}

// The viewer's reshape, called here for a size that the window keeps.
ReshapeFunction viewerReshape = nullptr;

// Whether the place given was counted from the right or the bottom edge.
bool placedFromRight = false;
bool placedFromBottom = false;

bool beyondScreen(ScreenSize screen, int width, int height) {
    return width > screen.width || height > screen.height;
}

// A window manager may keep a window beyond the screen when the program
// asks for the cut (a maximized window, for one). No reshape follows then,
// and the window would show what was there before for ever. So a cut is
// checked cutWait milliseconds after it is asked for; a window that still
// has a size beyond the screen then is drawn at that size after all, as long
// as it is no more than keptLimit times the screen's width and height,
// which the GL driver's buffers bear.
constexpr unsigned int cutWait = 400;
constexpr int keptLimit = 2;
bool cutPending = false;
int keptWidth = -1;  // the size beyond the screen that the window manager kept
int keptHeight = -1;

bool kept(int width, int height) {
    return width == keptWidth && height == keptHeight;
}

void checkCutTaken(int) {
    cutPending = false;
    const ScreenSize screen = currentScreenSize();
    const int width = glutGet(GLUT_WINDOW_WIDTH);
    const int height = glutGet(GLUT_WINDOW_HEIGHT);
    if (!beyondScreen(screen, width, height) || kept(width, height) || width > keptLimit * screen.width ||
        height > keptLimit * screen.height) {
        return;  // cut: its reshape draws it; or too large to draw
    }
    keptWidth = width;
    keptHeight = height;
    viewerReshape(width, height);
    glutPostRedisplay();
}

}  // namespace

void startWindowSystem(int& argc, char** argv, WindowPlacement defaults, ReshapeFunction reshape) {
    viewerReshape = reshape;
    // Set before glutInit, the size and place are defaults that GLUT's
    // -geometry option overrides.
    glutInitWindowSize(defaults.width, defaults.height);
    glutInitWindowPosition(defaults.x, defaults.y);
    const PlacementOption option = lastPlacementOption(argc, argv);
    placedFromRight = (option.mask & (XValue | XNegative)) == (XValue | XNegative);
    placedFromBottom = (option.mask & (YValue | YNegative)) == (YValue | YNegative);
    // Where GLUT has exit-hook entry points (freeglut on Windows), its header
    // maps glutInit and glutCreateWindow to __glutInitWithExit and
    // __glutCreateWindowWithExit with this program's exit, so that closing
    // the window ends the process through exit and the at-exit clean-up runs.
    glutInit(&argc, argv);
    // freeglut takes a size even from a -geometry that gives none, such as
    // +40+30, and then cannot create the window; the default size stays.
    if (!givesSize(option)) {
        glutInitWindowSize(defaults.width, defaults.height);
    }
    fitSizeToScreen(option);
}

void placeWindowFrame() {
    placeFrameCorner(placedFromRight, placedFromBottom);
}

// Another client may resize the window beyond the screen (XResizeWindow),
// as -geometry may ask. The GL driver sizes its buffers to the window when
// the viewport is set, and Mesa's software renderer does not survive buffers
// for such a window, or spends many seconds on each picture. So no GL state
// is set up for a window beyond the screen: it is asked back to the screen's
// size instead. The screen is the one there is now, which may have grown or
// shrunk since the start. A reshape's size may be out of date by then, so the
// size that counts is the window's own (glutGet asks the window system); each
// change of it brings a reshape of its own.
bool reshapeFitsScreen(int width, int height) {
    const ScreenSize screen = currentScreenSize();
    const int windowWidth = glutGet(GLUT_WINDOW_WIDTH);
    const int windowHeight = glutGet(GLUT_WINDOW_HEIGHT);
    if (beyondScreen(screen, windowWidth, windowHeight) && !kept(windowWidth, windowHeight)) {
        glutReshapeWindow(std::min(windowWidth, screen.width), std::min(windowHeight, screen.height));
        if (!cutPending) {
            cutPending = true;
            glutTimerFunc(cutWait, checkCutTaken, 0);
        }
        return false;
    }
    // Out of date: the window is smaller already.
    return !beyondScreen(screen, width, height) || kept(width, height);
}
