#pragma once

// The desktop's screen as the window system has it at the moment of asking,
// and the window manager's part in placing the window: the platform's own
// code under window_placement.cpp (screen_x11.cpp, screen_windows.cpp).

// The screen's size in pixels.
struct ScreenSize {
    int width = 0;
    int height = 0;
};

// The size of the screen that the viewer's window is on, as it is now: a
// monitor plugged in or out or a changed resolution shows at once. Asked
// after glutInit: at start-up, before the window exists, to fit a -geometry
// size; later in a reshape or a timer, with the window's GL context
// current. Where the window system can only be asked through that context
// (X11), the size before the window exists, or whenever it cannot be asked,
// is GLUT's from glutInit, which at start-up is the screen as it is.
ScreenSize currentScreenSize();

// Tells the window manager which corner of the window's frame the position
// GLUT gave it is for: the right or bottom one when the user's -geometry
// counted the place from that edge, so that the frame, not only the window,
// lands in that corner. Called once, after the window exists, with its GL
// context current.
void placeFrameCorner(bool fromRight, bool fromBottom);
