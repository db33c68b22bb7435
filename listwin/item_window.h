// The list window: the rows of the settings screen.
#pragma once
#include <windows.h>

BOOL CreateItemWindow(HINSTANCE hInstance, int nShow);
LRESULT CALLBACK ItemWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
