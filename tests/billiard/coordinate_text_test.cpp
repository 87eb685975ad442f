#include "coordinate_text.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <limits>
#include <string>

namespace {

struct TextCase {
    const char* rule;
    float value;
    const char* text;
};

// The texts are glibc's "%.2f"; every platform must print the same.
TEST(CoordinateText, PrintsTwoDecimalsAndNamesTheSpecialValues) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const TextCase cases[] = {
        {"an exact tie rounds to even, down", 1.125f, "1.12"},
        {"an exact tie rounds to even, up", 0.375f, "0.38"},
        {"the float nearest 2.675 lies below the tie", 2.675f, "2.67"},
        {"negative zero keeps its sign", -0.0f, "-0.00"},
        {"a negative value rounding to zero keeps its sign", -0.001f, "-0.00"},
        {"the largest float prints all its digits", FLT_MAX, "340282346638528859811704183484516925440.00"},
        {"the most negative float", -FLT_MAX, "-340282346638528859811704183484516925440.00"},
        {"infinity", std::numeric_limits<float>::infinity(), "inf"},
        {"negative infinity", -std::numeric_limits<float>::infinity(), "-inf"},
        {"a NaN", std::copysign(nan, 1.0f), "nan"},
        {"a NaN with its sign bit set", std::copysign(nan, -1.0f), "-nan"},
    };
    for (const TextCase& c : cases) {
        EXPECT_EQ(std::string(coordinateText(c.value).text), c.text) << c.rule;
    }
}

}  // namespace
