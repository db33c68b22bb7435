// The list image: one off-screen picture of the whole list per orientation,
// built at the first paint and after a turn, copied at the scroll offset by
// every paint, with the gaps beyond the list's ends filled.
#pragma once
#include <windows.h>

// (The image's state is the list's: listwin/list_state.h.)

// WM_PAINT: builds the image when needed, copies it, then lets the scroll
// component step and moves the edit controls. 0.
LRESULT OnItemPaint(HWND hwnd);
// WM_PRINTCLIENT: the same picture into the given context, without the
// scroll step. 0.
LRESULT OnItemPrintClient(HWND hwnd, HDC hdc);

// Draws every row into g_hdcItem and copies the image to hdc. TRUE.
BOOL BuildItemBitmap(HWND hwnd, HDC hdc, int left, int top, int right, int bottom);
// The visible slice at g_iCurTop, with the background where the list does
// not reach. TRUE.
BOOL BlitItemView(HDC hdc);

// Deletes both bitmaps and g_hdcItem (the bitmap selected out first) and
// clears them.
void ReleaseItemImage();
