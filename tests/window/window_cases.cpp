#include "window_cases.h"

void PrintTo(const WindowCase& c, std::ostream* os) {
    *os << c.name;
}

// e = 10.02 at 45 degrees: 240 / (10.02 * 0.41421) = 57.826; 300 by 200 is
// wide, at 45 degrees: 100 / (10.02 * 0.41421). The table fills 1 / 1.05 of
// the screen's width: 640 / (1.05 * 5.01).
const Table10x5Shapes table10x5Shapes = {{640, 480, 57.826}, {300, 200, 24.094}, {1280, 1024, 121.66}};

// Hand working of the paths, start (2, 1):
//  10 by 5, direction (1, 1): top at (6, 5), then right wall at (10, 1).
//  10 by 10, direction (1, 1): right wall at (10, 9), then top at (9, 10).
//  5 by 100, direction (1, 1): right wall at (5, 4), then left wall at (0, 9).
//  1000 by 10, direction (100, 1): top at (902, 10), then right wall at
//  (1000, 9.02).
const std::vector<WindowCase>& windowCases() {
    // clang-format off
    static const std::vector<WindowCase> cases = {
        // name, input, accepted, a, b, centre, start, first leg, red path, check path, shapes

        // Tall: t = 1.05 * 5.01 / (10.02 * 300 / 700) = 1.2250, 350 / (10.02 * t).
        // Wide: 45 degrees, 100 / (10.02 * 0.41421).
        // In 40 by 30 the 3 pixels that keep the squares off the edge
        // outweigh the margin: t = 5.01 * 15 / (10.02 * (20 - 3)) = 0.44118,
        // 15 / (10.02 * t).
        {"table10x5", "10\n5\n2\n1\n1\n1\n1\n", true, 10, 5, 5, 2.5, {2, 1}, {4, 3}, {8, 3}, true,
         {table10x5Shapes.standard, {300, 700, 28.514}, {1000, 200, table10x5Shapes.small.pixelsPerUnit},
          {40, 30, 3.3931, "a window with a caption is at least as wide as the caption's buttons"}}},
        // e = 10.02, t = 1.05 * 5.01 / 10.02 = 0.525: 240 / (10.02 * 0.525).
        {"table10x10", "10\n10\n2\n1\n1\n1\n1\n", true, 10, 10, 5, 5, {2, 1}, {6, 5}, {9.5, 9.5}, true,
         {{640, 480, 45.623}}},
        // e = 100.02, t = 1.05 * 50.01 / 100.02 = 0.525: 240 / (100.02 * 0.525).
        {"table5x100", "5\n100\n2\n1\n1\n1\n1\n", true, 5, 100, 2.5, 50, {2, 1}, {3.5, 2.5}, {2.5, 6.5}, true,
         {{640, 480, 4.5705}}},
        // e = 1000.02 at 45 degrees: 240 / (1000.02 * 0.41421).
        {"table1000x10", "1000\n10\n2\n1\n100\n1\n1\n", true, 1000, 10, 500, 5, {2, 1}, {452, 5.5},
         {951, 9.51}, true, {{640, 480, 0.57941}}},
        // e = 0.02, t = 1.05 * 0.01 / 0.02 = 0.525: 240 / (0.02 * 0.525). The
        // walls cross at the start point; the path has no length to find.
        {"table0x0", "0\n0\n0\n0\n1\n1\n1\n", true, 0, 0, 0, 0, {0, 0}, {0, 0}, {0, 0}, false,
         {{640, 480, 22857.1}}},
        // The start point alone, at the centre; e = 24 at 45 degrees.
        {"rejectedStartPoint", "10\n5\n12\n3\n1\n1\n1\n", false, 10, 5, 12, 3, {12, 3}, {12, 3}, {12, 3},
         false, {{640, 480, 24.142}}},
        // Near the float limits the depth range must stay in normal floats.
        // A point next to the smallest normal float, alone at the centre:
        {"tinyRejectedStartPoint", "-1\n-1\n1e-38\n1e-38\n1\n1\n0\n", false, -1, -1, 1e-38, 1e-38,
         {1e-38, 1e-38}, {1e-38, 1e-38}, {1e-38, 1e-38}, false, {{640, 480, 1e40}}},
        // The box from (640, 480) to (1.8e38, 1.8e38) is centred on 9e37 and
        // fills 1 / 1.05 of the height: 240 / (1.05 * 9e37); the point is in
        // the top right corner.
        {"hugeRejectedStartPoint", "10\n10\n1.8e38\n1.8e38\n1\n1\n0\n", false, 10, 10, 9e37, 9e37,
         {1.8e38, 1.8e38}, {1.8e38, 1.8e38}, {1.8e38, 1.8e38}, false, {{640, 480, 2.5397e-36}}},
    };
    // clang-format on
    return cases;
}
