#pragma once

// The scenes that the window tests draw, with where each thing must appear:
// plain data, no X and no GL, so that every test of the picture reads the
// same table.

#include <cstdint>
#include <ostream>
#include <vector>

// A colour as the screen shows it, 8 bits a component.
struct Rgb8 {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    bool operator==(const Rgb8& other) const {
        return red == other.red && green == other.green && blue == other.blue;
    }
};

// The background (0.9, 0.9, 0.8) and the three colours that a run draws
// with.
constexpr Rgb8 background{230, 230, 204};
constexpr Rgb8 black{0, 0, 0};
constexpr Rgb8 red{255, 0, 0};
constexpr Rgb8 blue{0, 0, 255};
// Rounding of 0.9 * 255 = 229.5 may go either way; drawn colours are exact.
constexpr int colourTolerance = 2;
// A 4-pixel point reaches this far beyond its vertex.
constexpr double pointReach = 2.0;

// A window shape and the scale at which it shows the scene, in pixels per
// unit, worked by hand: the eye at distance e sees e * t above and below the
// centre, t = tan(fovy / 2); the box fills 1 / 1.05 of the window on its
// tighter side unless 45 degrees (t = 0.41421) already shows it.
struct Shape {
    int width;
    int height;
    double pixelsPerUnit;
    const char* notOnWindows = nullptr;  // why Windows cannot show this shape
};

// The 10 by 5 table (the first case) in the windows of the tests of the
// window's geometry and of the window manager.
struct Table10x5Shapes {
    Shape standard;  // 640 by 480, the window's default size
    Shape small;     // 300 by 200
    Shape screen;    // 1280 by 1024, the test screen
};
extern const Table10x5Shapes table10x5Shapes;

// A point of the scene's plane.
struct PlanePoint {
    double x;
    double y;
};

struct WindowCase {
    const char* name;
    const char* input;
    bool accepted;              // the start point lies in the rectangle
    double a, b;                // the rectangle; its walls reach 0.01 beyond it
    double cx, cy;              // the box's centre, shown at the window's centre
    PlanePoint start;           // the blue start point
    PlanePoint firstLegMiddle;  // on the blue first leg
    PlanePoint redSample;       // on the red path
    bool checkPath;             // whether the legs are long enough to find
    std::vector<Shape> shapes;
};

// Names the case in test output instead of dumping its bytes.
void PrintTo(const WindowCase& c, std::ostream* os);

// The table; the first case is the README's example, the 10 by 5 table.
const std::vector<WindowCase>& windowCases();
