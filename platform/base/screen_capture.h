// The picture of the screen as it is now, for the message box's dimmed
// backdrop. On the device it is read from the desktop window; a platform
// that cannot read its screen back (Wine's headless driver) or a test may
// supply the picture instead.
#pragma once
#include <windows.h>

// Copies cx x cy pixels from (0, 0) of hdcScreen (the desktop window's
// context) to (x, y) of hdcDst. With a supplied picture, that picture is
// copied instead and hdcScreen is not read. FALSE, traced, on failure.
BOOL CopyScreenPicture(HDC hdcDst, int x, int y, int cx, int cy, HDC hdcScreen);

// Supplies the screen picture: the bitmap is copied at once (the caller
// keeps its own). Null goes back to reading the screen.
void SetScreenPicture(HBITMAP hbmPicture);
