#include "run.h"

#include <gtest/gtest.h>

#include <cmath>
#include <iterator>
#include <string>

#include "scene.h"
#include "stdout_capture.h"

namespace {

TEST(IsInsideRectangle, IncludesTheSidesAndNothingBeyond) {
    const float nan = std::nanf("");
    struct Row {
        const char* rule;
        int a, b;
        Point p;
        bool inside;
    } rows[] = {
        {"lower corner", 10, 5, {0, 0}, true},
        {"upper corner", 10, 5, {10, 5}, true},
        {"inside", 10, 5, {2, 1}, true},
        {"just right of the right side", 10, 5, {10.000001f, 2}, false},
        {"just above the top side", 10, 5, {2, 5.0000005f}, false},
        {"just left of the left side", 10, 5, {-1e-30f, 2}, false},
        {"just below the bottom side", 10, 5, {2, -1e-30f}, false},
        {"negative x", 10, 10, {-1, 5}, false},
        {"not a number", 10, 5, {nan, 1}, false},
        {"a negative width holds nothing", -1, 5, {0, 0}, false},
        {"a 0 by 0 table holds its one point", 0, 0, {0, 0}, true},
        {"a side beyond float precision is compared exactly", 16777217, 1, {16777216, 0}, true},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(isInsideRectangle(row.a, row.b, row.p), row.inside) << row.rule;
    }
}

TEST(StartWallFlags, FirstMatchingRuleWins) {
    struct Row {
        const char* rule;
        int a, b;
        Point start;
        WallFlags flags;
    } rows[] = {
        {"corner (a, 0)", 10, 5, {10, 0}, {true, true, false, false}},
        {"corner (a, b)", 10, 5, {10, 5}, {false, true, true, false}},
        {"corner (0, b)", 10, 5, {0, 5}, {false, false, true, true}},
        {"corner (0, 0)", 10, 5, {0, 0}, {true, false, false, true}},
        {"left wall", 10, 5, {0, 2}, {false, false, false, true}},
        {"bottom wall", 10, 5, {3, 0}, {true, false, false, false}},
        {"right wall", 10, 5, {10, 2}, {false, true, false, false}},
        {"top wall", 10, 5, {3, 5}, {false, false, true, false}},
        {"strictly inside", 10, 5, {3, 2}, {}},
        {"width 0: (0, 0) is corner 1", 0, 5, {0, 0}, {true, true, false, false}},
        {"width 0: the left wall comes before the right", 0, 5, {0, 2}, {false, false, false, true}},
        {"width 0: (0, b) is corner 2", 0, 5, {0, 5}, {false, true, true, false}},
        {"height 0: (0, 0) is corner 3", 10, 0, {0, 0}, {false, false, true, true}},
        {"height 0: the bottom wall comes before the top", 10, 0, {4, 0}, {true, false, false, false}},
        {"x meets a as a float: 16777217 becomes 16777216", 16777217, 5, Point(16777216, 2),
         WallFlags{false, true, false, false}},
        {"y meets b exactly: 16777216 is not 16777217", 5, 16777217, {2, 16777216}, {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.rule);
        const WallFlags flags = startWallFlags(row.a, row.b, row.start);
        EXPECT_EQ(flags.wall1, row.flags.wall1);
        EXPECT_EQ(flags.wall2, row.flags.wall2);
        EXPECT_EQ(flags.wall3, row.flags.wall3);
        EXPECT_EQ(flags.wall4, row.flags.wall4);
    }
}

class RunBilliard : public testing::Test {
  protected:
    void SetUp() override { resetScene(); }

    std::string run(int a, int b, Point start, Point direction, int bounces) {
        StdoutCapture capture;
        runBilliard(a, b, start, direction, bounces);
        return capture.finish();
    }
};

// Hit points are crossings computed in float: a few units in the sixth digit.
void expectSegment(const Segment& s, Point start, Point end, ColorCode color) {
    EXPECT_NEAR(s.start.x, start.x, 1e-5);
    EXPECT_NEAR(s.start.y, start.y, 1e-5);
    EXPECT_NEAR(s.end.x, end.x, 1e-5);
    EXPECT_NEAR(s.end.y, end.y, 1e-5);
    EXPECT_EQ(s.color, color);
}

TEST_F(RunBilliard, RecordsStartPointWallsRedLegsThenBlueFirstLeg) {
    run(10, 5, Point(2, 1), Point(1, 1), 1);

    ASSERT_EQ(scenePoints.size(), 1u);
    EXPECT_EQ(scenePoints.front().x, 2.0f);
    EXPECT_EQ(scenePoints.front().y, 1.0f);
    EXPECT_EQ(scenePoints.front().color, 2);

    ASSERT_EQ(sceneSegments.size(), 10u);
    auto it = sceneSegments.begin();
    for (int wall = 0; wall < 8; ++wall, ++it) {
        EXPECT_EQ(it->color, 9) << "wall segment " << wall;
    }
    expectSegment(*it++, Point(6, 5), Point(10, 1), 0);
    expectSegment(*it++, Point(2, 1), Point(6, 5), 2);
    EXPECT_EQ(sceneMin.x, -0.01f);
    EXPECT_EQ(sceneMin.y, -0.01f);
    EXPECT_EQ(sceneMax.x, 10.01f);
    EXPECT_EQ(sceneMax.y, 5.01f);
}

TEST_F(RunBilliard, RejectedStartPointIsTheWholeScene) {
    EXPECT_EQ(run(10, 10, Point(-1, 5), Point(1, 1), 3), "Tacka nije u pravougaoniku!\n");
    ASSERT_EQ(scenePoints.size(), 1u);
    EXPECT_EQ(scenePoints.front().color, 2);
    EXPECT_TRUE(sceneSegments.empty());
}

TEST_F(RunBilliard, NoBounceAddsOnlyTheBlueFirstLeg) {
    run(10, 5, Point(2, 1), Point(1, 1), 0);
    ASSERT_EQ(sceneSegments.size(), 5u);
    expectSegment(sceneSegments.back(), Point(2, 1), Point(6, 5), 2);
}

// 98 bounces use every entry of the path; counts outside 0..98 are limited
// to that range rather than writing past it.
TEST_F(RunBilliard, BounceCountIsLimitedToThePathCapacity) {
    struct Row {
        int asked;
        int used;
    } rows[] = {{98, 98}, {99, 98}, {1000000, 98}, {-1, 0}, {-2147483647 - 1, 0}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.asked);
        resetScene();
        run(10, 10, Point(5, 5), Point(1, 1), row.asked);
        const size_t steps = static_cast<size_t>(row.used) + 1;
        EXPECT_EQ(sceneSegments.size(), 4 * steps + steps);
        // The shuttle between corners 2 and 4 ends at corner 2 after an odd
        // number of steps and at corner 4 after an even one.
        const Segment& lastRed = *std::prev(sceneSegments.end(), 2);
        if (row.used > 0) {
            EXPECT_EQ(lastRed.end.x, steps % 2 == 1 ? 10.0f : 0.0f);
        }
    }
}

}  // namespace
