#include "intersect.h"

#include <cmath>
#include <utility>

namespace {

double cross(double gx, double gy, double hx, double hy) {
    return gx * hy - gy * hx;
}

// Orders the end points of the collinear segments along x and tests the
// half-open overlap.
int collinearOverlap(Point p1, Point p2, Point q1, Point q2) {
    // An exactly vertical (or zero-length) first segment is compared on y.
    if (p1.x == p2.x) {
        for (Point* p : {&p1, &p2, &q1, &q2}) {
            std::swap(p->x, p->y);
        }
    }
    if (p1.x > p2.x) {
        std::swap(p1, p2);
    }
    if (q1.x > q2.x) {
        std::swap(q1, q2);
    }
    return (q1.x < p2.x && p1.x <= q2.x) ? segmentsOverlap : segmentsApart;
}

}  // namespace

int intersectSegments(Segment first, Segment second, Point& crossing) {
    const Point p1 = first.start;
    const Point p2 = first.end;
    const Point q1 = second.start;
    const Point q2 = second.end;

    // W and S stay in double; R is stored as float.
    const double wx = static_cast<double>(q1.x) - p1.x;
    const double wy = static_cast<double>(q1.y) - p1.y;
    const float rx = static_cast<float>(static_cast<double>(p2.x) - p1.x);
    const float ry = static_cast<float>(static_cast<double>(p2.y) - p1.y);
    const double sx = static_cast<double>(q2.x) - q1.x;
    const double sy = static_cast<double>(q2.y) - q1.y;

    const float t1 = static_cast<float>(cross(wx, wy, rx, ry));
    const float t2 = static_cast<float>(cross(wx, wy, sx, sy));
    const float d = static_cast<float>(cross(rx, ry, sx, sy));
    const float lr = static_cast<float>(static_cast<double>(rx) * rx + static_cast<double>(ry) * ry);

    // Not parallel when sin² of the angle between R and S exceeds the
    // tolerance; a NaN anywhere also lands here and fails the range tests.
    const double dd = static_cast<double>(d) * d;
    const double parallelBound = (sx * sx + sy * sy) * lr * intersectTolerance;
    if (parallelBound < dd || std::isnan(parallelBound) || std::isnan(dd)) {
        const double u = static_cast<double>(t1) / d;                     // along second
        const float t = static_cast<float>(static_cast<double>(t2) / d);  // along first
        if (u >= 0.0 && u <= 1.0 && t >= 0.0f && t <= 1.0f) {
            crossing.x = static_cast<float>(p1.x + static_cast<double>(t) * rx);
            crossing.y = static_cast<float>(p1.y + static_cast<double>(t) * ry);
            return segmentsCross;
        }
        return segmentsApart;
    }

    // Parallel: is q1 off the first segment's line (sin² of the angle
    // between R and W above the tolerance)?
    const double lineBound = (wx * wx + wy * wy) * lr * intersectTolerance;
    if (lineBound < static_cast<double>(t1) * t1) {
        return segmentsApart;
    }
    return collinearOverlap(p1, p2, q1, q2);
}
