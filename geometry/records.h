#pragma once

#include <cfloat>
#include <cstdint>

// The plain value records that every part of the program exchanges.
// Coordinates are single-precision floats in the user's own units; every
// record carries a colour code, 9 (black) unless a caller sets it.

// The trace depends on each value being rounded to float or double exactly
// where the code stores or casts it. A target that evaluates float
// expressions in wider registers (x87 on 32-bit x86) rounds elsewhere and
// prints other digits, so such a build is refused.
#if !defined(FLT_EVAL_METHOD) || FLT_EVAL_METHOD != 0
#error "FLT_EVAL_METHOD must be 0: excess float precision changes the trace (x86: -msse2 -mfpmath=sse)"
#endif

// A colour code: 0 to 9 name the colours of colorComponents(); every other
// value, negative ones included, names no colour.
using ColorCode = std::int32_t;

constexpr ColorCode colorRed = 0;
constexpr ColorCode colorGreen = 1;
constexpr ColorCode colorBlue = 2;
constexpr ColorCode colorYellow = 3;
constexpr ColorCode colorOrange = 4;
constexpr ColorCode colorMagenta = 5;
constexpr ColorCode colorCyan = 6;
constexpr ColorCode colorPurple = 7;
constexpr ColorCode colorWhite = 8;
constexpr ColorCode colorBlack = 9;

// A position in the plane, also used as a direction vector.
struct Point {
    float x = 0.0f;
    float y = 0.0f;
    ColorCode color = colorBlack;

    constexpr Point() = default;
    constexpr Point(float px, float py) : x(px), y(py) {}
};

// A straight stretch between two points. The points keep their own colour
// codes, but only the segment's own colour is ever drawn.
struct Segment {
    Point start;
    Point end;
    ColorCode color = colorBlack;

    Segment() = default;
    Segment(Point s, Point e) : start(s), end(e) {}
};

// An unbounded line through origin along direction.
struct Line {
    Point origin;
    Point direction;
    ColorCode color = colorBlack;
};

// A circle outline.
struct Circle {
    Point center;
    float radius = 0.0f;
    ColorCode color = colorBlack;
};
