// Message-box surfaces: back buffer, composition, the dimmed screen capture,
// the skin images and buttons, the paint copy and the release.
#include "msgbox/notification_paint.h"

#include "msgbox/notification_layout.h"
#include "msgbox/notification_state.h"
#include "platform/debug_out.h"
#include "platform/image_file.h"
#include "platform/screen_capture.h"
#include "shell/app_state.h"

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr BYTE kDimAlpha = 200;  // black over the screen keeps 55/255 of it
constexpr int kBackdropShiftBase = 52;
constexpr UINT kButtonLabelFormat = DT_SINGLELINE | DT_VCENTER | DT_CENTER;  // 0x25

constexpr wchar_t kButtonUpImage[] = L"windows\\QXBS_NB_btn_up.png";
constexpr wchar_t kButtonDownImage[] = L"windows\\QXBS_NB_btn_dn.png";
constexpr wchar_t kPanelPortraitImage[] = L"windows\\QXBS_NB_bg_P.png";
constexpr wchar_t kPanelLandscapeImage[] = L"windows\\QXBS_NB_bg_L.png";

void TraceGdiFailure(LPCWSTR routine, LPCWSTR call) {
    NKDbgPrintfW(L"[WFN] %s(), %s failed, error=[%lu]\r\n", routine, call, GetLastError());
}

// Puts the surface's first bitmap back and deletes its own.
void PutBackBitmap(NBSurface& surface) {
    if (surface.hdc && surface.hbmInitial) SelectObject(surface.hdc, surface.hbmInitial);
    if (surface.hbm) DeleteObject(surface.hbm);
    surface.hbm = nullptr;
    surface.hbmInitial = nullptr;
}

// A new bitmap of the size, compatible with hdcRef, selected into the surface.
bool SelectNewBitmap(NBSurface& surface, HDC hdcRef, int cx, int cy, LPCWSTR routine) {
    HBITMAP hbm = CreateCompatibleBitmap(hdcRef, cx, cy);
    if (!hbm) {
        TraceGdiFailure(routine, L"CreateCompatibleBitmap");
        return false;
    }
    surface.hbmInitial = static_cast<HBITMAP>(SelectObject(surface.hdc, hbm));
    surface.hbm = hbm;
    return true;
}

void DeleteSurfaceDC(NBSurface& surface) {
    if (surface.hdc) DeleteDC(surface.hdc);
    surface = NBSurface{};
}

// Black at constant alpha over the whole capture.
void DarkenCapture(int cx, int cy) {
    HDC hdcBlack = CreateCompatibleDC(g_NBCapture.hdc);
    HBITMAP hbmBlack = hdcBlack ? CreateCompatibleBitmap(g_NBCapture.hdc, cx, cy) : nullptr;
    if (!hbmBlack) {
        TraceGdiFailure(L"ReflashBG", L"the darkening surface");
        if (hdcBlack) DeleteDC(hdcBlack);
        return;
    }
    HGDIOBJ hbmInitial = SelectObject(hdcBlack, hbmBlack);
    RECT rc = {0, 0, cx, cy};
    if (HBRUSH hbr = CreateSolidBrush(kBlack)) {
        FillRect(hdcBlack, &rc, hbr);
        DeleteObject(hbr);
    }
    const BLENDFUNCTION blend = {AC_SRC_OVER, 0, kDimAlpha, 0};
    if (!AlphaBlend(g_NBCapture.hdc, 0, 0, cx, cy, hdcBlack, 0, 0, cx, cy, blend))
        TraceGdiFailure(L"ReflashBG", L"AlphaBlend");
    SelectObject(hdcBlack, hbmInitial);
    DeleteObject(hbmBlack);
    DeleteDC(hdcBlack);
}

// The capture of the screen as the box found it.
void TakeCapture(int cx, int cy) {
    // A bitmap left over belongs to no context any more.
    if (g_NBCapture.hbm) DeleteObject(g_NBCapture.hbm);
    g_NBCapture = NBSurface{};
    HDC hdcScreen = GetDC(g_hwndNBBackdrop);
    g_NBCapture.hdc = CreateCompatibleDC(hdcScreen);
    if (!g_NBCapture.hdc) {
        TraceGdiFailure(L"ReflashBG", L"CreateCompatibleDC");
    } else {
        if (SelectNewBitmap(g_NBCapture, hdcScreen, cx, cy, L"ReflashBG")) {
            RECT rcBackdrop{};
            GetWindowRect(g_hwndNBBackdrop, &rcBackdrop);
            CopyScreenPicture(g_NBCapture.hdc, rcBackdrop.left, rcBackdrop.top, cx, cy, hdcScreen);
        }
    }
    if (hdcScreen) ReleaseDC(g_hwndNBBackdrop, hdcScreen);
    if (g_NBCapture.hbm) DarkenCapture(cx, cy);
}

}  // namespace

HFONT CreateNBFont(HDC hdcFrom, HDC hdcDpi, int size, int weight, LPCWSTR pszFace) {
    LOGFONTW lf{};
    HGDIOBJ hCurrent = GetCurrentObject(hdcFrom, OBJ_FONT);
    if (!hCurrent || GetObjectW(hCurrent, sizeof(lf), &lf) == 0) {
        TraceGdiFailure(L"CreateNBFont", L"GetObjectW");
        return nullptr;
    }
    int dpiX = GetDeviceCaps(hdcDpi, LOGPIXELSX), dpiY = GetDeviceCaps(hdcDpi, LOGPIXELSY);
    lf.lfHeight = dpiX > 0 && dpiY > 0 ? -MulDiv(size, dpiY, dpiX) : -size;
    // Win32's default font of a context has a fixed average width (CE's has
    // none); kept with the new height it would squeeze the text.
    lf.lfWidth = 0;
    lf.lfWeight = weight;
    lstrcpynW(lf.lfFaceName, pszFace, LF_FACESIZE);
    lf.lfQuality = AppState.bCJKLanguage ? DEFAULT_QUALITY : CLEARTYPE_QUALITY;
    HFONT hFont = CreateFontIndirectW(&lf);
    if (!hFont) TraceGdiFailure(L"CreateNBFont", L"CreateFontIndirectW");
    return hFont;
}

bool CreateNBBackBuffer(HWND hwnd) {
    ReadNBScreenSize();
    HDC hdcWindow = GetDC(hwnd);
    if (!hdcWindow) {
        TraceGdiFailure(L"CreateNBBackBuffer", L"GetDC");
        return false;
    }
    g_NBBack.hdc = CreateCompatibleDC(hdcWindow);
    bool ok = g_NBBack.hdc &&
              SelectNewBitmap(g_NBBack, hdcWindow, g_nNBScreenWidth, g_nNBScreenHeight, L"CreateNBBackBuffer");
    if (!g_NBBack.hdc) TraceGdiFailure(L"CreateNBBackBuffer", L"CreateCompatibleDC");
    ReleaseDC(hwnd, hdcWindow);
    return ok;
}

bool RebuildNBBackBuffer(HWND hwnd) {
    ReadNBScreenSize();
    if (!g_NBBack.hdc) return false;
    PutBackBitmap(g_NBBack);
    HDC hdcWindow = GetDC(hwnd);
    bool ok = hdcWindow &&
              SelectNewBitmap(g_NBBack, hdcWindow, g_nNBScreenWidth, g_nNBScreenHeight, L"RebuildNBBackBuffer");
    if (hdcWindow) ReleaseDC(hwnd, hdcWindow);
    return ok;
}

void PaintBackGround(HDC hdcRef, BOOL bRecreate) {
    NKDbgPrintfW(L"[WFN] PaintBackGround()\r\n");
    if (bRecreate || !g_NBCompose.hdc) {
        PutBackBitmap(g_NBCompose);
        if (!g_NBCompose.hdc) g_NBCompose.hdc = CreateCompatibleDC(hdcRef);
        if (!g_NBCompose.hdc)
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
    if (!g_NBCapture.hdc) TakeCapture(cx, cy);
    if (g_NBCompose.hbm && g_NBCapture.hbm)
        BitBlt(g_NBCompose.hdc, 0, 0, cx, cy, g_NBCapture.hdc, 0, kBackdropShiftBase * AppState.nScale,
               SRCCOPY);
}

void LoadBtnPictures() {
    NKDbgPrintfW(L"[WFN] LoadBtnPictures()\r\n");
    if (!g_hbmNBButtonUp) g_hbmNBButtonUp = SHLoadImageFile(kButtonUpImage);
}

void LoadNTFBodyPictures() {
    NKDbgPrintfW(L"[WFN] LoadNTFBodyPictures\r\n");
    if (!g_pNotificationUIInfo || !g_NBCompose.hdc) return;
    LPCWSTR pszPanel = g_nNBScreenWidth < g_nNBScreenHeight ? kPanelPortraitImage : kPanelLandscapeImage;
    LoadImageToHdcMem(g_pNotificationUIInfo->panelRect, pszPanel, g_NBCompose.hdc);
}

void LoadImageToHdcMem(const RECT& rc, LPCWSTR pszPath, HDC hdc) {
    NKDbgPrintfW(L"[WFN] LoadImageToHdcMem\r\n");
    // A missing or broken image is simply not drawn.
    DrawImageFile(AppState.pImagingFactory, pszPath, hdc, rc.left, rc.top, rc.right, rc.bottom);
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
        LoadImageToHdcMem(*buttons[i].rc, pressed ? kButtonDownImage : kButtonUpImage, hdc);
        DrawBtnText(hdc, pressed ? kWhite : kBlack, buttons[i].text, *buttons[i].rc);
    }
}

void DrawBtnText(HDC hdc, COLORREF color, LPCWSTR pszText, const RECT& rc) {
    NKDbgPrintfW(L"[WFN] DrawBtnText\r\n");
    int nOldMode = GetBkMode(hdc);
    SetBkMode(hdc, TRANSPARENT);
    SetTextColor(hdc, color);
    int size = AppState.nScreenType == kNBScreenType320x480 ? 18 : 16 * AppState.nScale;
    if (HFONT hFont = CreateNBFont(hdc, hdc, size, FW_NORMAL, L"Helvetica Neue OTS")) {
        HGDIOBJ hOld = SelectObject(hdc, hFont);
        RECT rcText = rc;
        DrawTextW(hdc, pszText, -1, &rcText, kButtonLabelFormat);
        SelectObject(hdc, hOld);
        DeleteObject(hFont);
    }
    SetBkMode(hdc, nOldMode);
}

LRESULT OnNBPaint(HWND hwnd, UINT, WPARAM, LPARAM) {
    NKDbgPrintfW(L"[WFN] OnNBPaint()\r\n");
    PAINTSTRUCT ps;
    HDC hdc = BeginPaint(hwnd, &ps);
    if (hdc && g_NBBack.hdc) {
        const int cx = g_nNBScreenWidth, cy = g_nNBScreenHeight;
        HDC hdcTemp = CreateCompatibleDC(hdc);
        HBITMAP hbmTemp = hdcTemp ? CreateCompatibleBitmap(hdc, cx, cy) : nullptr;
        if (hdcTemp && hbmTemp) {
            HGDIOBJ hbmInitial = SelectObject(hdcTemp, hbmTemp);
            BitBlt(hdcTemp, 0, 0, cx, cy, g_NBBack.hdc, 0, 0, SRCCOPY);
            BitBlt(hdc, 0, 0, cx, cy, hdcTemp, 0, 0, SRCCOPY);
            SelectObject(hdcTemp, hbmInitial);
            DeleteObject(hbmTemp);
            DeleteDC(hdcTemp);
        } else {
            NKDbgPrintfW(L"[WFN]left=%d, top=%d, right=%d, bottom=%d\r\n", ps.rcPaint.left, ps.rcPaint.top,
                         ps.rcPaint.right, ps.rcPaint.bottom);
            BitBlt(hdc, 0, 0, cx, cy, g_NBBack.hdc, 0, 0, SRCCOPY);
            if (hdcTemp) DeleteDC(hdcTemp);
        }
    }
    EndPaint(hwnd, &ps);
    return 0;
}

void ReleaseNotificationDrawing() {
    PutBackBitmap(g_NBBack);
    PutBackBitmap(g_NBCompose);
    PutBackBitmap(g_NBCapture);
    DeleteSurfaceDC(g_NBBack);
    DeleteSurfaceDC(g_NBCapture);
    DeleteSurfaceDC(g_NBCompose);
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
