#include "wall_hit.h"

#include <cmath>
#include <cstdio>

#include "coordinate_text.h"
#include "intersect.h"
#include "scene.h"
#include "transform.h"

namespace {

// a + 0.01 is summed in double and stored once as float; the near ends sit
// at the float nearest -0.01.
float beyond(int side) {
    return static_cast<float>(static_cast<double>(side) + wallOverhang);
}
constexpr float overhangStart = static_cast<float>(-wallOverhang);

// A corner or a single wall that a step may reach.
struct Target {
    const char* label;  // the trace's choice line
    int walls[2];       // indices of the walls it lies on; a single wall names its own twice
    int cornerNumber;   // 0 for a single wall
    Point position;     // where the ball lands
    float angle;        // what the step returns for the reflection
};

// Angle between the horizontal wall's direction and the probe's, 0 to 180.
float probeAngle(const Segment& horizontalWall, const Segment& probe) {
    const Point wallDirection(
        static_cast<float>(static_cast<double>(horizontalWall.end.x) - horizontalWall.start.x),
        static_cast<float>(static_cast<double>(horizontalWall.end.y) - horizontalWall.start.y));
    const Point probeDirection(static_cast<float>(static_cast<double>(probe.end.x) - probe.start.x),
                               static_cast<float>(static_cast<double>(probe.end.y) - probe.start.y));
    return std::fabs(angleBetween(wallDirection, probeDirection));
}

}  // namespace

void buildWalls(int a, int b, Segment walls[4]) {
    const float fa = static_cast<float>(a);
    const float fb = static_cast<float>(b);
    walls[0] = Segment(Point(overhangStart, 0.0f), Point(beyond(a), 0.0f));
    walls[1] = Segment(Point(fa, overhangStart), Point(fa, beyond(b)));
    walls[2] = Segment(Point(overhangStart, fb), Point(beyond(a), fb));
    walls[3] = Segment(Point(0.0f, overhangStart), Point(0.0f, beyond(b)));
}

float wallHitStep(int a, int b, int& cornerNumber, Segment probe, Point& ballPosition, bool& wall1,
                  bool& wall2, bool& wall3, bool& wall4, bool& cornerHit) {
    Segment walls[4];
    buildWalls(a, b, walls);
    for (const Segment& wall : walls) {
        addSegment(wall, colorBlack);
    }

    int result[4];
    Point hit[4];
    for (int i = 0; i < 4; ++i) {
        result[i] = intersectSegments(probe, walls[i], hit[i]);
    }
    std::printf("\n\n<<%s,%s/%s,%s/>>\n", coordinateText(probe.start.x).text,
                coordinateText(probe.start.y).text, coordinateText(probe.end.x).text,
                coordinateText(probe.end.y).text);
    std::printf("<<<<<%d %d %d %d/>>>>>\n", result[0], result[1], result[2], result[3]);

    cornerHit = false;
    cornerNumber = 0;

    bool* flags[4] = {&wall1, &wall2, &wall3, &wall4};
    // A wall is reachable when the probe properly crosses it and the ball is
    // not on it already; a probe along a wall (result 2) reaches nothing.
    bool reachable[4];
    for (int i = 0; i < 4; ++i) {
        reachable[i] = result[i] == segmentsCross && !*flags[i];
    }

    const float fa = static_cast<float>(a);
    const float fb = static_cast<float>(b);
    // At a corner the reflection turns by the probe's angle to the bottom
    // wall minus 90 (corners 1 and 4) or by 90 minus its angle to the top wall
    // (corners 2 and 3). A single wall mirrors across its normal: the
    // vertical (90) for the horizontal walls 1 and 3, the horizontal (0) for
    // walls 2 and 4.
    const float bottomCornerAngle =
        static_cast<float>(static_cast<double>(probeAngle(walls[0], probe)) - 90.0);
    const float topCornerAngle = static_cast<float>(90.0 - probeAngle(walls[2], probe));
    // Everything a step may reach, in the order it prefers them: the corners,
    // then the single walls, each in numbering order. The first row whose
    // walls are all reachable is taken; when there is none, nothing moves.
    const Target targets[] = {
        {"1,2\n", {0, 1}, 1, Point(fa, 0.0f), bottomCornerAngle},
        {"2,3\n", {1, 2}, 2, Point(fa, fb), topCornerAngle},
        {"3,4\n", {2, 3}, 3, Point(0.0f, fb), topCornerAngle},
        {"4,1\n", {3, 0}, 4, Point(0.0f, 0.0f), bottomCornerAngle},
        {"1\n", {0, 0}, 0, hit[0], 90.0f},
        {"2\n", {1, 1}, 0, hit[1], 0.0f},
        {"3\n", {2, 2}, 0, hit[2], 90.0f},
        {"4\n", {3, 3}, 0, hit[3], 0.0f},
    };
    for (const Target& target : targets) {
        if (reachable[target.walls[0]] && reachable[target.walls[1]]) {
            ballPosition.x = target.position.x;
            ballPosition.y = target.position.y;
            for (int k = 0; k < 4; ++k) {
                *flags[k] = k == target.walls[0] || k == target.walls[1];
            }
            cornerHit = target.cornerNumber != 0;
            cornerNumber = target.cornerNumber;
            std::printf("%s", target.label);
            std::printf("%d %d %d %d\n", wall1, wall2, wall3, wall4);
            std::printf("(%s,%s)\n", coordinateText(ballPosition.x).text,
                        coordinateText(ballPosition.y).text);
            return target.angle;
        }
    }
    std::printf("Prolaz\n");
    return 0.0f;
}
