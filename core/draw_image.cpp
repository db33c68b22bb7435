// Drawing a PNG skin file scaled into a rectangle through the imaging
// factory, blending by its per-pixel alpha: the list's and the message box's
// way of putting skin images on their surfaces.
#include "core/draw_image.h"

#include <climits>

#include "platform/aygshell/image_file.h"
#include "platform/base/scoped.h"

BOOL DrawImageFile(IUnknown* pImagingFactory, LPCWSTR pszFileName, HDC hdc, int left, int top,
                   int right, int bottom) {
    if (!pImagingFactory || !pszFileName || !hdc) {
        TraceImageFailure(L"DrawImageFile", pImagingFactory ? L"argument check" : L"imaging factory",
                     pszFileName, ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    UINT cx = 0, cy = 0;
    scoped::Bitmap image(DecodeImageFile(pImagingFactory, L"DrawImageFile", pszFileName, &cx, &cy));
    if (!image) return FALSE;

    // An empty (or reversed) rectangle draws nothing; the image was still made.
    long long width = static_cast<long long>(right) - left;
    long long height = static_cast<long long>(bottom) - top;
    if (width <= 0 || height <= 0 || width > INT_MAX || height > INT_MAX) return TRUE;

    scoped::MemDC source(CreateCompatibleDC(hdc));
    if (!source) {
        TraceImageFailure(L"DrawImageFile", L"CreateCompatibleDC", pszFileName, GetLastError());
        return FALSE;
    }
    scoped::Select selected(source.get(), image.get());
    const BLENDFUNCTION blend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    if (!AlphaBlend(hdc, left, top, static_cast<int>(width), static_cast<int>(height), source.get(), 0,
                    0, static_cast<int>(cx), static_cast<int>(cy), blend)) {
        TraceImageFailure(L"DrawImageFile", L"AlphaBlend", pszFileName, GetLastError());
        return FALSE;
    }
    return TRUE;
}
