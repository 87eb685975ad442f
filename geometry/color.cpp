#include "color.h"

#include <cstdint>

namespace {

constexpr Rgb colorTable[] = {
    {1.0f, 0.0f, 0.0f},  // 0 red
    {0.0f, 1.0f, 0.0f},  // 1 green
    {0.0f, 0.0f, 1.0f},  // 2 blue
    {1.0f, 1.0f, 0.0f},  // 3 yellow
    {1.0f, 0.5f, 0.0f},  // 4 orange
    {1.0f, 0.0f, 1.0f},  // 5 magenta
    {0.0f, 1.0f, 1.0f},  // 6 cyan
    {0.5f, 0.0f, 0.5f},  // 7 purple
    {1.0f, 1.0f, 1.0f},  // 8 white
    {0.0f, 0.0f, 0.0f},  // 9 black
};

}  // namespace

bool colorComponents(ColorCode code, Rgb& rgb) {
    // Read as unsigned, a negative code is huge and fails the same test as
    // a code above 9.
    const auto index = static_cast<std::uint32_t>(code);
    if (index >= sizeof colorTable / sizeof colorTable[0]) {
        return false;
    }
    rgb = colorTable[index];
    return true;
}
