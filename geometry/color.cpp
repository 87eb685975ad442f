#include "color.h"

#include <cstdint>

namespace {

// Indexed by the colour codes of records.h, colorRed to colorBlack.
constexpr Rgb colorTable[] = {
    {1.0f, 0.0f, 0.0f},  // red
    {0.0f, 1.0f, 0.0f},  // green
    {0.0f, 0.0f, 1.0f},  // blue
    {1.0f, 1.0f, 0.0f},  // yellow
    {1.0f, 0.5f, 0.0f},  // orange
    {1.0f, 0.0f, 1.0f},  // magenta
    {0.0f, 1.0f, 1.0f},  // cyan
    {0.5f, 0.0f, 0.5f},  // purple
    {1.0f, 1.0f, 1.0f},  // white
    {0.0f, 0.0f, 0.0f},  // black
};
static_assert(sizeof colorTable / sizeof colorTable[0] == colorBlack + 1, "one colour for each code");

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
