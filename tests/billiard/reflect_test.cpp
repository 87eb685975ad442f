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

INSTANTIATE_TEST_SUITE_P(
    Cases, ReflectDirection,
    testing::Values(ReflectCase{"bottom wall: the vertical component changes sign",
                                {3, 4},
                                {5, 0},
                                90,
                                false,
                                0,
                                10,
                                5,
                                {2, 4},
                                {45, 80},
                                1e-5f},
                    ReflectCase{"right wall: the horizontal component changes sign",
                                {3, 4},
                                {10, 5},
                                0,
                                false,
                                0,
                                10,
                                5,
                                {-7, 1},
                                {-130, 25},
                                0},
                    ReflectCase{"corner 1 on the diagonal: straight back, length a",
                                {6, 4},
                                {10, 0},
                                -45,
                                true,
                                1,
                                10,
                                6,
                                {-7.0710678f, 7.0710678f},
                                {-131.42136f, 141.42136f},
                                1e-5f},
                    ReflectCase{"corner 2 on the diagonal",
                                {6, 1},
                                {10, 6},
                                45,
                                true,
                                2,
                                10,
                                6,
                                {-7.0710678f, -7.0710678f},
                                {-131.42136f, -135.42136f},
                                1e-5f},
                    ReflectCase{"corner 1 at 30 degrees leaves along the mirrored line, not straight back",
                                {1.34f, 5},
                                {10, 0},
                                -60,
                                true,
                                1,
                                10,
                                6,
                                {-5, 8.6602540f},
                                {-90, 173.20508f},
                                1e-5f},
                    ReflectCase{"corner 3 turns the top wall's right end about (0, b)",
                                {2, 3},
                                {0, 6},
                                -45,
                                true,
                                3,
                                10,
                                6,
                                {7.0710678f, -7.0710678f},
                                {141.42136f, -135.42136f},
                                1e-5f},
                    ReflectCase{"corner 4 turns the bottom wall's right end about the origin",
                                {2, 2},
                                {0, 0},
                                45,
                                true,
                                4,
                                10,
                                6,
                                {7.0710678f, 7.0710678f},
                                {141.42136f, 141.42136f},
                                1e-5f},
                    ReflectCase{"after a step that went nowhere the direction is zero",
                                {5, 2.5f},
                                {5, 2.5f},
                                0,
                                false,
                                0,
                                10,
                                5,
                                {0, 0},
                                {5, 2.5f},
                                0},
                    ReflectCase{"an unknown corner turns the origin about the previous position",
                                {3, 4},
                                {10, 0},
                                90,
                                true,
                                7,
                                10,
                                5,
                                {4, -3},
                                {90, -60},
                                1e-5f}));

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
