// The list window "QXCFItemWindow" of class "QXCFItemClass": the rows of the
// settings screen, child of the main window below the title.
#pragma once
#include <windows.h>

// Registers the class and creates the window into AppState.hwndItem with
// the creation geometry; it needs hwndMain and the title height. The show
// state is not used.
BOOL CreateItemWindow(HINSTANCE hInstance, int nShow);
LRESULT CALLBACK ItemWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
