#include "viewer.h"

#include <GL/glut.h>
#include <cmath>
#include <cstring>
#ifdef _WIN32
#ifdef GLUT_DISABLE_ATEXIT_HACK
#error "glutInit and glutCreateWindow must hand GLUT this program's exit"
#endif
// freeglut for Windows parses -geometry with its own copy of Xlib's
// XParseGeometry, which its static library holds and no header declares.
extern "C" int XParseGeometry(const char* string, int* x, int* y, unsigned int* width, unsigned int* height);
constexpr int WidthValue = 0x0004;
constexpr int HeightValue = 0x0008;
#else
#include <X11/Xutil.h>
#endif

#include "camera.h"
#include "color.h"
#include "scene.h"

namespace {

constexpr int windowWidth = 640;
constexpr int windowHeight = 480;
constexpr int windowX = 100;
constexpr int windowY = 50;
constexpr float pointSize = 4.0f;

// Circles are drawn as closed loops of this many vertices; the step is the
// double nearest 2 pi / 100.
constexpr int circleVertices = 100;
constexpr double circleStep = 0.06283185307179587;
// A line is drawn as the segment this many direction vectors to either side
// of its origin.
constexpr float lineReach = 100.0f;

void drawCircles() {
    for (const Circle& circle : sceneCircles) {
        setColor(circle.color);
        glBegin(GL_LINE_LOOP);
        for (int i = 0; i < circleVertices; ++i) {
            const double angle = i * circleStep;
            glVertex2f(
                static_cast<float>(circle.center.x + static_cast<double>(circle.radius) * std::cos(angle)),
                static_cast<float>(circle.center.y + static_cast<double>(circle.radius) * std::sin(angle)));
        }
        glEnd();
    }
}

void drawLines() {
    for (const Line& line : sceneLines) {
        setColor(line.color);
        glBegin(GL_LINES);
        glVertex2f(line.origin.x + lineReach * line.direction.x,
                   line.origin.y + lineReach * line.direction.y);
        glVertex2f(line.origin.x - lineReach * line.direction.x,
                   line.origin.y - lineReach * line.direction.y);
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

// Whether the command line holds no -geometry option, or one that gives
// both the width and the height (WxH, WxH+X+Y), as X parses it. GLUT takes
// the last of several.
bool geometryGivesSize(int argc, char** argv) {
    bool sizeGiven = true;
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::strcmp(argv[i], "-geometry") == 0) {
            int x = 0;
            int y = 0;
            unsigned int width = 0;
            unsigned int height = 0;
            const int given = XParseGeometry(argv[++i], &x, &y, &width, &height);
            sizeGiven = (given & (WidthValue | HeightValue)) == (WidthValue | HeightValue);
        }
    }
    return sizeGiven;
}

}  // namespace

void startViewer(int argc, char** argv) {
    // The window's size and place are only defaults: set before glutInit,
    // GLUT's -geometry option overrides them.
    glutInitWindowSize(windowWidth, windowHeight);
    glutInitWindowPosition(windowX, windowY);
    const bool sizeGiven = geometryGivesSize(argc, argv);
    int glutArgc = argc;  // GLUT's copy: it may take its own options out
    // Where GLUT has exit-hook entry points (freeglut on Windows), its header
    // maps glutInit and glutCreateWindow to __glutInitWithExit and
    // __glutCreateWindowWithExit with this program's exit, so that closing
    // the window ends the process through exit and the at-exit clean-up runs.
    glutInit(&glutArgc, argv);
    // freeglut takes a size even from a -geometry that gives none, such as
    // +40+30, and then cannot create the window; the default size stays.
    if (!sizeGiven) {
        glutInitWindowSize(windowWidth, windowHeight);
    }
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
    // Closing the window makes freeglut call exit(0) from inside the loop.
    glutMainLoop();
}

void onDisplay() {
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
    // The scene does not change while the viewer runs, so this is the camera
    // that start-up put into the model-view matrix.
    const Camera camera = cameraFromBox(sceneMin, sceneMax);
    const Projection projection = projectionFor(camera, sceneMin, sceneMax, width, height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glViewport(0, 0, projection.viewportWidth, projection.viewportHeight);
    gluPerspective(projection.fovy, projection.aspect, projection.zNear, projection.zFar);
}
