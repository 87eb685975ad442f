// What Emscripten's GLU makes of gluPerspective and gluLookAt, against the
// matrices that GLU defines: each multiplies the current matrix by its own.
// Run in the page glu_check.html; prints one line per case, "same" or
// "differs", then "done".

#include <GL/glut.h>

#include <cmath>
#include <cstdio>

namespace {

// Column-major 4 by 4 matrices, as GL stores them.
struct Matrix {
    double m[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
};

Matrix multiply(const Matrix& a, const Matrix& b) {
    Matrix r;
    for (int column = 0; column < 4; ++column) {
        for (int row = 0; row < 4; ++row) {
            double sum = 0;
            for (int k = 0; k < 4; ++k) {
                sum += a.m[k * 4 + row] * b.m[column * 4 + k];
            }
            r.m[column * 4 + row] = sum;
        }
    }
    return r;
}

// gluPerspective's matrix, as GLU's manual gives it.
Matrix perspective(double fovy, double aspect, double zNear, double zFar) {
    const double f = 1.0 / std::tan(fovy * M_PI / 360.0);
    Matrix p;
    p.m[0] = f / aspect;
    p.m[5] = f;
    p.m[10] = (zFar + zNear) / (zNear - zFar);
    p.m[11] = -1;
    p.m[14] = 2 * zFar * zNear / (zNear - zFar);
    p.m[15] = 0;
    return p;
}

// gluLookAt's matrix for an eye straight above the centre of the plane z = 0
// with y up: a translation by minus the eye.
Matrix lookDown(double x, double y, double z) {
    Matrix t;
    t.m[12] = -x;
    t.m[13] = -y;
    t.m[14] = -z;
    return t;
}

Matrix translation(double x, double y, double z) {
    return lookDown(-x, -y, -z);
}

void report(const char* what, const Matrix& expected) {
    float actual[16];
    glGetFloatv(GL_PROJECTION_MATRIX, actual);
    double error = 0;
    for (int i = 0; i < 16; ++i) {
        error =
            std::fmax(error, std::fabs(actual[i] - expected.m[i]) / std::fmax(1.0, std::fabs(expected.m[i])));
    }
    std::printf("%s: %s\n", what, error < 1e-6 ? "same" : "differs");
}

}  // namespace

int main(int argc, char** argv) {
    glutInit(&argc, argv);
    glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH);
    glutCreateWindow("GLU check");
    glMatrixMode(GL_PROJECTION);

    // The reshape's projection: identity, then gluPerspective.
    glLoadIdentity();
    gluPerspective(45.0, 640.0 / 480.0, 1.0, 1000.0);
    report("gluPerspective after glLoadIdentity", perspective(45.0, 640.0 / 480.0, 1.0, 1000.0));

    // gluPerspective onto a matrix that is not the identity.
    glLoadIdentity();
    glTranslatef(1, 2, 3);
    gluPerspective(30.0, 1.0, 1.0, 20.0);
    report("gluPerspective onto a translation",
           multiply(translation(1, 2, 3), perspective(30.0, 1.0, 1.0, 20.0)));

    // The start-up projection: gluPerspective, then gluLookAt onto it.
    glLoadIdentity();
    gluPerspective(30.0, 1.0, 1.0, 20.0);
    gluLookAt(5, 2.5, 10, 5, 2.5, 0, 0, 1, 0);
    report("gluLookAt onto gluPerspective",
           multiply(perspective(30.0, 1.0, 1.0, 20.0), lookDown(5, 2.5, 10)));
    std::puts("done");
    std::fflush(stdout);
    return 0;
}
