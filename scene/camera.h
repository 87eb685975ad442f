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
// becomes 1, so the eye is never in the plane it looks at. At the ends of
// the float range the eye distance is kept between about 2e-31 and a quarter
// of the largest float (a lone point near 0 or near the largest float), so
// that GL's single-precision arithmetic can still place the scene.
Camera cameraFromBox(Point boxMin, Point boxMax);

// The projection for a window of width by height pixels that shows the
// whole box, centred, with a margin. A height below 1 is taken as 1 for the
// viewport and the aspect; a width below 1 is taken as 1 for the aspect only
// (the viewport keeps it), so the aspect is always finite and positive.
// The field of view is 45 degrees unless the box needs more to fit both
// vertically and horizontally, with a 5 % margin and at least 3 pixels
// between the box and the window's edge for the 4-pixel squares drawn at
// its vertices; a box that is not finite is left at 45.
// The depth range is [1, 1000] whenever the plane z = 0 lies well inside
// it, otherwise [eyeDistance / 2, 2 eyeDistance]: both ends are positive,
// normal, finite floats with the plane strictly between them.
Projection projectionFor(Camera camera, Point boxMin, Point boxMax, int width, int height);
