// Image files of the device: the shell's image-file loader and drawing a PNG
// scaled into a rectangle through the imaging factory. Both decode with WIC
// to 32-bit premultiplied BGRA.
#pragma once
#include <windows.h>
#include <unknwn.h>

// The shell's loader (SHLoadImageFile of aygshell): a device path of a PNG
// file to a 32-bit top-down DIB section. Null when the file is missing or
// cannot be decoded. The caller owns the bitmap.
HBITMAP SHLoadImageFile(LPCWSTR pszFileName);

// Decodes the file through the imaging factory (an IWICImagingFactory behind
// IUnknown) and draws the whole image scaled into (left, top)-(right, bottom),
// blending by its per-pixel alpha. TRUE when drawn (an empty rectangle draws
// nothing and counts as drawn), FALSE when there is no factory, the file
// cannot be decoded or the drawing fails.
BOOL DrawImageFile(IUnknown* pImagingFactory, LPCWSTR pszFileName, HDC hdc, int left, int top,
                   int right, int bottom);
