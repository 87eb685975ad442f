#pragma once

#include "records.h"

// The probe is this many direction vectors long.
constexpr float rayLength = 20.0f;

// Builds the probe from start to start + rayLength × direction; each end
// coordinate is the product plus the start, rounded to float once; a NaN
// direction component becomes the end coordinate as it is, sign included.
Segment makeProbe(Point start, Point direction);

// Turns the ball after a step and rebuilds the probe from the hit point.
// Ordinary hit: the position before the step (probe->start) is mirrored at
// the hit point with hitAngle, and the new direction runs from the hit point
// to that image, so it is as long as the last stretch. Corner hit: the far
// end of the bottom (corners 1, 4) or top (corners 2, 3) wall is turned
// about the corner by hitAngle, giving a direction of length a. A hit point
// equal to the previous position gives a zero direction.
void reflectDirection(Segment& probe, Point& ballDirection, Point ballPosition, float hitAngle,
                      bool cornerHit, int cornerNumber, int a, int b);
