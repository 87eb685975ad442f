# 64-bit ARM Linux, cross-built on Debian x86-64 with g++-aarch64-linux-gnu
# and the :arm64 development packages of GL, GLU, freeglut and Xlib.
set(CMAKE_SYSTEM_PROCESSOR aarch64)
set(bilijar_triplet aarch64-linux-gnu)
set(bilijar_multiarch aarch64-linux-gnu)
set(bilijar_loader /lib/ld-linux-aarch64.so.1)
set(bilijar_qemu qemu-aarch64)
include(${CMAKE_CURRENT_LIST_DIR}/linux-cross.cmake)
