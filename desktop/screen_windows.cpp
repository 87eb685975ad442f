#include "screen.h"

#include <windows.h>

// freeglut for Windows keeps the screen's size from its start; Windows
// tells the primary screen's size as it is now. freeglut places the
// window's frame itself.

ScreenSize currentScreenSize() {
    return {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

void placeFrameCorner(bool, bool) {}
