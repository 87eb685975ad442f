// setColor inside a real GL context: a small GLUT window of this test
// process, on the test display.

#include <GL/glut.h>
#include <gtest/gtest.h>
#include <string>

#include "color.h"
#include "picture_checks.h"

namespace {

// A GL context made current once per process (GLUT can be initialised only
// once), on the test display, which the fixture has reached by then:
// glutInit ends the process when it cannot open the display. The fixture's
// connection stays open until GLUT's is: an X server that loses its last
// client resets, and refuses connections while it does.
class SetColorInGlContext : public WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        static bool made = false;
        if (made || HasFatalFailure() || IsSkipped()) {
            return;
        }
        static char name[] = "set_color_test";
        static char* argv[] = {name, nullptr};
        int argc = 1;
        glutInit(&argc, argv);
        glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE);
        glutInitWindowSize(64, 64);
        glutCreateWindow("setColor test");
        made = true;
    }
};

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
TEST_F(SetColorInGlContext, EachCodeFromZeroToNineSetsItsColour) {
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

TEST_F(SetColorInGlContext, CodesOutsideTheTableLeaveTheColourAsItWas) {
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
