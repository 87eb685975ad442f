#include "vertices.h"

#include <cmath>

#include "transform.h"

namespace {

// The angle between neighbouring vertices of a circle's loop, 2π / 100 in
// radians: the double 0.06283185307179587.
constexpr double circleStep = 2.0 * pi / circleVertices;
static_assert(circleStep == 0.06283185307179587);
// A line is drawn as the segment this many direction vectors to either side
// of its origin.
constexpr float lineReach = 100.0f;

}  // namespace

Point circleVertex(Circle circle, int i) {
    const double angle = i * circleStep;
    return Point(static_cast<float>(circle.center.x + static_cast<double>(circle.radius) * std::cos(angle)),
                 static_cast<float>(circle.center.y + static_cast<double>(circle.radius) * std::sin(angle)));
}

Segment lineEnds(Line line) {
    return Segment(
        Point(line.origin.x + lineReach * line.direction.x, line.origin.y + lineReach * line.direction.y),
        Point(line.origin.x - lineReach * line.direction.x, line.origin.y - lineReach * line.direction.y));
}
