// The picture of the screen as it is now, for the message box's dimmed
// backdrop. On the device it is read from the desktop window; a platform
// that cannot read its screen back (Wine's headless driver) or a test may
// supply the picture instead. Once the box covers the screen, the picture
// is painted from the windows behind it.
#pragma once
#include <windows.h>

#include <vector>

// Copies cx x cy pixels from (0, 0) of hdcScreen (the desktop window's
// context) to (x, y) of hdcDst. With a supplied picture, that picture is
// copied instead and hdcScreen is not read. FALSE, traced, on failure.
BOOL CopyScreenPicture(HDC hdcDst, int x, int y, int cx, int cy, HDC hdcScreen);

// Supplies the screen picture: the bitmap is copied at once (the caller
// keeps its own). Null goes back to reading the screen.
void SetScreenPicture(HBITMAP hbmPicture);

// The visible top-level windows of this process below hwnd, nearest first.
std::vector<HWND> OwnWindowsBehind(HWND hwnd);

// The screen as it would show without hwndTop, for a picture taken while
// hwndTop covers it (the screen read back would show hwndTop): the supplied
// picture, or the desktop's colour, then OwnWindowsBehind(hwndTop),
// bottom first, each with its children, painted through WM_PRINTCLIENT at
// their places. The screen's corner goes to (x, y) of hdcDst. Other
// programs cannot paint into this process's context: their windows are left
// out. FALSE, traced, when nothing could be painted.
BOOL PaintScreenBehind(HWND hwndTop, HDC hdcDst, int x, int y);
