#include <gtest/gtest.h>

#include "transform.h"

namespace {

void expectMatrix(const Matrix3& m, const Matrix3& expected, float bound) {
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < 3; ++c) {
            SCOPED_TRACE(testing::Message() << "entry (" << r << ", " << c << ")");
            EXPECT_NEAR(m.m[r][c], expected.m[r][c], bound);
        }
    }
}

const Matrix3 identity{{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}};

TEST(MultiplyMatrix3, AddsTheProductIntoTheResult) {
    Matrix3 result = identity;
    multiplyMatrix3(identity, identity, &result);
    expectMatrix(result, {{{2, 0, 0}, {0, 2, 0}, {0, 0, 2}}}, 0.0f);
}

TEST(MultiplyMatrix3, RowTimesColumn) {
    // A non-commuting pair, so a transposed or swapped product shows.
    Matrix3 result;
    multiplyMatrix3({{{1, 2, 3}, {4, 5, 6}, {7, 8, 9}}}, {{{9, 8, 7}, {6, 5, 4}, {3, 2, 1}}}, &result);
    expectMatrix(result, {{{30, 24, 18}, {84, 69, 54}, {138, 114, 90}}}, 0.0f);
}

TEST(MirrorMatrix, FortyFiveDegreesIsAQuarterTurnClockwise) {
    // The doubled angle is float(pi / 2), whose cosine is about -4.4e-8.
    expectMatrix(mirrorMatrix(Point(0, 0), 45.0f), {{{0, 1, 0}, {-1, 0, 0}, {0, 0, 1}}}, 1e-7f);
}

TEST(PointTransforms, MoveThePointAboutTheCentre) {
    struct Row {
        const char* rule;
        void (*apply)(Point, float, Point*);
        Point centre;
        float angle;
        Point from;
        Point to;
        float bound;
    };
    // Bounds: the sine and cosine of float(pi / 2) or float(pi) are off by up to 8.7e-8, which
    // the translations through the centre carry into the last float step of the result.
    const Row rows[] = {
        {"mirror 0 is across the horizontal through the centre, exactly", mirrorPoint, Point(10, 5), 0.0f,
         Point(3, 4), Point(3, 6), 0.0f},
        {"mirror 90 is across the vertical through the centre", mirrorPoint, Point(5, 0), 90.0f, Point(3, 4),
         Point(7, 4), 5e-7f},
        {"rotation 90 about the origin", rotatePoint, Point(0, 0), 90.0f, Point(1, 0), Point(0, 1), 5e-8f},
        {"rotation 90 about a centre (one float step below 2 is 1.2e-7)", rotatePoint, Point(2, 3), 90.0f,
         Point(4, 3), Point(2, 5), 2e-7f},
        {"counter-clockwise: above the centre goes to its left", rotatePoint, Point(2, 3), 90.0f, Point(2, 4),
         Point(1, 3), 2e-7f},
        {"negative angle turns clockwise: (10 - 5 sqrt 2, 5 sqrt 2)", rotatePoint, Point(10, 0), -45.0f,
         Point(0, 0), Point(2.9289322f, 7.0710678f), 1e-6f},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.rule);
        Point centre = row.centre;
        centre.color = 2;  // ignored
        Point p = row.from;
        p.color = 5;
        row.apply(centre, row.angle, &p);
        EXPECT_NEAR(p.x, row.to.x, row.bound);
        EXPECT_NEAR(p.y, row.to.y, row.bound);
        EXPECT_EQ(p.color, 5);
    }
}

TEST(AngleBetween, UnsignedAngleInDegrees) {
    struct Row {
        const char* rule;
        Point u;
        Point v;
        float degrees;
    };
    const Row rows[] = {
        {"right angle", Point(1, 0), Point(0, 1), 90.0f},
        {"half a right angle", Point(1, 0), Point(1, 1), 45.0f},
        {"lengths do not matter", Point(2, 0), Point(1, 1), 45.0f},
        {"opposite", Point(1, 0), Point(-1, 0), 180.0f},
        {"acos(24 / 25) = 16.2602047 degrees", Point(3, 4), Point(4, 3), 16.2602047f},
        {"no sign: clockwise and counter-clockwise agree", Point(1, 0), Point(1, -1), 45.0f},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.rule);
        // One float step at 180 degrees is 1.5e-5.
        EXPECT_NEAR(angleBetween(row.u, row.v), row.degrees, 2e-5f);
        EXPECT_NEAR(angleBetween(row.v, row.u), row.degrees, 2e-5f);
    }
}

TEST(AngleBetween, ParallelVectorsGiveExactlyZeroOrStraight) {
    // sqrt(18) × sqrt(18) rounds to just below 18, so the cosine of (3, 3) with itself comes out
    // just above 1 and would make the arc cosine NaN unless clamped.
    EXPECT_EQ(angleBetween(Point(3, 3), Point(3, 3)), 0.0f);
    EXPECT_EQ(angleBetween(Point(3, 3), Point(-3, -3)), 180.0f);
}

TEST(AngleBetween, ZeroLengthVectorGivesZero) {
    EXPECT_EQ(angleBetween(Point(0, 0), Point(1, 0)), 0.0f);
    EXPECT_EQ(angleBetween(Point(1, 0), Point(0, 0)), 0.0f);
    EXPECT_EQ(angleBetween(Point(0, 0), Point(0, 0)), 0.0f);
}

}  // namespace
