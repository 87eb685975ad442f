// Checks a picture of the page's canvas with the window tests' own check:
//   picture_check CASE WIDTH HEIGHT SCALE PICTURE.ppm
//   picture_check --list     the table's rows: name, shapes (640x480,300x700)
//                            and the answers, one row a line
// CASE names a row of the window tests' table and WIDTH by HEIGHT one of its
// shapes; SCALE is the page's device pixel ratio, by which the picture has
// SCALE times the shape's pixels. The browser tests write the PPM (P6) from
// the browser's screenshot; a failed check is named in the output and the
// exit status is 1.

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

#include "picture_checks.h"

namespace {

const WindowCase* checkedCase = nullptr;
Shape checkedShape{};
Image picture;

bool readPpm(const char* path, Image& image) {
    std::ifstream file(path, std::ios::binary);
    std::string magic;
    int maximum = 0;
    if (!(file >> magic >> image.width >> image.height >> maximum) || magic != "P6" || maximum != 255 ||
        image.width <= 0 || image.height <= 0 || file.get() == EOF) {
        return false;
    }
    image.pixels.resize(static_cast<size_t>(image.width) * image.height);
    for (Rgb8& pixel : image.pixels) {  // (a braced list is read left to right)
        pixel = {static_cast<std::uint8_t>(file.get()), static_cast<std::uint8_t>(file.get()),
                 static_cast<std::uint8_t>(file.get())};
    }
    return file.good();  // no byte was missing
}

}  // namespace

TEST(BrowserPicture, isWhereTheCameraPutsIt) {
    ASSERT_EQ(picture.width, checkedShape.width) << "the canvas's width in pixels";
    ASSERT_EQ(picture.height, checkedShape.height) << "the canvas's height in pixels";
    checkPicture(*checkedCase, checkedShape, picture);
}

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    if (argc == 2 && std::strcmp(argv[1], "--list") == 0) {
        // The rows for the browser: name, shapes and the answers that draw it.
        for (const WindowCase& c : windowCases()) {
            std::string shapes;
            for (const Shape& shape : c.shapes) {
                shapes += (shapes.empty() ? "" : ",") + std::to_string(shape.width) + "x" +
                          std::to_string(shape.height);
            }
            std::string answers = c.input;
            std::replace(answers.begin(), answers.end(), '\n', ' ');
            std::printf("%s %s %s\n", c.name, shapes.c_str(), answers.c_str());
        }
        return 0;
    }
    const double scale = argc == 6 ? std::atof(argv[4]) : 0;
    if (scale <= 0) {
        std::fputs("usage: picture_check CASE WIDTH HEIGHT SCALE PICTURE.ppm\n", stderr);
        return 2;
    }
    for (const WindowCase& c : windowCases()) {
        for (const Shape& shape : c.shapes) {
            if (std::strcmp(c.name, argv[1]) == 0 && shape.width == std::atoi(argv[2]) &&
                shape.height == std::atoi(argv[3])) {
                checkedCase = &c;
                checkedShape = {static_cast<int>(shape.width * scale), static_cast<int>(shape.height * scale),
                                shape.pixelsPerUnit * scale};
            }
        }
    }
    if (checkedCase == nullptr) {
        std::fprintf(stderr, "no shape %sx%s of a case %s in the window tests' table\n", argv[2], argv[3],
                     argv[1]);
        return 2;
    }
    if (!readPpm(argv[5], picture)) {
        std::fprintf(stderr, "%s: not a binary PPM with 8-bit colours\n", argv[5]);
        return 2;
    }
    return RUN_ALL_TESTS();
}
