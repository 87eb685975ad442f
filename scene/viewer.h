#pragma once

// The window that shows the scene: 640 by 480 at (100, 50) unless GLUT's
// -geometry option says otherwise, titled "Bilijar - prikaz", with a
// perspective camera aimed at the scene's box.

// Opens the window with GLUT (argc and argv as main received them; GLUT may
// take its own options out of argv) and runs GLUT's main loop. A -geometry
// size beyond the screen is cut down to the screen's. Does not return to
// its caller: on the desktop, when the user closes the window, GLUT ends
// the process with exit(0), and when another client destroys it, the window
// system ends it with exit(1); in a browser page, main leaves for the page's
// event loop and the page's close button calls exit(0), which ends the
// program's runtime there too. Either way the at-exit clean-up, the
// scene's included, runs.
void startViewer(int argc, char** argv);

// GLUT's display callback: draws circles, lines, segments and points,
// each list first to last, so later items cover earlier ones; then swaps
// buffers.
// Draws nothing while the window's size is not the one that the last
// reshape set up (its own reshape, and then a picture, are on the way).
void onDisplay();

// Reshape callback: sets the viewport and a projection that shows the whole
// scene box for the new window size. A height of 0 is taken as 1. Leaves
// GL_PROJECTION as the current matrix mode. A window beyond the screen is
// asked back to the screen's size and gets no viewport or projection until
// it has that size; neither does a reshape whose size the window no longer
// has.
void onReshape(int width, int height);
