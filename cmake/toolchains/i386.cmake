# 32-bit x86 Linux, cross-built on Debian x86-64 with g++-i686-linux-gnu and
# the :i386 development packages of GL, GLU, freeglut and Xlib.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(bilijar_triplet i686-linux-gnu)
set(bilijar_multiarch i386-linux-gnu)
set(bilijar_loader /lib/ld-linux.so.2)
set(bilijar_qemu qemu-i386)
include(${CMAKE_CURRENT_LIST_DIR}/linux-cross.cmake)
