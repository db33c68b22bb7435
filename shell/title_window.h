// The title window: the skinned bar with the screen's title.
#pragma once
#include <windows.h>

BOOL CreateTitleWindow(HINSTANCE hInstance, int nShow);
LRESULT CALLBACK TitleWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
