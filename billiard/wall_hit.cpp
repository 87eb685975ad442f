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

struct Choice {
    const char* label;
    Point position;
    bool flags[4];
    int cornerNumber;  // 0 for a single wall
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
    const Choice corners[4] = {
        {"1,2\n", Point(fa, 0.0f), {true, true, false, false}, 1},
        {"2,3\n", Point(fa, fb), {false, true, true, false}, 2},
        {"3,4\n", Point(0.0f, fb), {false, false, true, true}, 3},
        {"4,1\n", Point(0.0f, 0.0f), {true, false, false, true}, 4},
    };

    const Choice* taken = nullptr;
    Choice single{};
    float angle = 0.0f;
    for (int i = 0; i < 4 && taken == nullptr; ++i) {
        if (reachable[i] && reachable[(i + 1) % 4]) {
            taken = &corners[i];
            cornerHit = true;
            cornerNumber = corners[i].cornerNumber;
            // Corners 1 and 4 lie on the bottom wall, 2 and 3 on the top one.
            if (cornerNumber == 1 || cornerNumber == 4) {
                angle = static_cast<float>(static_cast<double>(probeAngle(walls[0], probe)) - 90.0);
            } else {
                angle = static_cast<float>(90.0 - probeAngle(walls[2], probe));
            }
        }
    }
    static const char* const wallLabels[4] = {"1\n", "2\n", "3\n", "4\n"};
    for (int i = 0; i < 4 && taken == nullptr; ++i) {
        if (reachable[i]) {
            single.label = wallLabels[i];
            single.position = hit[i];
            for (int k = 0; k < 4; ++k) {
                single.flags[k] = k == i;
            }
            taken = &single;
            // Mirror across the wall's normal: vertical for the horizontal
            // walls 1 and 3, horizontal for walls 2 and 4.
            angle = (i % 2 == 0) ? 90.0f : 0.0f;
        }
    }

    if (taken == nullptr) {
        std::printf("Prolaz\n");
        return 0.0f;
    }
    ballPosition.x = taken->position.x;
    ballPosition.y = taken->position.y;
    for (int k = 0; k < 4; ++k) {
        *flags[k] = taken->flags[k];
    }
    std::printf("%s", taken->label);
    std::printf("%d %d %d %d\n", wall1, wall2, wall3, wall4);
    std::printf("(%s,%s)\n", coordinateText(ballPosition.x).text, coordinateText(ballPosition.y).text);
    return angle;
}
