// The geometry kernel on arbitrary floats (NaNs, infinities, huge and tiny
// values): segment intersection, the transforms and the angle between two
// vectors. Undefined behaviour is caught by the sanitizers; the checks below
// hold the functions to their contracts.
#include <cmath>
#include <cstdint>
#include <cstring>

#include "fuzz_support.h"
#include "intersect.h"
#include "transform.h"

namespace {

// A signalling NaN: arithmetic only ever makes quiet ones, so a crossing that
// still holds these bits was not written.
constexpr std::uint32_t unwrittenBits = 0x7f8badbdu;
constexpr ColorCode unwrittenColor = -12345;

// Transforms are checked for lengths on values up to this size, where no
// product can overflow a float.
constexpr float moderate = 1.0e15f;
// Relative error allowed for a length kept by a transform: each matrix entry
// and each image coordinate is rounded to float a few times.
constexpr double lengthTolerance = 1.0e-5;

bool finite(Point p) {
    return std::isfinite(p.x) && std::isfinite(p.y);
}

bool isModerate(Point p) {
    return std::fabs(p.x) <= moderate && std::fabs(p.y) <= moderate;
}

Point anyPoint(FuzzedDataProvider& provider) {
    const float x = anyFloat(provider);
    const float y = anyFloat(provider);
    return Point(x, y);
}

double distance(Point p, Point q) {
    return std::hypot(static_cast<double>(p.x) - q.x, static_cast<double>(p.y) - q.y);
}

void checkIntersection(FuzzedDataProvider& provider) {
    const Point p1 = anyPoint(provider);
    const Point p2 = anyPoint(provider);
    const Point q1 = anyPoint(provider);
    const Point q2 = anyPoint(provider);
    const Segment first(p1, p2);
    const Segment second(q1, q2);

    float unwritten;
    std::memcpy(&unwritten, &unwrittenBits, sizeof unwritten);
    Point crossing(unwritten, unwritten);
    crossing.color = unwrittenColor;
    const int result = intersectSegments(first, second, crossing);

    FUZZ_CHECK(result == segmentsApart || result == segmentsCross || result == segmentsOverlap);
    FUZZ_CHECK(crossing.color == unwrittenColor);
    if (result != segmentsCross) {
        FUZZ_CHECK(floatBits(crossing.x) == unwrittenBits && floatBits(crossing.y) == unwrittenBits);
        return;
    }
    FUZZ_CHECK(floatBits(crossing.x) != unwrittenBits && floatBits(crossing.y) != unwrittenBits);
    // The crossing lies on the first segment, up to the rounding of the
    // segment's extent and of the point itself.
    if (finite(p1) && finite(p2) && finite(crossing)) {
        const double slackX = 1.0e-6 * (std::fabs(p1.x) + std::fabs(p2.x));
        const double slackY = 1.0e-6 * (std::fabs(p1.y) + std::fabs(p2.y));
        FUZZ_CHECK(crossing.x >= std::fmin(p1.x, p2.x) - slackX &&
                   crossing.x <= std::fmax(p1.x, p2.x) + slackX);
        FUZZ_CHECK(crossing.y >= std::fmin(p1.y, p2.y) - slackY &&
                   crossing.y <= std::fmax(p1.y, p2.y) + slackY);
    }
}

// A turn, and a mirror at the two angles in use (0 and 90), keep the
// distance to the centre; no transform touches the point's colour.
void checkTransforms(FuzzedDataProvider& provider) {
    const Point centre = anyPoint(provider);
    const Point original = anyPoint(provider);
    const float angle = anyFloat(provider);
    const ColorCode color = provider.ConsumeIntegral<ColorCode>();
    const float mirrorAngle = provider.ConsumeBool() ? 90.0f : 0.0f;

    Point turned = original;
    turned.color = color;
    rotatePoint(centre, angle, &turned);
    FUZZ_CHECK(turned.color == color);

    Point mirrored = original;
    mirrored.color = color;
    mirrorPoint(centre, mirrorAngle, &mirrored);
    FUZZ_CHECK(mirrored.color == color);

    Point skewed = original;  // other mirror angles give no isometry
    skewed.color = color;
    mirrorPoint(centre, angle, &skewed);
    FUZZ_CHECK(skewed.color == color);

    if (isModerate(centre) && isModerate(original)) {
        const double before = distance(original, centre);
        const double bound =
            lengthTolerance * (distance(original, Point()) + distance(centre, Point())) + 1e-30;
        FUZZ_CHECK(std::fabs(distance(mirrored, centre) - before) <= bound);
        if (std::isfinite(angle)) {
            FUZZ_CHECK(std::fabs(distance(turned, centre) - before) <= bound);
        }
    }
}

// The product is added into the result; by the identity into zeros it is
// the left matrix itself, exactly, when every entry is finite.
void checkMatrixProduct(FuzzedDataProvider& provider) {
    Matrix3 left;
    Matrix3 right;
    Matrix3 result;
    bool allFinite = true;
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < 3; ++c) {
            left.m[r][c] = anyFloat(provider);
            right.m[r][c] = anyFloat(provider);
            result.m[r][c] = anyFloat(provider);
            allFinite = allFinite && std::isfinite(left.m[r][c]);
        }
    }
    multiplyMatrix3(left, right, &result);

    Matrix3 identity;
    for (int i = 0; i < 3; ++i) {
        identity.m[i][i] = 1.0f;
    }
    Matrix3 copy;
    multiplyMatrix3(left, identity, &copy);
    if (allFinite) {
        for (int r = 0; r < 3; ++r) {
            for (int c = 0; c < 3; ++c) {
                FUZZ_CHECK(floatBits(copy.m[r][c]) == floatBits(left.m[r][c]) ||
                           (copy.m[r][c] == 0.0f && left.m[r][c] == 0.0f));
            }
        }
    }
}

// 0 to 180 for any two finite vectors (a zero one gives 0); NaN is possible
// only when a component is NaN or infinite. The order does not matter.
void checkAngle(FuzzedDataProvider& provider) {
    const Point u = anyPoint(provider);
    const Point v = anyPoint(provider);
    const float angle = angleBetween(u, v);
    const float reversed = angleBetween(v, u);
    FUZZ_CHECK(floatBits(angle) == floatBits(reversed) || (std::isnan(angle) && std::isnan(reversed)));
    if (finite(u) && finite(v)) {
        FUZZ_CHECK(angle >= 0.0f && angle <= 180.0f);
    } else {
        FUZZ_CHECK(std::isnan(angle) || (angle >= 0.0f && angle <= 180.0f));
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    FuzzedDataProvider provider(data, size);
    checkIntersection(provider);
    checkTransforms(provider);
    checkMatrixProduct(provider);
    checkAngle(provider);
    return 0;
}
