#include "run.h"

#include <algorithm>
#include <cstdio>

#include "reflect.h"
#include "scene.h"
#include "wall_hit.h"

WallFlags startWallFlags(int a, int b, Point start) {
    const float fa = static_cast<float>(a);
    const bool onRight = start.x == fa;
    const bool onLeft = start.x == 0.0f;
    const bool onBottom = start.y == 0.0f;
    const bool onTop = static_cast<double>(start.y) == static_cast<double>(b);
    WallFlags flags;
    if (onRight && onBottom) {
        flags.wall1 = flags.wall2 = true;
    } else if (onRight && onTop) {
        flags.wall2 = flags.wall3 = true;
    } else if (onLeft && onTop) {
        flags.wall3 = flags.wall4 = true;
    } else if (onLeft) {
        flags.wall4 = true;
        flags.wall1 = onBottom;
    } else if (onBottom) {
        flags.wall1 = true;
    } else if (onRight) {
        flags.wall2 = true;
    } else if (onTop) {
        flags.wall3 = true;
    }
    return flags;
}

bool isInsideRectangle(int a, int b, Point p) {
    // Every int and every float is exact as a double.
    const double x = p.x;
    const double y = p.y;
    return x >= 0.0 && x <= a && y >= 0.0 && y <= b;
}

void runBilliard(int a, int b, Point startPoint, Point ballDirection, int bounceCount) {
    Point pathPoints[maxPathPoints];
    Point ballPosition(startPoint.x, startPoint.y);
    WallFlags flags;
    bool cornerHit = false;
    int cornerNumber = 0;

    addPoint(startPoint, colorBlue);
    if (!isInsideRectangle(a, b, startPoint)) {
        std::printf("Tacka nije u pravougaoniku!\n");
        return;
    }
    flags = startWallFlags(a, b, startPoint);
    std::printf("%d %d %d %d\n\n\n\n\n", flags.wall1, flags.wall2, flags.wall3, flags.wall4);
    Segment probe = makeProbe(startPoint, ballDirection);

    const int bounces = std::clamp(bounceCount, 0, maxBounceCount);
    pathPoints[0].x = startPoint.x;
    pathPoints[0].y = startPoint.y;
    for (int step = 1; step <= bounces + 1; ++step) {
        const float hitAngle = wallHitStep(a, b, cornerNumber, probe, ballPosition, flags.wall1, flags.wall2,
                                           flags.wall3, flags.wall4, cornerHit);
        pathPoints[step].x = ballPosition.x;
        pathPoints[step].y = ballPosition.y;
        reflectDirection(probe, ballDirection, ballPosition, hitAngle, cornerHit, cornerNumber, a, b);
    }

    for (int i = 1; i <= bounces; ++i) {
        addSegment(Segment(pathPoints[i], pathPoints[i + 1]), colorRed);
    }
    // The first leg goes in last, so it is drawn over the others.
    addSegment(Segment(pathPoints[0], pathPoints[1]), colorBlue);
}
