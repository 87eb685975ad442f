#pragma once

#include "records.h"

// How two segments meet.
enum : int {
    segmentsApart = 0,    // no contact, parallel on different lines, or
                          // collinear without overlap
    segmentsCross = 1,    // one crossing point, written to crossing
    segmentsOverlap = 2,  // on one line (within the tolerance) and overlapping
};

// Relative tolerance of the parallel and collinear tests: it multiplies
// products of squared lengths, so the tests compare sines of angles (about
// 0.0032) and never a length with an absolute epsilon.
constexpr float intersectTolerance = 0.00001f;

// Classifies how first and second meet and returns one of the codes above.
// Only for segmentsCross is crossing written (x and y), as the point on the
// first segment; otherwise it keeps what it held.
// - A coordinate that is not a number gives segmentsApart.
// - A zero-length first segment is always treated as collinear and compared
//   on y; a zero-length second one is parallel to everything.
// - Collinear overlap is half-open: the first segment ending exactly where
//   the second starts does not overlap it, the reverse does.
int intersectSegments(Segment first, Segment second, Point& crossing);
