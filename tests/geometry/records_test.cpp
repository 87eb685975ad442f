#include <gtest/gtest.h>

#include <climits>
#include <type_traits>

#include "color.h"
#include "records.h"

namespace {

// The records are copied and assigned member by member, as the compiler
// does it: a copy keeps every coordinate and colour code (all seven values
// of a Segment), and assigning a record to itself changes nothing. A copy
// constructor or assignment written by hand, or a member that is not a
// plain value, fails here; a run-time check of such copies could not.
static_assert(std::is_trivially_copyable_v<Point>);
static_assert(std::is_trivially_copyable_v<Segment>);
static_assert(std::is_trivially_copyable_v<Line>);
static_assert(std::is_trivially_copyable_v<Circle>);

void expectPoint(const Point& p, float x, float y, ColorCode color) {
    EXPECT_FLOAT_EQ(p.x, x);
    EXPECT_FLOAT_EQ(p.y, y);
    EXPECT_EQ(p.color, color);
}

TEST(Records, DefaultsAreOriginAndBlack) {
    expectPoint(Point(), 0.0f, 0.0f, 9);
    expectPoint(Point(1.5f, -2.0f), 1.5f, -2.0f, 9);

    const Segment s;
    expectPoint(s.start, 0.0f, 0.0f, 9);
    expectPoint(s.end, 0.0f, 0.0f, 9);
    EXPECT_EQ(s.color, 9);

    EXPECT_EQ(Line().color, 9);
    EXPECT_EQ(Circle().color, 9);
    EXPECT_FLOAT_EQ(Circle().radius, 0.0f);
}

TEST(Records, SegmentIsBlackButKeepsItsPointColours) {
    Point a(1.0f, 2.0f);
    a.color = 3;
    Point b(-4.0f, 8.5f);
    b.color = 5;

    const Segment s(a, b);
    EXPECT_EQ(s.color, 9);
    expectPoint(s.start, 1.0f, 2.0f, 3);
    expectPoint(s.end, -4.0f, 8.5f, 5);
}

TEST(ColorComponents, EachCodeNamesItsColour) {
    struct Row {
        ColorCode code;
        const char* name;
        Rgb rgb;
    };
    const Row rows[] = {
        {0, "red", {1.0f, 0.0f, 0.0f}},    {1, "green", {0.0f, 1.0f, 0.0f}},
        {2, "blue", {0.0f, 0.0f, 1.0f}},   {3, "yellow", {1.0f, 1.0f, 0.0f}},
        {4, "orange", {1.0f, 0.5f, 0.0f}}, {5, "magenta", {1.0f, 0.0f, 1.0f}},
        {6, "cyan", {0.0f, 1.0f, 1.0f}},   {7, "purple", {0.5f, 0.0f, 0.5f}},
        {8, "white", {1.0f, 1.0f, 1.0f}},  {9, "black (a real colour, not a no-op)", {0.0f, 0.0f, 0.0f}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "code " << row.code << " is " << row.name);
        Rgb rgb{0.25f, 0.25f, 0.25f};  // matches no table entry
        ASSERT_TRUE(colorComponents(row.code, rgb));
        // The components are exactly 0, 0.5 or 1.
        EXPECT_EQ(rgb.red, row.rgb.red);
        EXPECT_EQ(rgb.green, row.rgb.green);
        EXPECT_EQ(rgb.blue, row.rgb.blue);
    }
}

TEST(ColorComponents, CodesOutsideTheTableLeaveTheColourAlone) {
    struct Row {
        ColorCode code;
        const char* rule;
    };
    const Row rows[] = {
        {10, "first code past the table"},
        {-1, "negative codes read as huge unsigned values"},
        {INT_MIN, "most negative code"},
        {INT_MAX, "largest code"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.rule);
        Rgb rgb{0.0f, 0.0f, 1.0f};  // the colour set before: blue
        EXPECT_FALSE(colorComponents(row.code, rgb));
        EXPECT_EQ(rgb.red, 0.0f);
        EXPECT_EQ(rgb.green, 0.0f);
        EXPECT_EQ(rgb.blue, 1.0f);
    }
}

}  // namespace
