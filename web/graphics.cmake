# GL, GLU and GLUT for the browser: Emscripten's JavaScript libraries,
# chosen by link flags under the names the rest of the build uses. The
# fixed-function pipeline (glBegin/glEnd, the matrix stacks, glPointSize)
# runs on WebGL through the legacy GL emulation, which holds GLU as well;
# GL_UNSAFE_OPTS=0 keeps every draw call as the code makes it.
add_library(OpenGL::GL INTERFACE IMPORTED)
target_link_options(OpenGL::GL INTERFACE -sLEGACY_GL_EMULATION=1 -sGL_UNSAFE_OPTS=0 -lGL)
add_library(OpenGL::GLU INTERFACE IMPORTED)
target_link_libraries(OpenGL::GLU INTERFACE OpenGL::GL)
add_library(bilijar_web_glut INTERFACE)
target_link_options(bilijar_web_glut INTERFACE -lglut)
