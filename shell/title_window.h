// The title window: the skinned bar with the screen's title.
#pragma once
#include <windows.h>

#include <vector>

BOOL CreateTitleWindow(HINSTANCE hInstance, int nShow);
LRESULT CALLBACK TitleWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
// Composes the title into hdc; the client rectangle is rc.
void PaintTitle(HDC hdc, const RECT& rc);
// The title font: the configured size first, then smaller in steps of the
// scale until the title fits 240 x scale pixels. The sizes tried, in pixels,
// go to sizesTried when given. The caller deletes the font.
HFONT FitTitleFont(HDC hdc, LPCWSTR text, std::vector<int>* sizesTried);
