#include "wall_hit.h"

#include <gtest/gtest.h>

#include <string>

#include "reflect.h"
#include "scene.h"
#include "stdout_capture.h"

namespace {

struct StepCase {
    const char* rule;
    Point position;
    Point direction;
    WallFlags flagsIn;
    std::string trace;  // after the two leading line breaks
    bool moves;
    Point newPosition;
    WallFlags flagsOut;
    int cornerNumber;
    float result;
    float resultTolerance;
};

void PrintTo(const StepCase& c, std::ostream* os) {
    *os << c.rule;
}

constexpr WallFlags none{};
constexpr WallFlags bottom{true, false, false, false};
constexpr WallFlags right{false, true, false, false};
constexpr WallFlags top{false, false, true, false};
constexpr WallFlags left{false, false, false, true};
constexpr WallFlags corner1{true, true, false, false};
constexpr WallFlags corner2{false, true, true, false};
constexpr WallFlags corner3{false, false, true, true};
constexpr WallFlags corner4{true, false, false, true};

class WallHitStep : public testing::TestWithParam<StepCase> {
  protected:
    void SetUp() override { resetScene(); }
};

// All cases are in the 10 by 5 table.
TEST_P(WallHitStep, TakesTheFirstClearCornerOrWall) {
    const StepCase& c = GetParam();
    const Segment probe = makeProbe(c.position, c.direction);
    Point ballPosition(-7.0f, -7.0f);  // only written when the ball moves
    ballPosition.color = 4;
    WallFlags flags = c.flagsIn;
    bool cornerHit = !c.moves;  // stale values the step must overwrite
    int cornerNumber = 9;

    StdoutCapture capture;
    const float result = wallHitStep(10, 5, cornerNumber, probe, ballPosition, flags.wall1, flags.wall2,
                                     flags.wall3, flags.wall4, cornerHit);
    const std::string out = capture.finish();

    EXPECT_EQ(out, "\n\n" + c.trace);
    const Point expected = c.moves ? c.newPosition : Point(-7.0f, -7.0f);
    if (c.cornerNumber != 0) {
        EXPECT_EQ(ballPosition.x, expected.x) << "a corner is reached exactly";
        EXPECT_EQ(ballPosition.y, expected.y) << "a corner is reached exactly";
    } else {
        EXPECT_NEAR(ballPosition.x, expected.x, 1e-5);
        EXPECT_NEAR(ballPosition.y, expected.y, 1e-5);
    }
    EXPECT_EQ(ballPosition.color, 4) << "the position's colour is never written";
    const WallFlags& want = c.moves ? c.flagsOut : c.flagsIn;
    EXPECT_EQ(flags.wall1, want.wall1);
    EXPECT_EQ(flags.wall2, want.wall2);
    EXPECT_EQ(flags.wall3, want.wall3);
    EXPECT_EQ(flags.wall4, want.wall4);
    EXPECT_EQ(cornerHit, c.cornerNumber != 0);
    EXPECT_EQ(cornerNumber, c.cornerNumber);
    EXPECT_NEAR(result, c.result, c.resultTolerance);
    EXPECT_EQ(sceneSegments.size(), 4u) << "every step adds the four walls";
}

// Traces worked by hand: the probe runs 20 directions ahead of the position.
// clang-format off
INSTANTIATE_TEST_SUITE_P(
    Table, WallHitStep,
    testing::Values(
        StepCase{"the top wall alone is crossed", {2, 1}, {1, 1}, none,
                 "<<2.00,1.00/22.00,21.00/>>\n<<<<<0 0 1 0/>>>>>\n3\n0 0 1 0\n(6.00,5.00)\n",
                 true, {6, 5}, top, 0, 90, 0},
        StepCase{"a corner comes before its two walls", {5, 2.5f}, {2, 1}, none,
                 "<<5.00,2.50/45.00,22.50/>>\n<<<<<0 1 1 0/>>>>>\n2,3\n0 1 1 0\n(10.00,5.00)\n",
                 true, {10, 5}, corner2, 2, 63.43f, 0.01f},
        // Corners 2 and 3 turn by 90 minus the angle to the top wall, 1 and 4
        // by the angle to the bottom wall minus 90: here 180 - 26.57 each.
        StepCase{"corner 3 returns 90 minus the angle to the top wall", {5, 2.5f}, {-2, 1}, none,
                 "<<5.00,2.50/-35.00,22.50/>>\n<<<<<0 0 1 1/>>>>>\n3,4\n0 0 1 1\n(0.00,5.00)\n",
                 true, {0, 5}, corner3, 3, -63.43f, 0.01f},
        StepCase{"corner 4 returns the angle to the bottom wall minus 90", {5, 2.5f}, {-2, -1}, none,
                 "<<5.00,2.50/-35.00,-17.50/>>\n<<<<<1 0 0 1/>>>>>\n4,1\n1 0 0 1\n(0.00,0.00)\n",
                 true, {0, 0}, corner4, 4, 63.43f, 0.01f},
        StepCase{"a flagged wall bars its corner and is skipped", {6, 5}, {1, -1}, top,
                 "<<6.00,5.00/26.00,-15.00/>>\n<<<<<0 1 1 0/>>>>>\n2\n0 1 0 0\n(10.00,1.00)\n",
                 true, {10, 1}, right, 0, 0, 0},
        StepCase{"running along a wall (result 2) is no hit, so no corner", {3, 0}, {1, 0}, bottom,
                 "<<3.00,0.00/23.00,0.00/>>\n<<<<<2 1 0 0/>>>>>\n2\n0 1 0 0\n(10.00,0.00)\n",
                 true, {10, 0}, right, 0, 0, 0},
        StepCase{"leaving corner 1, both its walls and corner 2 are barred", {10, 0}, {-1, 1}, corner1,
                 "<<10.00,0.00/-10.00,20.00/>>\n<<<<<1 1 1 0/>>>>>\n3\n0 0 1 0\n(5.00,5.00)\n",
                 true, {5, 5}, top, 0, 90, 0},
        StepCase{"of two walls without a common corner the lower number wins", {5, 0}, {0, 1}, none,
                 "<<5.00,0.00/5.00,20.00/>>\n<<<<<1 0 1 0/>>>>>\n1\n1 0 0 0\n(5.00,0.00)\n",
                 true, {5, 0}, bottom, 0, 90, 0},
        StepCase{"the left wall is vertical and returns 0", {10, 2}, {-1, 0}, right,
                 "<<10.00,2.00/-10.00,2.00/>>\n<<<<<0 1 0 1/>>>>>\n4\n0 0 0 1\n(0.00,2.00)\n",
                 true, {0, 2}, left, 0, 0, 0},
        StepCase{"within both overhangs the corner is taken, at the exact corner", {5, 2.5f}, {1.0004f, -0.5f}, none,
                 "<<5.00,2.50/25.01,-7.50/>>\n<<<<<1 1 0 0/>>>>>\n1,2\n1 1 0 0\n(10.00,0.00)\n",
                 true, {10, 0}, corner1, 1, -63.44f, 0.01f},
        StepCase{"beyond the bottom overhang only the right wall is hit", {5, 2.5f}, {1.004f, -0.5f}, none,
                 "<<5.00,2.50/25.08,-7.50/>>\n<<<<<0 1 0 0/>>>>>\n2\n0 1 0 0\n(10.00,0.01)\n",
                 true, {10, 0.00996016f}, right, 0, 0, 0},
        StepCase{"a short probe reaches nothing", {5, 2.5f}, {0.1f, 0.1f}, top,
                 "<<5.00,2.50/7.00,4.50/>>\n<<<<<0 0 0 0/>>>>>\nProlaz\n",
                 false, {}, {}, 0, 0, 0},
        StepCase{"a zero probe lies along the vertical walls and reaches nothing", {5, 2.5f}, {0, 0}, none,
                 "<<5.00,2.50/5.00,2.50/>>\n<<<<<0 2 0 2/>>>>>\nProlaz\n",
                 false, {}, {}, 0, 0, 0}));
// clang-format on

TEST(WallHitStepWalls, OverhangTheRectangleAtBothEnds) {
    resetScene();
    Point position;
    WallFlags flags;
    bool cornerHit = false;
    int cornerNumber = 0;
    StdoutCapture trace;
    wallHitStep(10, 5, cornerNumber, makeProbe(Point(1, 1), Point(0, 0)), position, flags.wall1, flags.wall2,
                flags.wall3, flags.wall4, cornerHit);
    trace.finish();  // not checked here

    // a + 0.01 is summed in double and rounded once: 10.01f, 5.01f.
    const Segment expected[4] = {
        Segment(Point(-0.01f, 0), Point(10.01f, 0)), Segment(Point(10, -0.01f), Point(10, 5.01f)),
        Segment(Point(-0.01f, 5), Point(10.01f, 5)), Segment(Point(0, -0.01f), Point(0, 5.01f))};
    ASSERT_EQ(sceneSegments.size(), 4u);
    int i = 0;
    for (const Segment& wall : sceneSegments) {
        SCOPED_TRACE(i + 1);
        EXPECT_EQ(wall.start.x, expected[i].start.x);
        EXPECT_EQ(wall.start.y, expected[i].start.y);
        EXPECT_EQ(wall.end.x, expected[i].end.x);
        EXPECT_EQ(wall.end.y, expected[i].end.y);
        EXPECT_EQ(wall.color, 9);
        ++i;
    }
    EXPECT_EQ(sceneMin.x, -0.01f);
    EXPECT_EQ(sceneMax.y, 5.01f);
}

// Beyond 2^24 the float spacing is 2: 16777217 + 0.01 summed in double
// rounds up to 16777218, while the float side itself rounds down to 16777216.
TEST(WallHitStepWalls, OverhangIsSummedInDoubleBeforeRounding) {
    Segment walls[4];
    buildWalls(16777217, 16777217, walls);
    EXPECT_EQ(walls[0].end.x, 16777218.0f);
    EXPECT_EQ(walls[1].start.x, 16777216.0f);
    EXPECT_EQ(walls[1].end.y, 16777218.0f);
}

}  // namespace
