// What the window tests share on X11 and on Windows: the test display, the
// program's window and screenshot files.
#include <cstdlib>
#include <fstream>

#include "picture_checks.h"

bool writePpm(const Image& image, const std::string& path) {
    std::ofstream file(path, std::ios::binary);
    file << "P6\n" << image.width << ' ' << image.height << "\n255\n";
    for (const Rgb8& pixel : image.pixels) {
        file.put(static_cast<char>(pixel.red))
            .put(static_cast<char>(pixel.green))
            .put(static_cast<char>(pixel.blue));
    }
    return static_cast<bool>(file.flush());
}

void WindowTest::SetUp() {
    std::ifstream file(TEST_DISPLAY_FILE);
    if (file) {
        int number = -1;
        ASSERT_TRUE(file >> number && number >= 0) << "no display number in " << TEST_DISPLAY_FILE;
        display = ":" + std::to_string(number);
#ifdef _WIN32
        const char* own = std::getenv("DISPLAY");
        ASSERT_TRUE(own != nullptr && display == own)
            << "this process was started without DISPLAY=" << display
            << ", which Wine's X driver reads only at the start: run the tests with ctest";
#else
        setenv("DISPLAY", display.c_str(), 1);
#endif
    } else {
        const char* current = std::getenv("DISPLAY");
        if (current == nullptr || *current == '\0') {
            GTEST_SKIP() << "no X server: run the tests with ctest, which starts a private Xvfb server";
        }
        display = current;
    }
    x = std::make_unique<XConnection>();
    ASSERT_NE(x->display(), nullptr) << "cannot reach the X server at DISPLAY=" << display;
    ASSERT_EQ(x->waitForWindow(windowTitle, 0.0), Window{}) << "a window of an earlier run is still open";
}

void WindowTest::start(ProgramSetup setup) {
    setup.display = display;
    guard.program = startProgram(BILIJAR_PATH, setup);
    window = x->waitForWindow(windowTitle, deadline(20.0));
    ASSERT_NE(window, Window{}) << "no window titled \"" << windowTitle << "\" appeared";
}

void WindowTest::showsPicture(const WindowCase& c, const Shape& shape, const std::string& name) {
    Image image;
    const bool drawn = waitForPicture(*x, window, shape.width, shape.height, image);
    saveScreenshot(image, name + "-" + std::to_string(shape.width) + "x" + std::to_string(shape.height));
    ASSERT_TRUE(drawn) << "no finished " << shape.width << "x" << shape.height << " picture; last grab "
                       << image.width << "x" << image.height;
    checkPicture(c, shape, image);
}
