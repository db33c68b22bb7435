// Title window: the skinned bar with "Voice Mail and Text Messages", drawn
// off screen and copied in one step.
#include "shell/title_window.h"

#include <vector>

#include "core/app_state.h"
#include "core/draw_kit.h"
#include "core/screen_profile.h"
#include "core/skin_resources.h"
#include "core/window_class.h"
#include "platform/base/message_table.h"
#include "platform/base/scoped.h"
#include "res/resource.h"

namespace {

constexpr COLORREF kTitleTextColour = 0x666666;
// The shrinking stops here even if the text still does not fit; the
// ellipsis then cuts it.
constexpr int kSmallestTitleSize = 6;

HFONT CreateTitleFont(HDC hdc, int pixels, LONG weight) {
    return CreateScaledFont(L"Helvetica LT 35 Thin", pixels, weight, LanguageTextQuality(), hdc);
}

}  // namespace

HFONT FitTitleFont(HDC hdc, LPCWSTR text, std::vector<int>* sizesTried) {
    const int s = CurrentScreen().nScale;
    const LONG weight = AppState.bCJKLanguage ? 400 : 0;
    int base = AppState.bCJKLanguage ? 24 : 21;
    int pixels = AppState.bHasTextSize ? AppState.TextSizeSetting[0] * s : base * s;
    for (;;) {
        if (sizesTried) sizesTried->push_back(pixels);
        scoped::Font font(CreateTitleFont(hdc, pixels, weight));
        bool fits;
        {
            scoped::Select selected(hdc, font.get());
            fits = MeasureLine(hdc, text).cx <= 240 * s;
        }
        // Too wide a title shrinks in steps of s, counting down from the base size.
        if (fits || base - s < kSmallestTitleSize) return font.release();
        base -= s;
        pixels = base * s;
    }
}

void PaintTitle(HDC hdc, const RECT& rc) {
    const SkinImage& image = AppState.SkinImages[CurrentScreen().o == kLandscape ? kSkinLTitle : kSkinPTitle];
    const int textHeight = AppState.SkinImages[kSkinPTitle].bm.bmHeight;

    // The picture covers the whole window: where the window is wider or
    // taller than its image, the background shows, not whatever was there.
    const int cx = rc.right - rc.left, cy = rc.bottom - rc.top;
    scoped::Surface mem;
    mem.Create(hdc, cx > 0 ? cx : 1, cy > 0 ? cy : 1);
    {
        scoped::Select brush(mem.hdc(), GetStockObject(BLACK_BRUSH));
        Rectangle(mem.hdc(), rc.left, rc.top, rc.right, rc.bottom);
    }
    if (image.hdcMem)
        BitBlt(mem.hdc(), 0, 0, image.bm.bmWidth, image.bm.bmHeight, image.hdcMem, 0, 0, SRCCOPY);

    SetBkMode(mem.hdc(), TRANSPARENT);
    WCHAR szTitle[kTextLen] = {};
    LoadStringW(AppState.hInst, IDS_TITLEBAR, szTitle, kTextLen);

    scoped::Font font(FitTitleFont(mem.hdc(), szTitle, nullptr));
    SetTextColor(mem.hdc(), kTitleTextColour);
    {
        scoped::Select selected(mem.hdc(), font.get());
        RECT text = {0, 0, rc.right, textHeight};
        DrawTextW(mem.hdc(), szTitle, -1, &text, kTextDrawCentred);
    }

    BitBlt(hdc, 0, 0, cx, cy, mem.hdc(), 0, 0, SRCCOPY);
}

namespace {

LRESULT OnPaint(HWND hwnd) {
    scoped::Paint paint(hwnd);
    RECT rc;
    GetClientRect(hwnd, &rc);
    PaintTitle(paint.hdc(), rc);
    return 0;
}

LRESULT OnPrintClient(HWND hwnd, HDC hdc) {
    RECT rc;
    GetClientRect(hwnd, &rc);
    PaintTitle(hdc, rc);
    return 0;
}

LRESULT OnCommand(HWND, UINT id, UINT, HWND) { return id == IDOK ? 1 : 0; }

// After a turn the title takes the box it would be made with in the new
// orientation, the 320 x 480 screen's included.
LRESULT OnSettingChange(HWND hwnd) {
    WindowBox box = TitleWindowBox();
    SetWindowPos(hwnd, nullptr, box.x, box.y, box.cx, box.cy, SWP_NOZORDER);
    InvalidateRect(hwnd, nullptr, TRUE);
    return 0;
}

constexpr MessageHandler kTitleHandlers[] = {
    {WM_CREATE, IgnoreMessage},
    Cracked<WM_PAINT, OnPaint>,
    Cracked<WM_COMMAND, OnCommand>,
    {WM_DESTROY, IgnoreMessage},
    {WM_SIZE, IgnoreMessage},
    {WM_ERASEBKGND, IgnoreMessage},
    {WM_ACTIVATE, IgnoreMessage},
    Cracked<WM_SETTINGCHANGE, OnSettingChange>,
    {WM_LBUTTONDOWN, IgnoreMessage},  // taps on the title are swallowed
    Cracked<WM_PRINTCLIENT, OnPrintClient>,
};

}  // namespace

LRESULT CALLBACK TitleWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return DispatchMessageTable(kTitleHandlers, hwnd, msg, wParam, lParam);
}

BOOL CreateTitleWindow(HINSTANCE hInstance, int) {
    if (!RegisterSkinClass(hInstance, L"QXCFTitleClass", TitleWndProc)) return FALSE;
    // The title's height is the portrait title image's, in base units.
    if (!AppState.SkinImages[kSkinPTitle].hBitmap) LoadSkinImage(kSkinPTitle);
    AppState.nTitleHeight = AppState.SkinImages[kSkinPTitle].bm.bmHeight / CurrentScreen().nScale;
    WindowBox box = TitleWindowBox();
    AppState.hwndTitle = CreateWindowExW(0, L"QXCFTitleClass", L"QXCFTitleWindow", kChildWindowStyle,
                                         box.x, box.y, box.cx, box.cy, AppState.hwndMain, nullptr,
                                         hInstance, nullptr);
    return AppState.hwndTitle != nullptr;
}
