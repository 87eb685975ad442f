#include "viewer.h"

#include <GL/glut.h>
#include <algorithm>
#include <cstring>
#ifdef _WIN32
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

#include "camera.h"
#include "color.h"
#include "scene.h"
#include "vertices.h"

namespace {

constexpr int windowWidth = 640;
constexpr int windowHeight = 480;
constexpr int windowX = 100;
constexpr int windowY = 50;
constexpr float pointSize = 4.0f;

void drawCircles() {
    for (const Circle& circle : sceneCircles) {
        setColor(circle.color);
        glBegin(GL_LINE_LOOP);
        for (int i = 0; i < circleVertices; ++i) {
            const Point vertex = circleVertex(circle, i);
            glVertex2f(vertex.x, vertex.y);
        }
        glEnd();
    }
}

void drawLines() {
    for (const Line& line : sceneLines) {
        setColor(line.color);
        const Segment ends = lineEnds(line);
        glBegin(GL_LINES);
        glVertex2f(ends.start.x, ends.start.y);
        glVertex2f(ends.end.x, ends.end.y);
        glEnd();
    }
}

// A segment is its line plus a point at each end, all in the segment's own
// colour (the end points' colours are never drawn).
void drawSegments() {
    for (const Segment& segment : sceneSegments) {
        glPointSize(pointSize);
        setColor(segment.color);
        glBegin(GL_LINES);
        glVertex2f(segment.start.x, segment.start.y);
        glVertex2f(segment.end.x, segment.end.y);
        glEnd();
        glBegin(GL_POINTS);
        glVertex2f(segment.start.x, segment.start.y);
        glVertex2f(segment.end.x, segment.end.y);
        glEnd();
    }
}

void drawPoints() {
    for (const Point& point : scenePoints) {
        setColor(point.color);
        glPointSize(pointSize);
        glBegin(GL_POINTS);
        glVertex2f(point.x, point.y);
        glEnd();
    }
}

// The last -geometry option of the command line (GLUT takes the last of
// several), as X parses it.
struct GeometryOption {
    bool given = false;
    int mask = 0;  // XParseGeometry's flags
    int x = 0;
    int y = 0;
    unsigned int width = 0;
    unsigned int height = 0;
};

GeometryOption lastGeometryOption(int argc, char** argv) {
    GeometryOption option;
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::strcmp(argv[i], "-geometry") == 0) {
            option = GeometryOption();
            option.given = true;
            option.mask = XParseGeometry(argv[++i], &option.x, &option.y, &option.width, &option.height);
        }
    }
    return option;
}

// Whether the option gives both the width and the height (WxH, WxH+X+Y);
// no option counts as giving them, since the defaults stand.
bool givesSize(const GeometryOption& option) {
    return !option.given || (option.mask & (WidthValue | HeightValue)) == (WidthValue | HeightValue);
}

// A window larger than its screen cannot be seen whole, and one tens of
// thousands of pixels wide makes the GL driver allocate gigabytes for its
// buffers, which Mesa's software renderer does not survive. A size beyond
// the screen is cut down to the screen's, after glutInit has opened the
// display; a place counted from the right or bottom edge (-X, -Y) is then
// worked again from the new size, as GLUT works it.
void fitSizeToScreen(const GeometryOption& option) {
    const auto screenWidth = static_cast<unsigned int>(glutGet(GLUT_SCREEN_WIDTH));
    const auto screenHeight = static_cast<unsigned int>(glutGet(GLUT_SCREEN_HEIGHT));
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

// Another client may resize the window beyond the screen (XResizeWindow),
// as -geometry may ask. The GL driver sizes its buffers to the window when
// the viewport is set, and Mesa's software renderer does not survive buffers
// for such a window, or spends many seconds on each picture. So no GL state
// is set up for a window beyond the screen: it is asked back to the screen's
// size instead. A reshape's size may be out of date by then, so the size
// that counts is the window's own (glutGet asks the window system); each
// change of it brings a reshape of its own.
bool beyondScreen(int width, int height) {
    return width > glutGet(GLUT_SCREEN_WIDTH) || height > glutGet(GLUT_SCREEN_HEIGHT);
}

// The window size that the viewport and projection were last set up for. A
// window whose size differs has a reshape on the way, with its picture after
// it; drawing before that would draw with the wrong viewport, or into the
// driver's buffers of an earlier size.
int preparedWidth = -1;
int preparedHeight = -1;

bool preparedForWindow() {
    return glutGet(GLUT_WINDOW_WIDTH) == preparedWidth && glutGet(GLUT_WINDOW_HEIGHT) == preparedHeight;
}

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

void startViewer(int argc, char** argv) {
    // The window's size and place are only defaults: set before glutInit,
    // GLUT's -geometry option overrides them.
    glutInitWindowSize(windowWidth, windowHeight);
    glutInitWindowPosition(windowX, windowY);
    const GeometryOption geometry = lastGeometryOption(argc, argv);
    int glutArgc = argc;  // GLUT's copy: it may take its own options out
    // Where GLUT has exit-hook entry points (freeglut on Windows), its header
    // maps glutInit and glutCreateWindow to __glutInitWithExit and
    // __glutCreateWindowWithExit with this program's exit, so that closing
    // the window ends the process through exit and the at-exit clean-up runs.
    glutInit(&glutArgc, argv);
    // freeglut takes a size even from a -geometry that gives none, such as
    // +40+30, and then cannot create the window; the default size stays.
    if (!givesSize(geometry)) {
        glutInitWindowSize(windowWidth, windowHeight);
    }
    fitSizeToScreen(geometry);
    glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH);
    glutCreateWindow("Bilijar - prikaz");
    glClearColor(0.9f, 0.9f, 0.8f, 0.0f);

    // The box is read once here; nothing changes the scene from now on.
    const Camera camera = cameraFromBox(sceneMin, sceneMax);

    // A first projection for the time before the first reshape, which
    // replaces it with one that fits the window.
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(30.0, 1.0, 1.0, 20.0);
    gluLookAt(camera.centerX, camera.centerY, camera.eyeDistance, camera.centerX, camera.centerY, 0.0, 0.0,
              1.0, 0.0);

    // The eye at (centerX, centerY, eyeDistance) looking down -z; set once.
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslatef(-camera.centerX, -camera.centerY, -camera.eyeDistance);

    glutDisplayFunc(onDisplay);
    glutReshapeFunc(onReshape);
    glutWindowStatusFunc(onWindowStatus);
    // Closing the window makes freeglut call exit(0) from inside the loop.
    glutMainLoop();
}

void onDisplay() {
    if (!preparedForWindow()) {
        return;  // the reshape for the window's present size comes first
    }
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glPushMatrix();
    drawCircles();
    drawLines();
    drawSegments();
    drawPoints();
    glPopMatrix();
    glFlush();
    glutSwapBuffers();
}

void onReshape(int width, int height) {
    const int windowWidth = glutGet(GLUT_WINDOW_WIDTH);
    const int windowHeight = glutGet(GLUT_WINDOW_HEIGHT);
    if (beyondScreen(windowWidth, windowHeight)) {
        glutReshapeWindow(std::min(windowWidth, glutGet(GLUT_SCREEN_WIDTH)),
                          std::min(windowHeight, glutGet(GLUT_SCREEN_HEIGHT)));
        return;
    }
    if (beyondScreen(width, height)) {
        return;  // out of date: the window is smaller already
    }
    // The scene does not change while the viewer runs, so this is the camera
    // that start-up put into the model-view matrix.
    const Camera camera = cameraFromBox(sceneMin, sceneMax);
    const Projection projection = projectionFor(camera, sceneMin, sceneMax, width, height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glViewport(0, 0, projection.viewportWidth, projection.viewportHeight);
    gluPerspective(projection.fovy, projection.aspect, projection.zNear, projection.zFar);
    preparedWidth = width;
    preparedHeight = height;
}
