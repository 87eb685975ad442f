#pragma once

// A coordinate as the trace prints it: "%.2f" of the float's exact value,
// rounded half to even ("1.12" for 1.125), "-0.00" for negative zero, "inf"
// and "-inf", and for a NaN "nan" or, with its sign bit set, "-nan", as
// glibc prints them. The C libraries differ on the NaN's sign (MinGW-w64's
// prints "nan" for both), so it is written here by hand, and the trace is
// the same on every platform.
struct CoordinateText {
    char text[48] = {};  // room for "-" and the 39 digits of the largest float, ".00"
};

CoordinateText coordinateText(float value);
