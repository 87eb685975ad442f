#pragma once

// Where the viewer's window lives. The drawing, the camera and the reshape
// are the same on every platform; how GLUT is started, how large the window
// may grow and how the program learns that its window is gone are the
// platform's: the desktop's in desktop/, the browser page's in web/. The
// window system never calls up into the viewer; what it needs of it, it is
// handed.

// The window's size and place on the screen, in pixels.
struct WindowPlacement {
    int width = 0;
    int height = 0;
    int x = 0;
    int y = 0;
};

// The viewer's reshape: sets up GL for a window of width by height pixels.
using ReshapeFunction = void (*)(int width, int height);

// Starts GLUT with argc and argv (GLUT may take its own options out of
// them) and with defaults as the window's size and place, which the user's
// own choice (on the desktop, GLUT's -geometry option) overrides. reshape
// is the function that GLUT calls for a reshape; the window system calls it
// too for a size that it lets stand without a reshape of GLUT's (see
// reshapeFitsScreen).
void startWindowSystem(int& argc, char** argv, WindowPlacement defaults, ReshapeFunction reshape);

// Has the window placed as the user asked, where the window system places
// it only once it exists (on the desktop: a place counted from the screen's
// right or bottom edge puts the window manager's frame in that corner).
// Called once, after the window exists.
void placeWindowFrame();

// Whether the viewer may set up GL for a reshape to width by height. A
// window beyond the screen, as large as it is at this moment, is asked back
// to the screen's size instead, and a reshape whose size the window no
// longer has is skipped; each brings a reshape of its own. Where the cut is
// refused, the window system calls the reshape that startWindowSystem was
// handed, at the size that the window kept.
bool reshapeFitsScreen(int width, int height);

// Makes sure that the program ends when its window is destroyed behind
// GLUT's back. Called once, after the window exists.
void watchWindow();
