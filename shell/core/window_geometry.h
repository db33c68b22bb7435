// Where the three windows of the screen go, in pixels, for the current
// scale, screen class, orientation, extension and title height.
#pragma once
#include <windows.h>

struct WindowBox {
    int x, y, cx, cy;
};

// At creation, and for the title and the list after a turn. The main window in portrait (not on a 320 x 480 screen) takes
// the platform's default area; useDefault tells so.
WindowBox MainWindowBox(bool* useDefault);
WindowBox TitleWindowBox();
WindowBox ListWindowBox();
