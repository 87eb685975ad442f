#include "camera.h"

#include <gtest/gtest.h>
#include <cfloat>
#include <cmath>
#include <limits>

namespace {

TEST(CameraFromBox, CentreAndEyeDistanceFollowTheBox) {
    const struct {
        const char* rule;
        Point boxMin, boxMax;
        float centerX, centerY, eyeDistance;
    } cases[] = {
        {"empty scene: the inverted start box", {640.0f, 480.0f}, {0.0f, 0.0f}, 320.0f, 240.0f, 640.0f},
        {"single point: W = 24, H = 6", {12.0f, 3.0f}, {12.0f, 3.0f}, 12.0f, 3.0f, 24.0f},
        {"2W = 12 > H = 10: W, not 2W", {-1.0f, -1.0f}, {5.0f, 9.0f}, 2.0f, 4.0f, 6.0f},
        {"2W = 10 is not > H = 10: H", {-1.0f, -1.0f}, {4.0f, 9.0f}, 1.5f, 4.0f, 10.0f},
        {"10 by 5 table with its walls' overhang", {-0.01f, -0.01f}, {10.01f, 5.01f}, 5.0f, 2.5f, 10.02f},
        {"|min| only: point (-5, -5) in the start box", {-5.0f, -5.0f}, {0.0f, 0.0f}, -2.5f, -2.5f, 5.0f},
    };
    for (const auto& c : cases) {
        const Camera camera = cameraFromBox(c.boxMin, c.boxMax);
        EXPECT_FLOAT_EQ(camera.centerX, c.centerX) << c.rule;
        EXPECT_FLOAT_EQ(camera.centerY, c.centerY) << c.rule;
        EXPECT_FLOAT_EQ(camera.eyeDistance, c.eyeDistance) << c.rule;
    }
}

TEST(CameraFromBox, PointAtTheOriginKeepsTheEyeOffThePlane) {
    const Camera camera = cameraFromBox(Point(0.0f, 0.0f), Point(0.0f, 0.0f));
    EXPECT_FLOAT_EQ(camera.centerX, 0.0f);
    EXPECT_FLOAT_EQ(camera.centerY, 0.0f);
    EXPECT_GT(camera.eyeDistance, 0.0f);
}

TEST(CameraFromBox, InfiniteBoxGivesFiniteCamera) {
    const float inf = std::numeric_limits<float>::infinity();
    const Camera camera = cameraFromBox(Point(640.0f, 3.0f), Point(inf, 3.0f));
    EXPECT_TRUE(std::isfinite(camera.centerX));
    EXPECT_FLOAT_EQ(camera.centerY, 3.0f);
    EXPECT_TRUE(std::isfinite(camera.eyeDistance));
    EXPECT_GT(camera.eyeDistance, 0.0f);
}

struct Ndc {
    double x = 0.0, y = 0.0, z = 0.0;
};

// Where a point of the plane z = 0 lands in normalised device coordinates:
// the model-view translation by (-cx, -cy, -eyeDistance), then the matrix
// gluPerspective builds, then the division by w.
Ndc project(const Camera& camera, const Projection& projection, Point p) {
    const double pi = 3.14159265358979323846;
    const double f = 1.0 / std::tan(projection.fovy / 2.0 * pi / 180.0);
    const double xe = static_cast<double>(p.x) - camera.centerX;
    const double ye = static_cast<double>(p.y) - camera.centerY;
    const double ze = -static_cast<double>(camera.eyeDistance);
    const double n = projection.zNear;
    const double fa = projection.zFar;
    const double w = -ze;
    return {f / projection.aspect * xe / w, f * ye / w,
            ((fa + n) / (n - fa) * ze + 2.0 * fa * n / (n - fa)) / w};
}

TEST(ProjectionFor, WholeBoxIsInViewCentredWithAMarginForEveryWindowShape) {
    const struct {
        const char* name;
        Point boxMin, boxMax;
    } boxes[] = {
        {"0 by 0 table", {-0.01f, -0.01f}, {0.01f, 0.01f}},
        {"10 by 5 table", {-0.01f, -0.01f}, {10.01f, 5.01f}},
        {"10 by 10 table", {-0.01f, -0.01f}, {10.01f, 10.01f}},
        {"5 by 100 table", {-0.01f, -0.01f}, {5.01f, 100.01f}},
        {"1000 by 10 table", {-0.01f, -0.01f}, {1000.01f, 10.01f}},
        {"100000 by 3 table", {-0.01f, -0.01f}, {100000.01f, 3.01f}},
        {"rejected point (12, 3) alone", {12.0f, 3.0f}, {12.0f, 3.0f}},
        {"rejected point (0, 0) alone", {0.0f, 0.0f}, {0.0f, 0.0f}},
        {"rejected point (700, 500) in the start box", {640.0f, 480.0f}, {700.0f, 500.0f}},
        {"empty scene", {640.0f, 480.0f}, {0.0f, 0.0f}},
        {"rejected point (1e-38, 1e-38) alone", {1e-38f, 1e-38f}, {1e-38f, 1e-38f}},
        {"rejected point (1.8e38, 1.8e38) in the start box", {640.0f, 480.0f}, {1.8e38f, 1.8e38f}},
        {"rejected point at the largest float", {640.0f, 480.0f}, {FLT_MAX, FLT_MAX}},
        {"2147483647 by 2147483647 table", {-0.01f, -0.01f}, {2147483647.0f, 2147483647.0f}},
    };
    const struct {
        int width, height;
    } shapes[] = {{640, 480}, {480, 640}, {100, 1000}, {1000, 100}, {1, 1},
                  {640, 0},   {0, 480},   {1, 32767},  {32767, 1}};
    // The box must leave at least 1 % of each half of the window empty.
    const double inside = 0.99;

    for (const auto& box : boxes) {
        const Camera camera = cameraFromBox(box.boxMin, box.boxMax);
        for (const auto& shape : shapes) {
            const Projection projection =
                projectionFor(camera, box.boxMin, box.boxMax, shape.width, shape.height);
            SCOPED_TRACE(testing::Message() << box.name << " at " << shape.width << "x" << shape.height);
            // GL keeps the depth range as floats.
            EXPECT_TRUE(std::isnormal(static_cast<float>(projection.zNear)));
            EXPECT_TRUE(std::isnormal(static_cast<float>(projection.zFar)));
            EXPECT_LT(static_cast<float>(projection.zNear), camera.eyeDistance);
            EXPECT_GT(static_cast<float>(projection.zFar), camera.eyeDistance);
            EXPECT_LT(projection.fovy, 180.0);

            const Point corners[] = {box.boxMin, Point(box.boxMax.x, box.boxMin.y), box.boxMax,
                                     Point(box.boxMin.x, box.boxMax.y)};
            for (int i = 0; i < 4; ++i) {
                SCOPED_TRACE(testing::Message() << "corner " << i);
                const Ndc ndc = project(camera, projection, corners[i]);
                EXPECT_LE(std::fabs(ndc.x), inside);
                EXPECT_LE(std::fabs(ndc.y), inside);
                EXPECT_GT(ndc.z, -1.0);
                EXPECT_LT(ndc.z, 1.0);
                // Centred: opposite corners land opposite each other.
                const Ndc opposite = project(camera, projection, corners[(i + 2) % 4]);
                EXPECT_NEAR(ndc.x, -opposite.x, 1e-6);
                EXPECT_NEAR(ndc.y, -opposite.y, 1e-6);
            }
        }
    }
}

// The projection for a table's box, which starts at (-0.01, -0.01), in a
// width by height window.
Projection tableProjection(Point boxMax, int width, int height) {
    const Point boxMin(-0.01f, -0.01f);
    return projectionFor(cameraFromBox(boxMin, boxMax), boxMin, boxMax, width, height);
}

TEST(ProjectionFor, KeepsTheUsualProjectionWhereItAlreadyFrames) {
    // 10 by 5 at 640 by 480: the box spans about 0.91 of the width and 0.60
    // of the height at 45 degrees.
    const Projection projection = tableProjection(Point(10.01f, 5.01f), 640, 480);
    EXPECT_EQ(projection.viewportWidth, 640);
    EXPECT_EQ(projection.viewportHeight, 480);
    EXPECT_DOUBLE_EQ(projection.fovy, 45.0);
    EXPECT_DOUBLE_EQ(projection.aspect, 640.0 / 480.0);
    EXPECT_DOUBLE_EQ(projection.zNear, 1.0);
    EXPECT_DOUBLE_EQ(projection.zFar, 1000.0);
}

TEST(ProjectionFor, WidensOnlyWhatTheBoxNeeds) {
    // Hand values: a box that needs it fills 1 / 1.05 of the window, so
    // tan(fovy / 2) = 1.05 * half extent / eye.
    const struct {
        const char* rule;
        Point boxMax;
        int width, height;
        double fovy, zNear, zFar;
    } cases[] = {
        {"10 by 10: 1.05 * 5.01 / 10.02 = 0.525", Point(10.01f, 10.01f), 640, 480, 55.3989, 1.0, 1000.0},
        {"0 by 0: eye 0.02 needs a depth range of its own, half to twice it", Point(0.01f, 0.01f), 640, 480,
         55.3989, 0.01, 0.04},
        {"1000 by 10: eye 1000.02 needs a depth range of its own, half to twice it", Point(1000.01f, 10.01f),
         640, 480, 45.0, 500.01001, 2000.04},
        {"10 by 5 in a 40 by 30 window: the 3 pixels clear of the edge outweigh the 5 %: "
         "5.01 * 15 / (10.02 * (20 - 3)) = 0.44118",
         Point(10.01f, 5.01f), 40, 30, 47.6119, 1.0, 1000.0},
        {"10 by 5 in a tall window: 1.05 * 5.01 / (10.02 * 3 / 7) = 1.225", Point(10.01f, 5.01f), 300, 700,
         101.5487, 1.0, 1000.0},
    };
    for (const auto& c : cases) {
        const Projection projection = tableProjection(c.boxMax, c.width, c.height);
        EXPECT_NEAR(projection.fovy, c.fovy, 1e-3) << c.rule;
        EXPECT_NEAR(projection.zNear, c.zNear, 1e-6) << c.rule;
        EXPECT_NEAR(projection.zFar, c.zFar, 1e-3) << c.rule;
    }
}

TEST(ProjectionFor, HeightZeroIsTakenAsOne) {
    const Projection projection = tableProjection(Point(10.01f, 5.01f), 640, 0);
    EXPECT_EQ(projection.viewportWidth, 640);
    EXPECT_EQ(projection.viewportHeight, 1);
    EXPECT_DOUBLE_EQ(projection.aspect, 640.0);
}

}  // namespace
