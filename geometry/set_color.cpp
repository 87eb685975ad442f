#include <GL/gl.h>

#include "color.h"

void setColor(ColorCode code) {
    Rgb rgb;
    if (colorComponents(code, rgb)) {
        glColor3f(rgb.red, rgb.green, rgb.blue);
    }
}
