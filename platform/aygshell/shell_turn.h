// What the phone shell does when the screen turns: the display takes the
// turned size, and the shell fits the full-screen windows to the new work
// area and tells every top-level window with WM_SETTINGCHANGE.
#pragma once
#include <windows.h>

// Turns the display a quarter: W x H becomes H x W. DISP_CHANGE_SUCCESSFUL,
// or the display's refusal (DISP_CHANGE_BADMODE when it offers no H x W).
// The display then sends WM_DISPLAYCHANGE to every top-level window.
LONG TurnScreen();

// After a turn from rcOldScreen to the current screen: every visible
// full-screen window (not a tool window; as wide as the old screen, from the
// status bar down to the soft-key bar at most) takes the new work area, then
// every top-level window gets WM_SETTINGCHANGE(SETTINGCHANGE_RESET, 0), sent
// and waited for. dwThreadId 0 means the windows of the whole desktop, else
// those of that thread. Returns the number of windows resized; nothing is
// done when the screen has not changed its size.
int FollowScreenTurn(const RECT& rcOldScreen, DWORD dwThreadId);
