// The list image: one off-screen picture of the whole list per orientation,
// built at the first paint and after a turn, copied at the scroll offset by
// every paint, with the gaps beyond the list's ends filled.
#pragma once
#include <windows.h>

// List image state. Only one of the two bitmaps exists at a time.
extern HDC g_hdcItem;          // holds the current orientation's list image
extern HBITMAP g_hBmpItem;     // portrait image
extern HBITMAP g_hBmpItemL;    // landscape image
extern BOOL g_bBmpReady;       // the image of the current orientation is built
extern RECT g_rcItemClient;    // the list window's client area at the last paint
extern int g_iBmpHeight;       // extent bottom + 1
extern int g_iScreenHeight;    // client bottom at the last build
extern int g_iCurTop;          // scroll offset: the image row at the window's top

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
