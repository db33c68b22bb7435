// Message-box surfaces: back buffer, composition, the dimmed screen capture,
// the skin images and buttons, the paint copy and the release.
#include "msgbox/notification_paint.h"

#include "core/app_state.h"
#include "core/draw_image.h"
#include "core/draw_kit.h"
#include "core/screen_profile.h"
#include "core/skin_resources.h"
#include "msgbox/notification_layout.h"
#include "msgbox/notification_state.h"
#include "platform/aygshell/image_file.h"
#include "platform/base/debug_out.h"
#include "platform/base/scoped.h"
#include "platform/base/screen_capture.h"

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);
// A button drawn without its picture, in the skin's colours.
constexpr COLORREF kPlainButtonFace = RGB(240, 242, 244);
constexpr COLORREF kPlainButtonPressed = RGB(72, 84, 96);
constexpr COLORREF kPlainButtonFrame = RGB(160, 164, 170);
constexpr BYTE kDimAlpha = 200;  // black over the screen keeps 55/255 of it

void TraceGdiFailure(LPCWSTR routine, LPCWSTR call) {
    NKDbgPrintfW(L"[WFN] %s(), %s failed, error=[%lu]\r\n", routine, call, GetLastError());
}

// A new bitmap of the size, compatible with hdcRef, in the surface.
bool SelectNewBitmap(scoped::Surface& surface, HDC hdcRef, int cx, int cy, LPCWSTR routine) {
    if (surface.NewBitmap(hdcRef, cx, cy)) return true;
    TraceGdiFailure(routine, L"CreateCompatibleBitmap");
    return false;
}

// Black at constant alpha over the whole capture.
void DarkenCapture(int cx, int cy) {
    scoped::Surface black;
    if (!black.Create(g_NBCapture.hdc(), cx, cy)) {
        TraceGdiFailure(L"ReflashBG", L"the darkening surface");
        return;
    }
    RECT rc = {0, 0, cx, cy};
    scoped::Brush hbr(CreateSolidBrush(kBlack));
    if (hbr) FillRect(black.hdc(), &rc, hbr.get());
    const BLENDFUNCTION blend = {AC_SRC_OVER, 0, kDimAlpha, 0};
    if (!AlphaBlend(g_NBCapture.hdc(), 0, 0, cx, cy, black.hdc(), 0, 0, cx, cy, blend))
        TraceGdiFailure(L"ReflashBG", L"AlphaBlend");
}

// The capture of the screen as the box found it, or behind the box.
void TakeCapture(int cx, int cy) {
    g_NBCapture.Release();
    scoped::WindowDC screen(g_hwndNBBackdrop);
    if (!g_NBCapture.CreateDC(screen.get())) {
        TraceGdiFailure(L"ReflashBG", L"CreateCompatibleDC");
    } else if (SelectNewBitmap(g_NBCapture, screen.get(), cx, cy, L"ReflashBG")) {
        RECT rcBackdrop{};
        GetWindowRect(g_hwndNBBackdrop, &rcBackdrop);
        // Once the box is up (a new screen size), the screen shows the box:
        // what lies behind it is painted instead.
        if (g_hwndNotification && IsWindowVisible(g_hwndNotification))
            PaintScreenBehind(g_hwndNotification, g_NBCapture.hdc(), rcBackdrop.left, rcBackdrop.top);
        else
            CopyScreenPicture(g_NBCapture.hdc(), rcBackdrop.left, rcBackdrop.top, cx, cy, screen.get());
    }
    if (g_NBCapture.bitmap()) DarkenCapture(cx, cy);
}

// The back buffer into hdc, through a temporary surface; straight when none
// can be made, with the rectangle asked for in the trace.
void CopyBackBuffer(HDC hdc, const RECT& rc) {
    if (!hdc || !g_NBBack.hdc()) return;
    const int cx = g_nNBScreenWidth, cy = g_nNBScreenHeight;
    scoped::Surface temp;
    if (temp.Create(hdc, cx, cy)) {
        BitBlt(temp.hdc(), 0, 0, cx, cy, g_NBBack.hdc(), 0, 0, SRCCOPY);
        BitBlt(hdc, 0, 0, cx, cy, temp.hdc(), 0, 0, SRCCOPY);
    } else {
        NKDbgPrintfW(L"[WFN]left=%d, top=%d, right=%d, bottom=%d\r\n", rc.left, rc.top, rc.right, rc.bottom);
        BitBlt(hdc, 0, 0, cx, cy, g_NBBack.hdc(), 0, 0, SRCCOPY);
    }
}

}  // namespace

HFONT CreateNBFont(HDC hdcFrom, HDC hdcDpi, int size, int weight, LPCWSTR pszFace) {
    LOGFONTW lf{};
    HGDIOBJ hCurrent = GetCurrentObject(hdcFrom, OBJ_FONT);
    if (!hCurrent || GetObjectW(hCurrent, sizeof(lf), &lf) == 0) {
        TraceGdiFailure(L"CreateNBFont", L"GetObjectW");
        return nullptr;
    }
    HFONT hFont = CreateScaledFont(pszFace, size, weight, LanguageTextQuality(), hdcDpi, &lf);
    if (!hFont) TraceGdiFailure(L"CreateNBFont", L"CreateFontIndirectW");
    return hFont;
}

bool CreateNBBackBuffer(HWND hwnd) {
    ReadNBScreenSize();
    scoped::WindowDC window(hwnd);
    if (!window.get()) {
        TraceGdiFailure(L"CreateNBBackBuffer", L"GetDC");
        return false;
    }
    if (!g_NBBack.CreateDC(window.get())) {
        TraceGdiFailure(L"CreateNBBackBuffer", L"CreateCompatibleDC");
        return false;
    }
    return SelectNewBitmap(g_NBBack, window.get(), g_nNBScreenWidth, g_nNBScreenHeight, L"CreateNBBackBuffer");
}

bool RebuildNBBackBuffer(HWND hwnd) {
    ReadNBScreenSize();
    if (!g_NBBack.hdc()) return false;
    g_NBBack.ReleaseBitmap();
    scoped::WindowDC window(hwnd);
    return window.get() &&
           SelectNewBitmap(g_NBBack, window.get(), g_nNBScreenWidth, g_nNBScreenHeight, L"RebuildNBBackBuffer");
}

void PaintBackGround(HDC hdcRef, BOOL bRecreate) {
    NKDbgPrintfW(L"[WFN] PaintBackGround()\r\n");
    if (bRecreate || !g_NBCompose.hdc()) {
        g_NBCompose.ReleaseBitmap();
        if (!g_NBCompose.CreateDC(hdcRef))
            TraceGdiFailure(L"PaintBackGround", L"CreateCompatibleDC");
        else
            SelectNewBitmap(g_NBCompose, hdcRef, g_nNBScreenWidth, g_nNBScreenHeight, L"PaintBackGround");
    }
    ReflashBG();
}

void ReflashBG() {
    NKDbgPrintfW(L"[WFN] ReflashBG()\r\n");
    if (!g_hwndNBBackdrop)
        g_hwndNBBackdrop = GetDesktopWindow();
    else
        UpdateWindow(g_hwndNBBackdrop);
    const int cx = g_nNBScreenWidth, cy = g_nNBScreenHeight;
    if (!g_NBCapture.hdc()) TakeCapture(cx, cy);
    // The capture holds the screen at its own place; the box's window starts
    // below the status bar, so what lies behind its corner is copied to the
    // composition's corner, whatever area the window was given.
    POINT origin{0, 0};
    if (g_hwndNotification) ClientToScreen(g_hwndNotification, &origin);
    if (g_NBCompose.bitmap() && g_NBCapture.bitmap())
        BitBlt(g_NBCompose.hdc(), 0, 0, cx, cy, g_NBCapture.hdc(), origin.x, origin.y, SRCCOPY);
}

void LoadBtnPictures() {
    NKDbgPrintfW(L"[WFN] LoadBtnPictures()\r\n");
    if (g_hbmNBButtonUp) return;
    g_hbmNBButtonUp = SHLoadImageFile(kBoxButtonUpFile);
    if (!g_hbmNBButtonUp)
        NKDbgPrintfW(L"[WFN] [err]:LoadBtnPictures(), %s not loaded, the buttons are drawn plainly.\r\n",
                     kBoxButtonUpFile);
}

void LoadNTFBodyPictures(HDC hdc) {
    NKDbgPrintfW(L"[WFN] LoadNTFBodyPictures\r\n");
    if (!g_pNotificationUIInfo || !hdc) return;
    LPCWSTR pszPanel = g_nNBScreenWidth < g_nNBScreenHeight ? kBoxPanelPortraitFile : kBoxPanelLandscapeFile;
    LoadImageToHdcMem(g_pNotificationUIInfo->panelRect, pszPanel, hdc);
}

BOOL LoadImageToHdcMem(const RECT& rc, LPCWSTR pszPath, HDC hdc) {
    NKDbgPrintfW(L"[WFN] LoadImageToHdcMem\r\n");
    return DrawImageFile(AppState.pImagingFactory, pszPath, hdc, rc.left, rc.top, rc.right, rc.bottom);
}

void DrawPlainButton(HDC hdc, const RECT& rc, bool pressed) {
    NKDbgPrintfW(L"[WFN] DrawPlainButton\r\n");
    const int s = CurrentScreen().nScale;
    scoped::Pen pen(CreatePen(PS_SOLID, s, kPlainButtonFrame));
    scoped::Brush brush(CreateSolidBrush(pressed ? kPlainButtonPressed : kPlainButtonFace));
    if (!pen || !brush) return;
    scoped::Select selectPen(hdc, pen.get());
    scoped::Select selectBrush(hdc, brush.get());
    RoundRect(hdc, rc.left, rc.top, rc.right, rc.bottom, 8 * s, 8 * s);
}

void DrawButtonCtrl(HWND, HDC hdc) {
    NKDbgPrintfW(L"[WFN] DrawButtonCtrl\r\n");
    SetTextColor(hdc, kWhite);
    const NotificationUIInfo* pInfo = g_pNotificationUIInfo;
    if (!pInfo || pInfo->buttonMode == 0) return;
    struct Button {
        int index;
        const RECT* rc;
        LPCWSTR text;
    };
    Button buttons[2];
    int count = 0;
    if (pInfo->buttonMode == 1) {
        buttons[count++] = {kNBSingleButton, &pInfo->singleButtonRect, pInfo->button1Text};
    } else if (pInfo->buttonMode == 2) {
        buttons[count++] = {kNBFirstButton, &pInfo->firstButtonRect, pInfo->button1Text};
        buttons[count++] = {kNBSecondButton, &pInfo->secondButtonRect, pInfo->button2Text};
    }
    for (int i = 0; i < count; ++i) {
        bool pressed = pInfo->pressedButton == buttons[i].index;
        // A button whose picture is missing or broken is drawn plainly: the
        // box must still be answerable.
        if (!LoadImageToHdcMem(*buttons[i].rc, pressed ? kBoxButtonDownFile : kBoxButtonUpFile, hdc))
            DrawPlainButton(hdc, *buttons[i].rc, pressed);
        DrawBtnText(hdc, pressed ? kWhite : kBlack, buttons[i].text, *buttons[i].rc);
    }
}

void DrawBtnText(HDC hdc, COLORREF color, LPCWSTR pszText, const RECT& rc) {
    NKDbgPrintfW(L"[WFN] DrawBtnText\r\n");
    int nOldMode = GetBkMode(hdc);
    SetBkMode(hdc, TRANSPARENT);
    SetTextColor(hdc, color);
    const ScreenProfile& screen = CurrentScreen();
    int size = screen.b320x480 ? 18 : 16 * screen.nScale;
    scoped::Font font(CreateNBFont(hdc, hdc, size, FW_NORMAL, L"Helvetica Neue OTS"));
    if (font) {
        scoped::Select select(hdc, font.get());
        RECT rcText = rc;
        DrawTextW(hdc, pszText, -1, &rcText, kTextDrawLabel);
    }
    SetBkMode(hdc, nOldMode);
}

LRESULT OnNBPaint(HWND hwnd) {
    NKDbgPrintfW(L"[WFN] OnNBPaint()\r\n");
    scoped::Paint paint(hwnd);
    CopyBackBuffer(paint.hdc(), paint.ps().rcPaint);
    return 0;
}

LRESULT OnNBPrintClient(HWND hwnd, HDC hdc) {
    RECT rc{};
    GetClientRect(hwnd, &rc);
    CopyBackBuffer(hdc, rc);
    return 0;
}

void ReleaseNotificationDrawing() {
    g_NBBack.Release();
    g_NBCapture.Release();
    g_NBCompose.Release();
    if (g_pNotificationUIInfo) {
        LocalFree(g_pNotificationUIInfo);
        g_pNotificationUIInfo = nullptr;
    }
    if (g_hbmNBButtonUp) {
        DeleteObject(g_hbmNBButtonUp);
        g_hbmNBButtonUp = nullptr;
    }
    g_hwndNotification = nullptr;
    g_hwndNBBackdrop = nullptr;
}
