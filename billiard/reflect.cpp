#include "reflect.h"

#include <cmath>

#include "transform.h"

namespace {

// start + rayLength × component, rounded to float once. The sign of a NaN
// that comes out of arithmetic is the machine's choice (x86 and ARM keep the
// operand's, RISC-V makes every such NaN positive, a soft-float conversion
// may drop it), and the trace prints that sign: a NaN component (typed as
// the direction; a start point is never one) is carried into the end as it
// is.
float probeEnd(float start, float component) {
    if (std::isnan(component)) {
        return component;
    }
    return static_cast<float>(static_cast<double>(component) * rayLength + start);
}

}  // namespace

Segment makeProbe(Point start, Point direction) {
    const Point end(probeEnd(start.x, direction.x), probeEnd(start.y, direction.y));
    return Segment(start, end);
}

void reflectDirection(Segment& probe, Point& ballDirection, Point ballPosition, float hitAngle,
                      bool cornerHit, int cornerNumber, int a, int b) {
    if (!cornerHit) {
        // The position before the step, mirrored at the hit point.
        Point image(probe.start.x, probe.start.y);
        mirrorPoint(ballPosition, hitAngle, &image);
        ballDirection = Point(static_cast<float>(static_cast<double>(image.x) - ballPosition.x),
                              static_cast<float>(static_cast<double>(image.y) - ballPosition.y));
    } else {
        const float fa = static_cast<float>(a);
        const float fb = static_cast<float>(b);
        // The turn is about the corner; the point turned is the other end of
        // the horizontal side that starts there.
        Point corner(probe.start.x, probe.start.y);  // kept for a number that names no corner
        Point farEnd;
        switch (cornerNumber) {
            case 1:
                corner = Point(fa, 0.0f);
                farEnd = Point(0.0f, 0.0f);
                break;
            case 2:
                corner = Point(fa, fb);
                farEnd = Point(0.0f, fb);
                break;
            case 3:
                corner = Point(0.0f, fb);
                farEnd = Point(fa, fb);
                break;
            case 4:
                corner = Point(0.0f, 0.0f);
                farEnd = Point(fa, 0.0f);
                break;
            default:
                break;  // not produced by the step; turns the origin about the old position
        }
        rotatePoint(corner, hitAngle, &farEnd);
        ballDirection = Point(static_cast<float>(static_cast<double>(farEnd.x) - corner.x),
                              static_cast<float>(static_cast<double>(farEnd.y) - corner.y));
    }
    // The probe keeps its own colour; only its two points are replaced.
    probe.start = ballPosition;
    probe.end = makeProbe(probe.start, ballDirection).end;
}
