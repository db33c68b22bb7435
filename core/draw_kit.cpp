// Scaled fonts and one-line measuring for the painters.
#include "core/draw_kit.h"

#include "core/app_state.h"

BYTE LanguageTextQuality() { return AppState.bCJKLanguage ? DEFAULT_QUALITY : CLEARTYPE_QUALITY; }

HFONT CreateScaledFont(LPCWSTR face, int pixels, LONG weight, BYTE quality, HDC hdcRef, const LOGFONTW* base) {
    LOGFONTW lf = base ? *base : LOGFONTW{};
    const int dpiX = GetDeviceCaps(hdcRef, LOGPIXELSX), dpiY = GetDeviceCaps(hdcRef, LOGPIXELSY);
    lf.lfHeight = dpiX > 0 && dpiY > 0 ? -MulDiv(pixels, dpiY, dpiX) : -pixels;
    // Win32's default font of a context has a fixed average width (CE's has
    // none); kept with the new height it would squeeze the text.
    lf.lfWidth = 0;
    lf.lfWeight = weight;
    lf.lfQuality = quality;
    lstrcpynW(lf.lfFaceName, face, LF_FACESIZE);
    return CreateFontIndirectW(&lf);
}

SIZE MeasureLine(HDC hdc, LPCWSTR text) {
    RECT rc{};
    DrawTextW(hdc, text, -1, &rc, kTextMeasureLine);
    return SIZE{rc.right - rc.left, rc.bottom - rc.top};
}
