#include <gtest/gtest.h>

#include <cmath>
#include <iterator>
#include <limits>

#include "intersect.h"

namespace {

// Marks a crossing the function must not have written.
constexpr float sentinel = -777.0f;

Segment seg(float x1, float y1, float x2, float y2) {
    return Segment(Point(x1, y1), Point(x2, y2));
}

struct Row {
    const char* rule;
    Segment first;
    Segment second;
    int result;         // for (first, second)
    int swappedResult;  // for (second, first)
    Point crossing;     // read only when a result is segmentsCross
};

// Runs one ordering and checks the result and what happened to the crossing.
void check(Segment first, Segment second, int expected, Point expectedCrossing) {
    Point crossing(sentinel, sentinel);
    crossing.color = 4;
    EXPECT_EQ(intersectSegments(first, second, crossing), expected);
    if (expected == segmentsCross) {
        EXPECT_FLOAT_EQ(crossing.x, expectedCrossing.x);
        EXPECT_FLOAT_EQ(crossing.y, expectedCrossing.y);
    } else {
        EXPECT_EQ(crossing.x, sentinel);
        EXPECT_EQ(crossing.y, sentinel);
    }
    EXPECT_EQ(crossing.color, 4);  // only x and y are ever written
}

void checkRows(const Row* begin, const Row* end) {
    for (const Row* row = begin; row != end; ++row) {
        SCOPED_TRACE(row->rule);
        {
            SCOPED_TRACE("as given");
            check(row->first, row->second, row->result, row->crossing);
        }
        {
            SCOPED_TRACE("arguments swapped");
            check(row->second, row->first, row->swappedResult, row->crossing);
        }
    }
}

TEST(IntersectSegments, ClassifiesHowSegmentsMeet) {
    const Row rows[] = {
        {"proper crossing", seg(0, 0, 4, 4), seg(0, 4, 4, 0), segmentsCross, segmentsCross, Point(2, 2)},
        {"lines cross beyond one segment's end (t = 3 as given, u = 3 swapped)", seg(0, 0, 1, 1),
         seg(3, 0, 3, 5), segmentsApart, segmentsApart, Point()},
        {"end points count (t = 1, u = 0)", seg(0, 0, 2, 2), seg(2, 2, 5, 0), segmentsCross, segmentsCross,
         Point(2, 2)},
        {"parallel on different lines", seg(0, 0, 4, 0), seg(0, 1, 4, 1), segmentsApart, segmentsApart,
         Point()},
        {"collinear overlap", seg(0, 0, 4, 0), seg(2, 0, 6, 0), segmentsOverlap, segmentsOverlap, Point()},
        {"direction of a collinear segment does not matter", seg(0, 0, 4, 0), seg(6, 0, 2, 0),
         segmentsOverlap, segmentsOverlap, Point()},
        {"collinear overlap is half-open: end touching start is apart, start touching end overlaps",
         seg(0, 0, 2, 0), seg(2, 0, 5, 0), segmentsApart, segmentsOverlap, Point()},
        {"same line, apart", seg(0, 0, 2, 0), seg(3, 0, 5, 0), segmentsApart, segmentsApart, Point()},
        {"exactly vertical segments are compared on y", seg(1, 0, 1, 4), seg(1, 5, 1, 3), segmentsOverlap,
         segmentsOverlap, Point()},
        {"vertical and apart on y", seg(1, 0, 1, 4), seg(1, 5, 1, 7), segmentsApart, segmentsApart, Point()},
    };
    checkRows(std::begin(rows), std::end(rows));
}

TEST(IntersectSegments, ZeroLengthSegments) {
    // A point as first segment is compared on y only, wherever it lies along x: overlap when the
    // other segment's lower y is strictly below it and its upper y at or above it. As second
    // segment it is parallel to everything and must lie on the first segment's line, inside the
    // half-open range [lower end, upper end).
    const Row rows[] = {
        {"point as first, in the y-range of a far vertical segment; as second, off its line",
         seg(5, 2.5f, 5, 2.5f), seg(10, -0.01f, 10, 5.01f), segmentsOverlap, segmentsApart, Point()},
        {"point as first at the other segment's lower y is excluded", seg(5, 0, 5, 0), seg(10, 0, 10, 4),
         segmentsApart, segmentsApart, Point()},
        {"point as first at the other segment's upper y is included", seg(5, 4, 5, 4), seg(10, 0, 10, 4),
         segmentsOverlap, segmentsApart, Point()},
        {"point on a horizontal segment: apart as first (compared on y), inside as second", seg(2, 0, 2, 0),
         seg(0, 0, 4, 0), segmentsApart, segmentsOverlap, Point()},
        {"point as second at the first's lower end is included", seg(0, 0, 0, 0), seg(0, 0, 4, 0),
         segmentsApart, segmentsOverlap, Point()},
        {"point as second at the first's upper end is excluded", seg(4, 0, 4, 0), seg(0, 0, 4, 0),
         segmentsApart, segmentsApart, Point()},
        {"point as second at a vertical first's upper end is excluded (compared on y)", seg(1, 4, 1, 4),
         seg(1, 0, 1, 4), segmentsOverlap, segmentsApart, Point()},
        {"point off the line", seg(2, 1, 2, 1), seg(0, 0, 4, 0), segmentsApart, segmentsApart, Point()},
    };
    checkRows(std::begin(rows), std::end(rows));
}

TEST(IntersectSegments, ToleranceDecidesParallel) {
    // For R = (100, 0) and S = (100, h) the segments count as parallel while h² <= 0.1.
    const Row rows[] = {
        {"steep enough to cross (h = 0.5)", seg(0, 0, 100, 0), seg(0, -0.25f, 100, 0.25f), segmentsCross,
         segmentsCross, Point(50, 0)},
        {"too shallow (h = 0.25): parallel, and the second starts off the first's line", seg(0, 0, 100, 0),
         seg(0, -0.125f, 100, 0.125f), segmentsApart, segmentsApart, Point()},
        {"leaving the wall's line at a very small angle still lies along it",
         seg(9.999f, 0, 29.999f, -0.002f), seg(-0.01f, 0, 10.01f, 0), segmentsOverlap, segmentsOverlap,
         Point()},
        // 1 + 2^-10 is exact in float. Nearly vertical, the first segment is compared on its tiny
        // x-extent, which touches x = 1 however far apart the y-ranges are; swapped, the exactly
        // vertical first segment is compared on y.
        {"nearly vertical first segment is compared on x", seg(1, 0, 1.0009765625f, 4), seg(1, 5, 1, 7),
         segmentsOverlap, segmentsApart, Point()},
    };
    checkRows(std::begin(rows), std::end(rows));
}

TEST(IntersectSegments, CrossingIsComputedOnTheFirstSegment) {
    // The position t = 2002 / 4000 along the first segment is kept in single precision,
    // 0.50050002, so the crossing lands 2000 × 2.3e-8 ≈ 4.7e-5 past the second segment's x = 1.
    Point crossing(sentinel, sentinel);
    ASSERT_EQ(intersectSegments(seg(-1000, 0, 1000, 0), seg(1, -1, 1, 1), crossing), segmentsCross);
    EXPECT_NEAR(crossing.x, 1.0000467f, 1e-6f);
    EXPECT_EQ(crossing.y, 0.0f);
}

TEST(IntersectSegments, NotANumberNeverMeets) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    // Each of the eight coordinates in turn, on segments that otherwise cross at (2, 2).
    for (int i = 0; i < 8; ++i) {
        SCOPED_TRACE(testing::Message() << "NaN in coordinate " << i);
        Segment first = seg(0, 0, 4, 4);
        Segment second = seg(0, 4, 4, 0);
        float* coords[] = {&first.start.x,  &first.start.y,  &first.end.x,  &first.end.y,
                           &second.start.x, &second.start.y, &second.end.x, &second.end.y};
        *coords[i] = nan;
        check(first, second, segmentsApart, Point());
    }
}

}  // namespace
