// The main window: owner of the soft-key bar, parent of the title and list.
#pragma once
#include <windows.h>

BOOL CreateMainWindow(HINSTANCE hInstance, int nShow);
LRESULT CALLBACK MainWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
