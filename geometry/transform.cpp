#include "transform.h"

#include <algorithm>
#include <cmath>

namespace {

// The degree conversions made from π, each rounded once to double
// (1/180 = 0.005555555555555556, π/180 = 0.017453292519943295,
// 180/π = 57.29577951308232).
//
// The trace depends on the floats made with them: each angle in radians is
// rounded to float before its cosine and sine are taken, and angleBetween's
// result is rounded to float. The two ways degrees become radians here,
// ψ × π × (1/180) in mirrorMatrix and ψ × (π/180) in rotationMatrix, differ
// in the double's last bit for about a quarter of all angles; the floats
// were the same for each of 10^7 angles tried, but respelling either one
// may still round some angle the other way and change a digit of the trace.
constexpr double oneOver180 = 1.0 / 180.0;
constexpr double degreesToRadians = pi / 180.0;
constexpr double radiansToDegrees = 180.0 / pi;

Matrix3 translation(float tx, float ty) {
    Matrix3 t;
    t.m[0][0] = 1.0f;
    t.m[1][1] = 1.0f;
    t.m[2][2] = 1.0f;
    t.m[0][2] = tx;
    t.m[1][2] = ty;
    return t;
}

// T(centre) × core × T(-centre), formed as two products into zeroed matrices.
Matrix3 aboutCentre(Point centre, Matrix3 core) {
    Matrix3 moved;
    multiplyMatrix3(translation(centre.x, centre.y), core, &moved);
    Matrix3 result;
    multiplyMatrix3(moved, translation(-centre.x, -centre.y), &result);
    return result;
}

// Applies m to p's coordinates through the lifted column (x, y, 1).
void applyToPoint(Matrix3 m, Point* p) {
    Matrix3 lifted;
    lifted.m[0][0] = p->x;
    lifted.m[1][0] = p->y;
    lifted.m[2][0] = 1.0f;
    Matrix3 image;
    multiplyMatrix3(m, lifted, &image);
    p->x = image.m[0][0];
    p->y = image.m[1][0];
}

}  // namespace

void multiplyMatrix3(Matrix3 left, Matrix3 right, Matrix3* result) {
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < 3; ++c) {
            double sum = result->m[r][c];
            sum += static_cast<double>(left.m[r][0]) * right.m[0][c];
            sum += static_cast<double>(left.m[r][1]) * right.m[1][c];
            sum += static_cast<double>(left.m[r][2]) * right.m[2][c];
            result->m[r][c] = static_cast<float>(sum);
        }
    }
}

Matrix3 mirrorMatrix(Point centre, float angleDegrees) {
    // The mirror line at angle ψ reflects by twice that angle. At 90 degrees
    // (a hit on wall 1 or 3) φ is the float nearest π, whose sine is about
    // -8.7e-8 rather than 0; that residue goes into the new direction.
    const float phi = static_cast<float>(angleDegrees * pi * oneOver180 * 2.0);
    const float c = static_cast<float>(std::cos(static_cast<double>(phi)));
    const float s = static_cast<float>(std::sin(static_cast<double>(phi)));
    Matrix3 core;
    core.m[0][0] = c;
    core.m[0][1] = s;
    core.m[1][0] = -s;
    core.m[1][1] = -c;
    core.m[2][2] = 1.0f;
    return aboutCentre(centre, core);
}

Matrix3 rotationMatrix(Point centre, float angleDegrees) {
    const float phi = static_cast<float>(angleDegrees * degreesToRadians);
    const float c = static_cast<float>(std::cos(static_cast<double>(phi)));
    const float s = static_cast<float>(std::sin(static_cast<double>(phi)));
    Matrix3 core;
    core.m[0][0] = c;
    core.m[0][1] = -s;
    core.m[1][0] = s;
    core.m[1][1] = c;
    core.m[2][2] = 1.0f;
    return aboutCentre(centre, core);
}

void mirrorPoint(Point centre, float angleDegrees, Point* p) {
    applyToPoint(mirrorMatrix(centre, angleDegrees), p);
}

void rotatePoint(Point centre, float angleDegrees, Point* p) {
    applyToPoint(rotationMatrix(centre, angleDegrees), p);
}

float angleBetween(Point u, Point v) {
    const double lengths = std::sqrt(static_cast<double>(u.x) * u.x + static_cast<double>(u.y) * u.y) *
                           std::sqrt(static_cast<double>(v.x) * v.x + static_cast<double>(v.y) * v.y);
    if (lengths == 0.0) {
        return 0.0f;  // no direction to measure against
    }
    const double dot = static_cast<double>(u.x) * v.x + static_cast<double>(u.y) * v.y;
    // Rounding can push the quotient of nearly parallel vectors just past ±1.
    const double cosine = std::clamp(dot / lengths, -1.0, 1.0);
    return static_cast<float>(std::acos(cosine) * radiansToDegrees);
}
