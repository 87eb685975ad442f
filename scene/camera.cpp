#include "camera.h"

#include <algorithm>
#include <cmath>

namespace {

// Field of view kept whenever the box fits in it.
constexpr double defaultFovy = 45.0;
// Depth range kept while the eye is between 2 and 500 units from the plane;
// beyond that it is widened so the plane stays well inside it.
constexpr double defaultNear = 1.0;
constexpr double defaultFar = 1000.0;
// The box's half extents are widened by 5 % before fitting, so nothing is
// drawn right on the window's edge.
constexpr double framingMargin = 1.05;
// Eye distance for a box that gives none (a single point at the origin).
constexpr float fallbackEyeDistance = 1.0f;

constexpr double degreesPerRadian = 180.0 / 3.14159265358979323846;

// Distance from centre to the farther of the two edges lo and hi.
double halfExtent(double centre, double lo, double hi) {
    return std::max(std::fabs(hi - centre), std::fabs(centre - lo));
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
    return camera;
}

Projection projectionFor(Camera camera, Point boxMin, Point boxMax, int width, int height) {
    Projection projection;
    projection.viewportWidth = width;
    projection.viewportHeight = std::max(height, 1);
    projection.aspect = static_cast<double>(std::max(width, 1)) / projection.viewportHeight;

    const double eye = camera.eyeDistance;
    projection.zNear = std::min(defaultNear, eye / 2.0);
    projection.zFar = std::max(defaultFar, eye * 2.0);

    // At distance eye, a field of view fovy shows eye * tan(fovy / 2) above
    // and below the centre, and aspect times that to either side.
    const double halfWidth = halfExtent(camera.centerX, boxMin.x, boxMax.x);
    const double halfHeight = halfExtent(camera.centerY, boxMin.y, boxMax.y);
    const double neededTan = framingMargin * std::max(halfHeight, halfWidth / projection.aspect) / eye;
    projection.fovy = defaultFovy;
    if (std::isfinite(neededTan)) {
        projection.fovy = std::max(defaultFovy, 2.0 * std::atan(neededTan) * degreesPerRadian);
    }
    return projection;
}
