#include "reflect.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

struct ReflectCase {
    const char* rule;
    Point previous;  // where the step started
    Point hit;
    float hitAngle;
    bool cornerHit;
    int cornerNumber;
    int a;
    int b;
    Point direction;
    Point probeEnd;
    float tolerance;
};

void PrintTo(const ReflectCase& c, std::ostream* os) {
    *os << c.rule;
}

class ReflectDirection : public testing::TestWithParam<ReflectCase> {};

TEST_P(ReflectDirection, TurnsTheBallAndRebuildsTheProbe) {
    const ReflectCase& c = GetParam();
    Segment probe(c.previous, Point(99, 99));
    probe.color = 5;
    Point direction(123, 456);
    direction.color = 3;
    Point hit = c.hit;
    hit.color = 7;

    reflectDirection(probe, direction, hit, c.hitAngle, c.cornerHit, c.cornerNumber, c.a, c.b);

    EXPECT_NEAR(direction.x, c.direction.x, c.tolerance);
    EXPECT_NEAR(direction.y, c.direction.y, c.tolerance);
    EXPECT_EQ(probe.start.x, c.hit.x);
    EXPECT_EQ(probe.start.y, c.hit.y);
    EXPECT_NEAR(probe.end.x, c.probeEnd.x, 20 * c.tolerance);
    EXPECT_NEAR(probe.end.y, c.probeEnd.y, 20 * c.tolerance);
    // The probe starts with the whole position (its colour too); the new
    // direction and the probe's end are fresh points; the probe keeps its colour.
    EXPECT_EQ(probe.start.color, 7);
    EXPECT_EQ(direction.color, 9);
    EXPECT_EQ(probe.end.color, 9);
    EXPECT_EQ(probe.color, 5);
}

const ReflectCase reflectCases[] = {
    {"bottom wall: the vertical component changes sign", Point(3, 4), Point(5, 0), 90, false, 0, 10, 5,
     Point(2, 4), Point(45, 80), 1e-5f},
    {"right wall: the horizontal component changes sign", Point(3, 4), Point(10, 5), 0, false, 0, 10, 5,
     Point(-7, 1), Point(-130, 25), 0},
    {"corner 1 on the diagonal: straight back, length a", Point(6, 4), Point(10, 0), -45, true, 1, 10, 6,
     Point(-7.0710678f, 7.0710678f), Point(-131.42136f, 141.42136f), 1e-5f},
    {"corner 2 on the diagonal", Point(6, 1), Point(10, 6), 45, true, 2, 10, 6,
     Point(-7.0710678f, -7.0710678f), Point(-131.42136f, -135.42136f), 1e-5f},
    {"corner 1 at 30 degrees leaves along the mirrored line, not straight back", Point(1.34f, 5),
     Point(10, 0), -60, true, 1, 10, 6, Point(-5, 8.6602540f), Point(-90, 173.20508f), 1e-5f},
    {"corner 3 turns the top wall's right end about (0, b)", Point(2, 3), Point(0, 6), -45, true, 3, 10, 6,
     Point(7.0710678f, -7.0710678f), Point(141.42136f, -135.42136f), 1e-5f},
    {"corner 4 turns the bottom wall's right end about the origin", Point(2, 2), Point(0, 0), 45, true, 4, 10,
     6, Point(7.0710678f, 7.0710678f), Point(141.42136f, 141.42136f), 1e-5f},
    {"after a step that went nowhere the direction is zero", Point(5, 2.5f), Point(5, 2.5f), 0, false, 0, 10,
     5, Point(0, 0), Point(5, 2.5f), 0},
    {"an unknown corner turns the origin about the previous position", Point(3, 4), Point(10, 0), 90, true, 7,
     10, 5, Point(4, -3), Point(90, -60), 1e-5f},
};
INSTANTIATE_TEST_SUITE_P(Cases, ReflectDirection, testing::ValuesIn(reflectCases));

// A NaN typed as the direction reaches the first probe line of the trace.
// Arithmetic is free to change its sign (RISC-V makes every NaN it computes
// positive), so the probe must carry it through as it came.
TEST(MakeProbe, CarriesANaNDirectionWithItsSign) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    for (const float sign : {1.0f, -1.0f}) {
        const Segment probe = makeProbe(Point(4.25f, 1), Point(std::copysign(nan, sign), 2));
        EXPECT_TRUE(std::isnan(probe.end.x));
        EXPECT_EQ(std::signbit(probe.end.x), sign < 0) << "sign " << sign;
        EXPECT_EQ(probe.end.y, 41.0f);
    }
}

}  // namespace
