#pragma once

#include "records.h"

// Red, green and blue components of a drawing colour, each 0, 0.5 or 1.
struct Rgb {
    float red = 0.0f;
    float green = 0.0f;
    float blue = 0.0f;
};

// Looks up the colour that code names. Returns false, leaving rgb as it was,
// for every code outside 0 to 9 (negative codes included).
bool colorComponents(ColorCode code, Rgb& rgb);

// Makes the colour that code names the current GL drawing colour with one
// glColor3f call; a code that names no colour makes no call, so the current
// colour stays. Needs a current GL context.
void setColor(ColorCode code);
