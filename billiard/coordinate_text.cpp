#include "coordinate_text.h"

#include <cmath>
#include <cstdio>

CoordinateText coordinateText(float value) {
    CoordinateText result;
    if (std::isnan(value)) {
        std::snprintf(result.text, sizeof result.text, "%s", std::signbit(value) ? "-nan" : "nan");
    } else {
        std::snprintf(result.text, sizeof result.text, "%.2f", static_cast<double>(value));
    }
    return result;
}
