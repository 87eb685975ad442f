#pragma once

#include "records.h"

// The viewer's camera arithmetic, kept free of GL so that it can be checked
// without a display.
//
// Conventions: the scene lies in the plane z = 0 with x to the right and y
// upwards. The eye sits at (centerX, centerY, eyeDistance) and looks straight
// down the negative z axis with y up, so the plane is eyeDistance in front of
// it. Fields of view are vertical and in degrees; aspect is width / height.

struct Camera {
    float centerX = 0.0f;
    float centerY = 0.0f;
    float eyeDistance = 1.0f;
};

// What a reshape hands to glViewport and gluPerspective.
struct Projection {
    int viewportWidth = 0;
    int viewportHeight = 1;
    double fovy = 45.0;
    double aspect = 1.0;
    double zNear = 1.0;
    double zFar = 1000.0;
};

// The camera aimed at the box from boxMin to boxMax (the box may be
// inverted, as the empty scene's is). The centre is the box's midpoint;
// with W = |boxMin.x| + boxMax.x and H = |boxMin.y| + boxMax.y the eye
// distance is W when 2W > H, otherwise H. Sums, W, H and the comparison are
// worked in double; the results are rounded once to float.
// Degenerate boxes: a centre coordinate that is not finite (only an infinite
// coordinate in the box gives one) becomes 0, and an eye distance that is not
// a positive finite number (a box that is the single point (0, 0) gives 0)
// becomes 1, so the eye is never in the plane it looks at.
Camera cameraFromBox(Point boxMin, Point boxMax);

// The projection for a window of width by height pixels that shows the
// whole box, centred, with a margin. A height below 1 is taken as 1 for the
// viewport and the aspect; a width below 1 is taken as 1 for the aspect only
// (the viewport keeps it), so the aspect is always finite and positive.
// The field of view is 45 degrees unless the box needs more to fit both
// vertically and horizontally; a box that is not finite is left at 45.
// The depth range is [min(1, eyeDistance / 2), max(1000, 2 eyeDistance)], so
// the plane z = 0 always lies strictly inside it.
Projection projectionFor(Camera camera, Point boxMin, Point boxMax, int width, int height);
