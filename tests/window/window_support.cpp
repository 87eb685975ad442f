// The parts of the window tests' client that are the same on X11 and on
// Windows: the test display and screenshot files.
#include <cstdlib>
#include <fstream>

#include "x_window.h"

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

TestDisplay useTestDisplay(std::string& display, std::string& problem) {
    std::ifstream file(TEST_DISPLAY_FILE);
    if (file) {
        int number = -1;
        if (!(file >> number) || number < 0) {
            problem = std::string("no display number in ") + TEST_DISPLAY_FILE;
            return TestDisplay::broken;
        }
        display = ":" + std::to_string(number);
#ifdef _WIN32
        const char* own = std::getenv("DISPLAY");
        if (own == nullptr || display != own) {
            problem = "this process was started without DISPLAY=" + display +
                      ", which Wine's X driver reads only at the start: run the tests with ctest";
            return TestDisplay::broken;
        }
#else
        setenv("DISPLAY", display.c_str(), 1);
#endif
        return TestDisplay::ready;
    }
    const char* current = std::getenv("DISPLAY");
    if (current == nullptr || *current == '\0') {
        problem = "no X server: run the tests with ctest, which starts a private Xvfb server";
        return TestDisplay::absent;
    }
    display = current;
    return TestDisplay::ready;
}
