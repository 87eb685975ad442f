#include "picture_checks.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <iostream>

const char* const windowTitle = "Bilijar - prikaz";

// Pixel positions are predicted from the unrounded projection; lines and
// 4-pixel points land within this many pixels of it.
constexpr int positionTolerance = 3;

double deadline(double seconds) {
    return seconds * BILIJAR_TEST_TIME_FACTOR;
}

bool leftOutOnWindows(const char* notOnWindows, const std::string& what) {
#ifdef _WIN32
    if (notOnWindows != nullptr) {
        std::cout << "not checked on Windows: " << what << ": " << notOnWindows << std::endl;
        return true;
    }
#else
    (void)notOnWindows;
    (void)what;
#endif
    return false;
}

namespace {

// Whether two colours are the same within the rounding of the background.
bool near(Rgb8 a, Rgb8 b) {
    return std::abs(a.red - b.red) <= colourTolerance && std::abs(a.green - b.green) <= colourTolerance &&
           std::abs(a.blue - b.blue) <= colourTolerance;
}

struct PixelPosition {
    double x;
    double y;
};

// Window pixel (column, row from the top) where the plane point p appears.
PixelPosition toPixel(const WindowCase& c, const Shape& shape, PlanePoint p) {
    return {shape.width / 2.0 + (p.x - c.cx) * shape.pixelsPerUnit,
            shape.height / 2.0 - (p.y - c.cy) * shape.pixelsPerUnit};
}

bool colourNear(const Image& image, PixelPosition at, Rgb8 colour) {
    for (int dy = -positionTolerance; dy <= positionTolerance; ++dy) {
        for (int dx = -positionTolerance; dx <= positionTolerance; ++dx) {
            const int x = static_cast<int>(at.x) + dx;
            const int y = static_cast<int>(at.y) + dy;
            if (x >= 0 && y >= 0 && x < image.width && y < image.height && near(image.at(x, y), colour)) {
                return true;
            }
        }
    }
    return false;
}

struct Extent {
    int count = 0;
    int left = 0;
    int right = -1;
    int top = 0;
    int bottom = -1;
};

Extent extentOf(const Image& image, Rgb8 colour) {
    Extent extent;
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            if (!near(image.at(x, y), colour)) {
                continue;
            }
            if (extent.count++ == 0) {
                extent.left = extent.right = x;
                extent.top = extent.bottom = y;
            }
            extent.left = std::min(extent.left, x);
            extent.right = std::max(extent.right, x);
            extent.top = std::min(extent.top, y);
            extent.bottom = std::max(extent.bottom, y);
        }
    }
    return extent;
}

bool borderIsBackground(const Image& image) {
    for (int x = 0; x < image.width; ++x) {
        if (!near(image.at(x, 0), background) || !near(image.at(x, image.height - 1), background)) {
            return false;
        }
    }
    for (int y = 0; y < image.height; ++y) {
        if (!near(image.at(0, y), background) || !near(image.at(image.width - 1, y), background)) {
            return false;
        }
    }
    return true;
}

bool cornersAreBackground(const Image& image) {
    return near(image.at(0, 0), background) && near(image.at(image.width - 1, 0), background) &&
           near(image.at(0, image.height - 1), background) &&
           near(image.at(image.width - 1, image.height - 1), background);
}

}  // namespace

bool waitForPicture(XConnection& x, Window window, int width, int height, Image& image) {
    Image previous;
    return waitUntil(deadline(10.0), [&] {
        if (!x.grab(window, image) || image.width != width || image.height != height ||
            !cornersAreBackground(image)) {
            return false;
        }
        const bool same =
            previous.width == width && previous.height == height && previous.pixels == image.pixels;
        previous = image;
        return same;
    });
}

void saveScreenshot(const Image& image, const std::string& name) {
    std::error_code ignored;  // a folder that cannot be made shows in the write
    std::filesystem::create_directories(SCREENSHOT_DIR, ignored);
    const std::string path = std::string(SCREENSHOT_DIR) + "/" + name + ".ppm";
    EXPECT_TRUE(writePpm(image, path)) << "cannot write the screenshot " << path;
}

void checkPicture(const WindowCase& c, const Shape& shape, const Image& image) {
    SCOPED_TRACE(std::string(c.name) + " at " + std::to_string(shape.width) + "x" +
                 std::to_string(shape.height));

    int strangePixels = 0;
    for (const Rgb8& pixel : image.pixels) {
        if (!near(pixel, background) && !near(pixel, black) && !near(pixel, red) && !near(pixel, blue)) {
            ++strangePixels;
        }
    }
    EXPECT_EQ(strangePixels, 0) << "only the background, black, red and blue are drawn";
    EXPECT_TRUE(borderIsBackground(image)) << "something is drawn at the window's edge";

    EXPECT_TRUE(colourNear(image, toPixel(c, shape, c.start), blue)) << "blue start point";
    const Extent walls = extentOf(image, black);
    const Extent path = extentOf(image, red);
    if (!c.accepted) {
        EXPECT_EQ(walls.count, 0) << "a rejected start point is drawn alone";
        EXPECT_EQ(path.count, 0) << "a rejected start point is drawn alone";
        const Extent point = extentOf(image, blue);
        EXPECT_LE(point.right - point.left, 4) << "one 4-pixel point";
        EXPECT_LE(point.bottom - point.top, 4) << "one 4-pixel point";
        return;
    }

    // The walls span the box from (-0.01, -0.01) to (a + 0.01, b + 0.01),
    // with a 4-pixel point at each end. A 4-pixel point centred on x covers
    // the pixels whose centres lie in [x - 2, x + 2): columns x - 2 to x + 1,
    // and rows from the top y - 2 to y + 1.
    const PixelPosition lowerLeft = toPixel(c, shape, {-0.01, -0.01});
    const PixelPosition upperRight = toPixel(c, shape, {c.a + 0.01, c.b + 0.01});
    ASSERT_GT(walls.count, 0) << "black walls";
    EXPECT_NEAR(walls.left, lowerLeft.x - pointReach, positionTolerance) << "left wall";
    EXPECT_NEAR(walls.right, upperRight.x + pointReach - 1, positionTolerance) << "right wall";
    EXPECT_NEAR(walls.top, upperRight.y - pointReach, positionTolerance) << "top wall";
    EXPECT_NEAR(walls.bottom, lowerLeft.y + pointReach - 1, positionTolerance) << "bottom wall";

    if (c.checkPath) {
        EXPECT_GT(path.count, 0) << "red path";
        EXPECT_TRUE(colourNear(image, toPixel(c, shape, c.redSample), red)) << "red path";
        EXPECT_TRUE(colourNear(image, toPixel(c, shape, c.firstLegMiddle), blue)) << "blue first leg";
    }
}
