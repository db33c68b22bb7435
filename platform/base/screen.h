// The screen: size in pixels and the areas the shell keeps for itself.
#pragma once
#include <windows.h>

// GetSystemMetrics(SM_CXSCREEN / SM_CYSCREEN) unless a test has set a size.
int GetScreenWidth();
int GetScreenHeight();
// Tests give the program a screen of their choice; 0, 0 restores the real one.
void SetScreenSizeForTest(int width, int height);
