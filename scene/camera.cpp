#include "camera.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "transform.h"

namespace {

// Field of view kept whenever the box fits in it.
constexpr double defaultFovy = 45.0;
// Depth range kept whenever it holds the plane z = 0 (see holdsPlane).
constexpr double defaultNear = 1.0;
constexpr double defaultFar = 1000.0;
// GL works out depth in single precision. A plane kept this far inside the
// depth range, in normalised device coordinates, stays over a hundred float
// steps away from either clipping plane.
constexpr double depthLimit = 1.0 - 1.0 / 65536.0;
// The box's half extents are widened by 5 % before fitting, so nothing is
// drawn right on the window's edge.
constexpr double framingMargin = 1.05;
// Points and segment ends are 4-pixel squares that reach 2 pixels beyond
// their vertex; one pixel more keeps them off the window's outermost row
// and column.
constexpr double edgeClearancePixels = 3.0;
// Eye distance for a box that gives none (a single point at the origin).
constexpr float fallbackEyeDistance = 1.0f;
// Bounds of the eye distance. GL may flush coordinates below the smallest
// normal float to zero; from 2^24 times that distance, no such error moves
// anything by a visible part of the view. Below the upper bound there is
// room for a far plane at twice the distance, which stays a finite float.
constexpr float minEyeDistance = std::numeric_limits<float>::min() * 16777216.0f;
constexpr float maxEyeDistance = std::numeric_limits<float>::max() / 4.0f;

// 180/π, the same double as the geometry's conversion. Only the field of
// view is worked out with it, so it sets pixels, never the trace.
constexpr double degreesPerRadian = 180.0 / pi;

// Distance from centre to the farther of the two edges lo and hi.
double halfExtent(double centre, double lo, double hi) {
    return std::max(std::fabs(hi - centre), std::fabs(centre - lo));
}

// Pixels from the window's centre towards an edge halfPixels away that the
// box may fill: the 5 % margin, and room for the squares at the box's edge.
// A window too small for both still shows the box on half of it.
double usablePixels(double halfPixels) {
    const double withMargin = halfPixels / framingMargin;
    const double clear = halfPixels - edgeClearancePixels;
    return std::max(std::min(withMargin, clear), withMargin / 2.0);
}

// Whether the plane z = 0, seen from eye, lies within depthLimit of the
// middle of the depth range that gluPerspective makes of zNear and zFar.
bool holdsPlane(double zNear, double zFar, double eye) {
    const double depth = (zFar + zNear) / (zFar - zNear) - 2.0 * zFar * zNear / ((zFar - zNear) * eye);
    return std::fabs(depth) <= depthLimit;
}

}  // namespace

Camera cameraFromBox(Point boxMin, Point boxMax) {
    const double w = std::fabs(static_cast<double>(boxMin.x)) + boxMax.x;
    const double h = std::fabs(static_cast<double>(boxMin.y)) + boxMax.y;
    Camera camera;
    camera.centerX = static_cast<float>((static_cast<double>(boxMax.x) + boxMin.x) * 0.5);
    camera.centerY = static_cast<float>((static_cast<double>(boxMax.y) + boxMin.y) * 0.5);
    camera.eyeDistance = static_cast<float>(2.0 * w > h ? w : h);

    if (!std::isfinite(camera.centerX)) {
        camera.centerX = 0.0f;
    }
    if (!std::isfinite(camera.centerY)) {
        camera.centerY = 0.0f;
    }
    if (!(std::isfinite(camera.eyeDistance) && camera.eyeDistance > 0.0f)) {
        camera.eyeDistance = fallbackEyeDistance;
    }
    camera.eyeDistance = std::clamp(camera.eyeDistance, minEyeDistance, maxEyeDistance);
    return camera;
}

Projection projectionFor(Camera camera, Point boxMin, Point boxMax, int width, int height) {
    Projection projection;
    projection.viewportWidth = width;
    projection.viewportHeight = std::max(height, 1);
    projection.aspect = static_cast<double>(std::max(width, 1)) / projection.viewportHeight;

    const double eye = camera.eyeDistance;
    projection.zNear = defaultNear;
    projection.zFar = defaultFar;
    if (!holdsPlane(defaultNear, defaultFar, eye)) {
        projection.zNear = eye / 2.0;
        projection.zFar = eye * 2.0;
    }

    // At distance eye, a field of view fovy shows eye * tan(fovy / 2) above
    // and below the centre: at tan(fovy / 2) = t, a unit of the plane is
    // halfHeightPixels / (eye * t) pixels, horizontally as vertically.
    const double halfWidth = halfExtent(camera.centerX, boxMin.x, boxMax.x);
    const double halfHeight = halfExtent(camera.centerY, boxMin.y, boxMax.y);
    const double halfWidthPixels = std::max(width, 1) / 2.0;
    const double halfHeightPixels = projection.viewportHeight / 2.0;
    const double neededTan = std::max(halfHeight * halfHeightPixels / usablePixels(halfHeightPixels),
                                      halfWidth * halfHeightPixels / usablePixels(halfWidthPixels)) /
                             eye;
    projection.fovy = defaultFovy;
    if (std::isfinite(neededTan)) {
        projection.fovy = std::max(defaultFovy, 2.0 * std::atan(neededTan) * degreesPerRadian);
    }
    return projection;
}
