#include <gtest/gtest.h>

#include <cmath>
#include <cstddef>
#include <iterator>

#include "scene.h"

namespace {

void expectBox(float minX, float minY, float maxX, float maxY) {
    EXPECT_EQ(sceneMin.x, minX);
    EXPECT_EQ(sceneMin.y, minY);
    EXPECT_EQ(sceneMax.x, maxX);
    EXPECT_EQ(sceneMax.y, maxY);
}

Point colored(float x, float y, ColorCode color) {
    Point p(x, y);
    p.color = color;
    return p;
}

// The scene as the program starts with it. GoogleTest sets up its
// environments after every global is initialised and before any test runs,
// so the copy taken then holds the start values in whatever order the tests
// run; only the first set-up takes it, since a repeated run sets up again.
struct SceneAtStart {
    bool taken = false;
    Point min, max;
    size_t points = 0, segments = 0, lines = 0, circles = 0;
};
SceneAtStart sceneAtStart;

class SceneAtStartCopy : public testing::Environment {
  public:
    void SetUp() override {
        if (!sceneAtStart.taken) {
            sceneAtStart = {true,
                            sceneMin,
                            sceneMax,
                            scenePoints.size(),
                            sceneSegments.size(),
                            sceneLines.size(),
                            sceneCircles.size()};
        }
    }
};
testing::Environment* const sceneAtStartCopy = testing::AddGlobalTestEnvironment(new SceneAtStartCopy);

TEST(SceneStart, InvertedBoxAndEmptyLists) {
    const SceneAtStart& start = sceneAtStart;
    ASSERT_TRUE(start.taken);
    EXPECT_EQ(start.min.x, 640);
    EXPECT_EQ(start.min.y, 480);
    EXPECT_EQ(start.max.x, 0);
    EXPECT_EQ(start.max.y, 0);
    EXPECT_EQ(start.min.color, 9);
    EXPECT_EQ(start.max.color, 9);
    EXPECT_EQ(start.points, 0u);
    EXPECT_EQ(start.segments, 0u);
    EXPECT_EQ(start.lines, 0u);
    EXPECT_EQ(start.circles, 0u);
}

// Puts the scene back into its start state before every test.
class Scene : public testing::Test {
  protected:
    void SetUp() override { resetScene(); }
};

TEST_F(Scene, FirstPointGrowsTheStartBox) {
    struct Row {
        const char* rule;
        Point p;
        float minX, minY, maxX, maxY;
    };
    const Row rows[] = {
        {"a point inside moves all four values", Point(3, 2), 3, 2, 3, 2},
        {"beyond (640, 480) the lower corner stays", Point(700, 500), 640, 480, 700, 500},
        {"below (0, 0) the upper corner stays", Point(-5, -5), -5, -5, 0, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.rule);
        SetUp();
        addPoint(row.p, 1);
        expectBox(row.minX, row.minY, row.maxX, row.maxY);
    }
}

TEST_F(Scene, BoxOnlyGrowsOutwards) {
    addPoint(Point(100, 100), 1);
    addPoint(Point(50, 200), 1);
    expectBox(50, 100, 100, 200);
    addPoint(Point(75, 150), 1);  // inside: nothing moves
    expectBox(50, 100, 100, 200);
}

TEST_F(Scene, EqualCoordinateLeavesTheCornerAlone) {
    // An equal coordinate is invisible unless its sign differs: -0 equals +0, so the strict
    // comparisons must keep the +0 corners a non-strict one would overwrite with -0.
    addPoint(Point(0, 0), 1);  // lower corner to (+0, +0); upper corner already there
    addPoint(Point(-0.0f, -0.0f), 1);
    expectBox(0, 0, 0, 0);
    EXPECT_FALSE(std::signbit(sceneMin.x));
    EXPECT_FALSE(std::signbit(sceneMin.y));
    EXPECT_FALSE(std::signbit(sceneMax.x));
    EXPECT_FALSE(std::signbit(sceneMax.y));
}

TEST_F(Scene, SegmentGrowsTheBoxButAddsNoPoints) {
    addSegment(Segment(Point(1, 1), Point(4, 9)), 0);
    expectBox(1, 1, 4, 9);
    EXPECT_TRUE(scenePoints.empty());
    EXPECT_EQ(sceneSegments.size(), 1u);
    EXPECT_TRUE(sceneLines.empty());
    EXPECT_TRUE(sceneCircles.empty());
}

TEST_F(Scene, SegmentGrowsTheBoxByStartThenEnd) {
    // Start and end tie at zero and differ only in sign, so whichever comes first wins the
    // lower corner.
    addSegment(Segment(Point(-0.0f, -0.0f), Point(0, 0)), 0);
    EXPECT_TRUE(std::signbit(sceneMin.x));
    EXPECT_TRUE(std::signbit(sceneMin.y));
}

TEST_F(Scene, StoredCopyTakesTheGivenColour) {
    const Point p = colored(1, 2, 9);
    addPoint(p, 2);
    EXPECT_EQ(scenePoints.back().color, 2);
    EXPECT_EQ(p.color, 9);

    const Segment s(colored(1, 1, 3), colored(4, 9, 5));
    addSegment(s, 0);
    const Segment& stored = sceneSegments.back();
    EXPECT_EQ(stored.color, 0);
    EXPECT_EQ(stored.start.color, 3);
    EXPECT_EQ(stored.end.color, 5);
    EXPECT_EQ(s.color, 9);
}

TEST_F(Scene, DuplicatesAreKeptInInsertionOrder) {
    const Segment wall(Point(0, 0), Point(10, 0));
    const Segment path(Point(2, 3), Point(10, 5));
    addSegment(wall, 1);
    addSegment(path, 2);
    addSegment(wall, 3);
    ASSERT_EQ(sceneSegments.size(), 3u);
    const ColorCode segmentColors[] = {1, 2, 3};
    const float segmentEndY[] = {0, 5, 0};
    auto segment = sceneSegments.begin();
    for (int i = 0; i < 3; ++i, ++segment) {
        SCOPED_TRACE(testing::Message() << "segment " << i);
        EXPECT_EQ(segment->color, segmentColors[i]);
        EXPECT_EQ(segment->end.y, segmentEndY[i]);
    }

    addPoint(Point(5, 5), 4);
    addPoint(Point(1, 7), 6);
    addPoint(Point(5, 5), 8);
    ASSERT_EQ(scenePoints.size(), 3u);
    EXPECT_EQ(scenePoints.front().color, 4);
    EXPECT_EQ(std::next(scenePoints.begin())->y, 7);
    EXPECT_EQ(scenePoints.back().color, 8);
}

}  // namespace
