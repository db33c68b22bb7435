// Sizes the shell derives from the display: its scale and the areas it keeps
// for the status bar and the soft-key bar.
#pragma once
#include <windows.h>

// 2 when "Drivers\Display\GPE" "LogicalPixelsX" is 192, else 1; read each
// time, as the display may change.
int ShellScale();
// The soft-key bar's place: the bottom 26*s pixels across the screen.
RECT SoftKeyBarRect();
// The screen rectangle.
RECT ScreenRect();
