#include "vertices.h"

#include <gtest/gtest.h>

namespace {

TEST(CircleVertex, StepsCounterClockwiseFromTheRightmostPoint) {
    Circle circle;
    circle.center = Point(1, 2);
    circle.radius = 3;
    struct Row {
        const char* rule;
        int i;
        Point vertex;
    };
    const Row rows[] = {
        {"vertex 0 is centre + (radius, 0)", 0, {4, 2}},
        {"a quarter of the loop is a quarter turn", 25, {1, 5}},
        {"half the loop is opposite", 50, {-2, 2}},
        {"three quarters is straight below", 75, {1, -1}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.rule);
        const Point vertex = circleVertex(circle, row.i);
        EXPECT_FLOAT_EQ(vertex.x, row.vertex.x);
        EXPECT_FLOAT_EQ(vertex.y, row.vertex.y);
    }
}

TEST(LineEnds, ReachAHundredDirectionsToEitherSide) {
    struct Row {
        const char* rule;
        Point origin;
        Point direction;
        Point start;
        Point end;
    };
    const Row rows[] = {
        {"through the origin along +x", {0, 0}, {1, 0}, {100, 0}, {-100, 0}},
        {"away from the origin, the ends are taken from it", {1, 2}, {0.5f, -1}, {51, -98}, {-49, 102}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.rule);
        Line line;
        line.origin = row.origin;
        line.direction = row.direction;
        const Segment ends = lineEnds(line);
        EXPECT_EQ(ends.start.x, row.start.x);
        EXPECT_EQ(ends.start.y, row.start.y);
        EXPECT_EQ(ends.end.x, row.end.x);
        EXPECT_EQ(ends.end.y, row.end.y);
    }
}

}  // namespace
