// Drawing of the message box: the back buffer the window shows, the
// composition of its picture (dimmed screen, panel, caption, body, password
// frame, buttons), button feedback and the release of every surface.
#pragma once
#include <windows.h>

// Back buffer: a memory context compatible with the window holding a
// screen-sized bitmap. Made at initialisation; rebuilt at a new screen size.
bool CreateNBBackBuffer(HWND hwnd);
bool RebuildNBBackBuffer(HWND hwnd);

// Composes the whole picture into the back buffer.
void PreDrawNotify(HWND hwnd, HDC hdcBack);
// A fresh composition bitmap (with recreate, or the first time) over the
// darkened screen.
void PaintBackGround(HDC hdcRef, BOOL bRecreate);
// The capture of the screen behind the box, taken once per showing (and
// again for a new screen size) and darkened, copied into the composition as
// it lies behind the box's window.
void ReflashBG();
void LoadBtnPictures();
// The panel image of the orientation into hdc.
void LoadNTFBodyPictures(HDC hdc);
// The image file stretched over rc; FALSE (not drawn) when it is missing or broken.
BOOL LoadImageToHdcMem(const RECT& rc, LPCWSTR pszPath, HDC hdc);
// A button without its picture: a frame and a face, dark when pressed.
void DrawPlainButton(HDC hdc, const RECT& rc, bool pressed);
// Both button images and labels as pressedButton says.
void DrawButtonCtrl(HWND hwnd, HDC hdc);
void DrawBtnText(HDC hdc, COLORREF color, LPCWSTR pszText, const RECT& rc);

// WM_PAINT: one copy of the back buffer.
LRESULT OnNBPaint(HWND hwnd);
// WM_PRINTCLIENT: the same copy into the given context.
LRESULT OnNBPrintClient(HWND hwnd, HDC hdc);

// Surfaces, capture, the released-button bitmap and the record, in that
// order; then forgets the box window and the backdrop.
void ReleaseNotificationDrawing();

// A font made from the attributes of the one selected in hdcFrom, scaled to
// hdcDpi's logical pixels (CreateScaledFont). Null on failure.
HFONT CreateNBFont(HDC hdcFrom, HDC hdcDpi, int size, int weight, LPCWSTR pszFace);
