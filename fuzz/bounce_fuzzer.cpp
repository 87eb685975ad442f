// Whole runs of the wall-hit step and the reflection from arbitrary tables,
// start points, directions and bounce counts. Checks what a run leaves in the
// scene: the start point, four walls per step, and a path of one leg per step
// whose legs join up; nothing at all beyond the start point when it is
// rejected.
#include <algorithm>
#include <cstdint>
#include <iterator>

#include "fuzz_support.h"
#include "run.h"

namespace {

// Mostly small values, where balls bounce about and reach corners; sometimes
// any float at all.
float fuzzedCoordinate(FuzzedDataProvider& provider) {
    if (provider.ConsumeBool()) {
        return anyFloat(provider);
    }
    return static_cast<float>(provider.ConsumeIntegralInRange<int>(-2000, 2000)) / 16.0f;
}

int fuzzedSide(FuzzedDataProvider& provider) {
    if (provider.ConsumeBool()) {
        return provider.ConsumeIntegral<int>();
    }
    return provider.ConsumeIntegralInRange<int>(-2, 40);
}

bool same(Point p, Point q) {
    return floatBits(p.x) == floatBits(q.x) && floatBits(p.y) == floatBits(q.y);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    static std::FILE* const silenced = std::freopen("/dev/null", "w", stdout);
    FUZZ_CHECK(silenced != nullptr);
    resetScene();

    FuzzedDataProvider provider(data, size);
    const int a = fuzzedSide(provider);
    const int b = fuzzedSide(provider);
    const float startX = fuzzedCoordinate(provider);
    const float startY = fuzzedCoordinate(provider);
    const float directionX = fuzzedCoordinate(provider);
    const float directionY = fuzzedCoordinate(provider);
    // Counts outside 0 to 98 included: the run must limit them.
    const int count = provider.ConsumeBool() ? provider.ConsumeIntegral<int>()
                                             : provider.ConsumeIntegralInRange<int>(0, maxBounceCount);
    const Point start(startX, startY);

    runBilliard(a, b, start, Point(directionX, directionY), count);

    FUZZ_CHECK(scenePoints.size() == 1);
    FUZZ_CHECK(same(scenePoints.front(), start) && scenePoints.front().color == colorBlue);

    const bool inside = static_cast<double>(startX) >= 0.0 && static_cast<double>(startX) <= a &&
                        static_cast<double>(startY) >= 0.0 && static_cast<double>(startY) <= b;
    if (!inside) {
        FUZZ_CHECK(sceneSegments.empty());
        return 0;
    }

    const size_t steps = static_cast<size_t>(std::clamp(count, 0, maxBounceCount)) + 1;
    const auto walls = static_cast<size_t>(std::count_if(
        sceneSegments.begin(), sceneSegments.end(), [](const Segment& s) { return s.color == colorBlack; }));
    FUZZ_CHECK(walls == 4 * steps);
    FUZZ_CHECK(sceneSegments.size() == 5 * steps);

    // The walls come first, then the red legs in path order, then the blue
    // first leg from the start point; each leg starts where the last ended.
    auto leg = std::next(sceneSegments.begin(), static_cast<std::ptrdiff_t>(walls));
    const Segment firstLeg = sceneSegments.back();
    FUZZ_CHECK(firstLeg.color == colorBlue && same(firstLeg.start, start));
    Point reached = firstLeg.end;
    for (size_t i = 1; i < steps; ++i, ++leg) {
        FUZZ_CHECK(leg->color == colorRed);
        FUZZ_CHECK(same(leg->start, reached));
        reached = leg->end;
    }
    return 0;
}
