#pragma once

#include "records.h"

// Where the viewer puts the vertices of circles and lines, kept free of GL
// so that it can be checked without a display. Angles run counter-clockwise
// from +x, with y upwards.

// Circles are drawn as closed loops of this many vertices.
constexpr int circleVertices = 100;

// Vertex i of circle's loop: centre + radius × (cos, sin) of i steps of the
// double nearest 2π / 100, summed in double and rounded once to float.
// Vertex 0 is the rightmost point; a radius of 0 puts every vertex on the
// centre.
Point circleVertex(Circle circle, int i);

// The segment drawn for line: from origin + 100 × direction to
// origin - 100 × direction, worked in float. A zero direction gives a
// segment of length 0 at the origin.
Segment lineEnds(Line line);
