#pragma once

#include "records.h"

// Walls: 1 bottom (y = 0), 2 right (x = a), 3 top (y = b), 4 left (x = 0).
// Corners: 1 = (a, 0) between walls 1 and 2, 2 = (a, b), 3 = (0, b),
// 4 = (0, 0) between walls 4 and 1.

// How far each wall reaches past the rectangle's corners, so that a probe
// through a corner crosses both of its walls despite rounding.
constexpr double wallOverhang = 0.01;

// Which walls the ball lies on because the last move (or the start point)
// put it there. A flagged wall is never taken, nor a corner of it.
struct WallFlags {
    bool wall1 = false;
    bool wall2 = false;
    bool wall3 = false;
    bool wall4 = false;
};

// Builds the four walls of the a by b rectangle, each reaching wallOverhang
// past both ends of its side.
void buildWalls(int a, int b, Segment walls[4]);

// One move of the ball: adds the four walls to the scene, intersects the
// probe with them, prints the step's trace and moves ballPosition to the
// first clear corner or wall that the probe properly crosses (corners before
// walls, each in numbering order). Updates the flags, cornerHit and
// cornerNumber, and returns the angle the reflection works with: 90 for
// walls 1 and 3, 0 for walls 2 and 4, the probe's angle to the horizontal
// minus 90 (corners 1, 4) or 90 minus it (corners 2, 3). When no wall is
// reached ("Prolaz") nothing moves, the flags stay, and the result is 0.
float wallHitStep(int a, int b, int& cornerNumber, Segment probe, Point& ballPosition, bool& wall1,
                  bool& wall2, bool& wall3, bool& wall4, bool& cornerHit);
