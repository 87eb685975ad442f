#include "scene.h"

namespace {

// The box's corners at the start: inverted, so that the first coordinate
// added moves them (and the box always contains these two values).
constexpr Point startMin(640.0f, 480.0f);
constexpr Point startMax(0.0f, 0.0f);

// Strict comparisons: a coordinate equal to a corner leaves it unchanged.
void growBox(Point p) {
    if (p.x < sceneMin.x) {
        sceneMin.x = p.x;
    }
    if (p.y < sceneMin.y) {
        sceneMin.y = p.y;
    }
    if (p.x > sceneMax.x) {
        sceneMax.x = p.x;
    }
    if (p.y > sceneMax.y) {
        sceneMax.y = p.y;
    }
}

}  // namespace

// Defined in this order in one file, so they are constructed in this order
// before main and destroyed in the reverse order at exit.
Point sceneMin = startMin;
Point sceneMax = startMax;
std::list<Point> scenePoints;
std::list<Segment> sceneSegments;
std::list<Line> sceneLines;
std::list<Circle> sceneCircles;

void resetScene() {
    sceneMin = startMin;
    sceneMax = startMax;
    scenePoints.clear();
    sceneSegments.clear();
    sceneLines.clear();
    sceneCircles.clear();
}

void addPoint(Point p, ColorCode color) {
    p.color = color;
    scenePoints.push_back(p);
    growBox(p);
}

void addSegment(Segment s, ColorCode color) {
    s.color = color;
    sceneSegments.push_back(s);
    growBox(s.start);
    growBox(s.end);
}
