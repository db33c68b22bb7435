// What the phone's shell draws over every program: the busy indicator while
// a program's wait cursor is set (the phone has no pointer to show it), and
// short notices.
#pragma once
#include <windows.h>

// The shell's colours: the status bar's and the overlays'.
constexpr COLORREF kShellBack = RGB(0x10, 0x12, 0x16);
constexpr COLORREF kShellLight = RGB(0xE8, 0xEA, 0xEE);
constexpr COLORREF kShellDim = RGB(0x50, 0x54, 0x5A);

// Makes both windows, hidden, and publishes the word a program's wait cursor
// is told through (kWaitCursorBoard); false when either cannot be made.
bool CreateShellOverlays(HINSTANCE hInst);
// A short notice in the middle of the screen for a few seconds. The notice
// window's text is the notice, for devicectl.
void ShowShellNotice(LPCWSTR pszText);
