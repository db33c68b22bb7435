// The painters' drawing toolkit: fonts scaled to a context's logical pixels,
// one-line measuring, and the DrawTextW flags and window styles in use.
#pragma once
#include <windows.h>

// DrawTextW flags of the painting rules.
constexpr UINT kTextDrawCentred = DT_END_ELLIPSIS | DT_SINGLELINE | DT_VCENTER | DT_CENTER;  // title, caption
constexpr UINT kTextDrawAnchored = DT_END_ELLIPSIS | DT_SINGLELINE | DT_VCENTER;            // list texts
constexpr UINT kTextMeasureWrapped = DT_CALCRECT | DT_WORDBREAK;                             // message body
constexpr UINT kTextDrawWrapped = DT_WORDBREAK;
constexpr UINT kTextDrawLabel = DT_SINGLELINE | DT_VCENTER | DT_CENTER;  // message-box buttons
static_assert(kTextDrawCentred == 0x8025 && kTextDrawAnchored == 0x8024, "one-line texts");
static_assert(kTextMeasureWrapped == 0x410 && kTextDrawWrapped == 0x10 && kTextDrawLabel == 0x25, "box texts");

// The rules measure a line with its drawing flags and DT_CALCRECT (0x8425).
// On an empty rectangle the ellipsis and the centring make that report the
// ellipsis' width and a centring offset, not the line: they are left out.
constexpr UINT kTextMeasureLine = DT_CALCRECT | DT_SINGLELINE;

// Window styles.
constexpr DWORD kChildWindowStyle = WS_CHILD | WS_VISIBLE;
constexpr DWORD kEditFieldStyle = kChildWindowStyle | ES_WANTRETURN;
static_assert(kChildWindowStyle == 0x50000000 && kEditFieldStyle == 0x50001000, "child windows");

// Default quality for a CJK system language, ClearType for any other.
BYTE LanguageTextQuality();

// A font of face, pixels high scaled by LOGPIXELSY / LOGPIXELSX of hdcRef
// (rounded as MulDiv does; plain pixels when hdcRef reports none), with the
// weight and quality given. Starts from *base when given, else from all-zero
// attributes; the width is always the face's own. Null on failure.
HFONT CreateScaledFont(LPCWSTR face, int pixels, LONG weight, BYTE quality, HDC hdcRef,
                       const LOGFONTW* base = nullptr);

// Width and height of text on one line in the font selected into hdc.
SIZE MeasureLine(HDC hdc, LPCWSTR text);
