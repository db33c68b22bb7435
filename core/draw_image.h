// Drawing a PNG skin file scaled into a rectangle (the list's and the
// message box's skin images).
#pragma once
#include <windows.h>
#include <unknwn.h>

// Decodes the file through the imaging factory (an IWICImagingFactory behind
// IUnknown) and draws the whole image scaled into (left, top)-(right, bottom),
// blending by its per-pixel alpha. TRUE when drawn (an empty rectangle draws
// nothing and counts as drawn), FALSE when there is no factory, the file
// cannot be decoded or the drawing fails.
BOOL DrawImageFile(IUnknown* pImagingFactory, LPCWSTR pszFileName, HDC hdc, int left, int top,
                   int right, int bottom);
