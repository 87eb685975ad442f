#pragma once

#include "records.h"

// Planar transforms in homogeneous coordinates.
//
// Conventions:
// - Matrix3 is stored row by row and acts on column vectors (x, y, 1): the
//   image of (x, y) is (m[0][0]x + m[0][1]y + m[0][2], m[1][0]x + m[1][1]y + m[1][2]).
//   Translations sit in the third column; the last row stays (0, 0, 1).
// - y points up. Angles cross these interfaces in degrees as floats; only
//   the matrix builders convert to radians. A positive rotation turns
//   counter-clockwise, from +x towards +y.
// - A point's colour is never touched; a centre's colour is ignored.

// π rounded once to double: every angle conversion of the program, and so
// the trace's digits, is made from this one value.
constexpr double pi = 3.141592653589793;

struct Matrix3 {
    float m[3][3] = {};
};

// Adds left × right into *result, entry by entry (each sum rounded to float
// once). Callers that want the plain product zero *result first.
void multiplyMatrix3(Matrix3 left, Matrix3 right, Matrix3* result);

// T(centre) × K × T(-centre) with K rows (cos φ, sin φ), (-sin φ, -cos φ),
// φ = 2 × angle. For 0 this mirrors across the horizontal line through the
// centre, for 90 across the vertical one; other angles give no mirror (45 is
// a quarter turn clockwise).
Matrix3 mirrorMatrix(Point centre, float angleDegrees);

// Counter-clockwise turn by angle degrees about the centre.
Matrix3 rotationMatrix(Point centre, float angleDegrees);

// Replace p->x and p->y by their image under mirrorMatrix / rotationMatrix.
void mirrorPoint(Point centre, float angleDegrees, Point* p);
void rotatePoint(Point centre, float angleDegrees, Point* p);

// The unsigned angle between vectors u and v in degrees, 0 to 180. The cosine
// is clamped into [-1, 1] first, so nearly parallel vectors give 0 or 180
// rather than NaN, and a zero-length vector gives 0.
float angleBetween(Point u, Point v);
