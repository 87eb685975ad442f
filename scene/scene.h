#pragma once

#include <list>

#include "records.h"

// The program's one piece of global state: what the window draws, and the
// box that bounds it. The simulation only appends; the viewer only reads.
//
// The box starts inverted, from (640, 480) to (0, 0), and only ever moves
// outwards, so it always contains those two values as well as every
// coordinate added.
extern Point sceneMin;
extern Point sceneMax;
extern std::list<Point> scenePoints;
extern std::list<Segment> sceneSegments;
extern std::list<Line> sceneLines;
extern std::list<Circle> sceneCircles;

// Puts the scene back in the state that the program starts in: the box from
// (640, 480) to (0, 0) and empty lists. The program itself never needs to;
// tests and fuzz targets start each case from there.
void resetScene();

// Appends a copy of p with its colour replaced by color, and grows the box.
void addPoint(Point p, ColorCode color);

// Appends a copy of s with its own colour replaced by color (its end points
// keep theirs) and grows the box by start, then end. Adds no points.
void addSegment(Segment s, ColorCode color);
