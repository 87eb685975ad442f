#include "viewer.h"

#include <GL/glut.h>

#include "camera.h"
#include "color.h"
#include "scene.h"
#include "vertices.h"
#include "window_system.h"

namespace {

// 640 by 480 at (100, 50), unless the user places the window otherwise.
constexpr WindowPlacement defaultPlacement = {640, 480, 100, 50};
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

// The window size that the viewport and projection were last set up for. A
// window whose size differs has a reshape on the way, with its picture after
// it; drawing before that would draw with the wrong viewport, or into the
// driver's buffers of an earlier size.
int preparedWidth = -1;
int preparedHeight = -1;

bool preparedForWindow() {
    return glutGet(GLUT_WINDOW_WIDTH) == preparedWidth && glutGet(GLUT_WINDOW_HEIGHT) == preparedHeight;
}

}  // namespace

void startViewer(int argc, char** argv) {
    int glutArgc = argc;  // GLUT's copy: it may take its own options out
    startWindowSystem(glutArgc, argv, defaultPlacement, onReshape);
    glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH);
    glutCreateWindow("Bilijar - prikaz");
    placeWindowFrame();
    glClearColor(0.9f, 0.9f, 0.8f, 0.0f);

    // The box is read once here; nothing changes the scene from now on.
    const Camera camera = cameraFromBox(sceneMin, sceneMax);

    // The start-up projection. No picture is made with it: GLUT reshapes
    // the window before its first display, onReshape replaces it, and
    // onDisplay draws nothing before that. It gives the projection a defined
    // value from the moment the window exists, which no picture depends on
    // (so neither does a GLU that composes it otherwise).
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
    watchWindow();
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
    if (!reshapeFitsScreen(width, height)) {
        return;
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
