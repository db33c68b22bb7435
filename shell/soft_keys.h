// The screen's soft keys: "Done" left, "Cancel" right, from resource 102.
#pragma once
#include <windows.h>

// The bar's window, or null when the shell cannot make it (tolerated).
HWND CreateSoftKeyBar(HWND hwndOwner, HINSTANCE hInst);
// The area a top-level window gets by default: the screen less the status
// bar and the soft-key bar.
RECT DefaultTopLevelArea();
