// setColor inside a real GL context: a small GLUT window of this test
// process, on the X server named by DISPLAY.

#include <GL/glut.h>
#include <gtest/gtest.h>
#include <string>

#include "color.h"
#include "x_window.h"

namespace {

// Makes a GL context current, once per process (GLUT can be initialised
// only once). False when the X server named by DISPLAY cannot be reached.
bool makeGlContext() {
    static bool made = false;
    if (made) {
        return true;
    }
    // glutInit ends the process when it cannot open the display; ask first.
    // The probe stays connected until GLUT is: an X server that loses its
    // last client resets, and refuses connections while it does.
    const XConnection probe;
    if (probe.display() == nullptr) {
        return false;
    }
    static char name[] = "set_color_test";
    static char* argv[] = {name, nullptr};
    int argc = 1;
    glutInit(&argc, argv);
    glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE);
    glutInitWindowSize(64, 64);
    glutCreateWindow("setColor test");
    made = true;
    return true;
}

#define REQUIRE_GL_CONTEXT()                                                        \
    do {                                                                            \
        REQUIRE_TEST_DISPLAY(display);                                              \
        ASSERT_TRUE(makeGlContext()) << "cannot reach the X server at " << display; \
    } while (false)

struct Colour {
    float red;
    float green;
    float blue;
};

Colour currentColour() {
    GLfloat rgba[4] = {-1.0f, -1.0f, -1.0f, -1.0f};
    glGetFloatv(GL_CURRENT_COLOR, rgba);
    return {rgba[0], rgba[1], rgba[2]};
}

// A colour no code names, so that a code that makes no call shows.
void setUnnamedColour() {
    glColor3f(0.25f, 0.25f, 0.25f);
}

// The table itself is checked without GL (ColorComponents); here each code
// must reach GL as that colour.
TEST(SetColorInGlContext, EachCodeFromZeroToNineSetsItsColour) {
    REQUIRE_GL_CONTEXT();
    for (ColorCode code = colorRed; code <= colorBlack; ++code) {
        Rgb expected;
        ASSERT_TRUE(colorComponents(code, expected)) << "code " << code;
        setUnnamedColour();
        setColor(code);
        const Colour colour = currentColour();
        EXPECT_FLOAT_EQ(colour.red, expected.red) << "code " << code;
        EXPECT_FLOAT_EQ(colour.green, expected.green) << "code " << code;
        EXPECT_FLOAT_EQ(colour.blue, expected.blue) << "code " << code;
    }
}

TEST(SetColorInGlContext, CodesOutsideTheTableLeaveTheColourAsItWas) {
    REQUIRE_GL_CONTEXT();
    for (const ColorCode code : {10, -1}) {
        setColor(colorBlue);
        setColor(code);
        const Colour colour = currentColour();
        EXPECT_FLOAT_EQ(colour.red, 0.0f) << "code " << code;
        EXPECT_FLOAT_EQ(colour.green, 0.0f) << "code " << code;
        EXPECT_FLOAT_EQ(colour.blue, 1.0f) << "code " << code;
    }
}

}  // namespace
