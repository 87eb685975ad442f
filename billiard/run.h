#pragma once

#include "records.h"
#include "wall_hit.h"

// Capacity of a run's path: the start point plus one point per step.
constexpr int maxPathPoints = 100;
// n bounces take n + 1 steps and record n + 2 points.
constexpr int maxBounceCount = maxPathPoints - 2;

// True when 0 <= p.x <= a and 0 <= p.y <= b, sides included, compared
// exactly; a coordinate that is not a number is outside.
bool isInsideRectangle(int a, int b, Point p);

// The walls a start point lies on; the first matching rule wins, so a
// corner sets both of its walls and (0, 0) of a 0-wide table is corner 1.
// x is compared with a as a float, y with b as an exact integer value.
WallFlags startWallFlags(int a, int b, Point start);

// Runs the billiard: enters the start point into the scene, rejects one
// outside the rectangle ("Tacka nije u pravougaoniku!"), prints the
// start-wall flags, makes bounceCount + 1 steps with their trace, and adds
// the path to the scene (the red legs, then the blue first leg). A count
// outside 0 to maxBounceCount is limited to that range, so the path never
// overflows.
void runBilliard(int a, int b, Point startPoint, Point ballDirection, int bounceCount);
