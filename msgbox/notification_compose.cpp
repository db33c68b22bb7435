// Composition of the message box's picture: background and panel, the fitted
// caption, the wrapped body text, the password field and the buttons.
#include <utility>

#include "core/app_state.h"
#include "core/draw_kit.h"
#include "core/screen_profile.h"
#include "core/skin_resources.h"
#include "msgbox/notification_layout.h"
#include "msgbox/notification_paint.h"
#include "msgbox/notification_state.h"
#include "platform/aygshell/aygshell.h"
#include "platform/base/debug_out.h"
#include "platform/base/scoped.h"
#include "res/resource.h"

namespace {

constexpr wchar_t kTitleFace[] = L"Helvetica LT 35 Thin";
constexpr wchar_t kBodyFace[] = L"Helvetica Neue OTS";
// The caption's width and height on one line, from the origin.
RECT MeasureCaption(HDC hdc, LPCWSTR pszText) {
    const SIZE line = MeasureLine(hdc, pszText);
    return RECT{0, 0, line.cx, line.cy};
}

int Width(const RECT& rc) { return rc.right - rc.left; }

// Caption in white on one line, shrunk step by step until it fits or the
// smallest size is reached, then cut with an ellipsis if it still does not.
void DrawCaption(HDC hdc, HDC hdcMeasure, const NotificationUIInfo& info, HGDIOBJ hOldFont) {
    const ScreenProfile& screen = CurrentScreen();
    const int s = screen.nScale;
    scoped::Font font(CreateNBFont(hdc, hdcMeasure, FirstTitleSize(s, screen.nScreenType), 0, kTitleFace));
    if (!font) return;
    SelectObject(hdc, font.get());
    SetTextColor(hdc, RGB(255, 255, 255));
    RECT rcLine = info.titleRect;
    RECT rcTemp = MeasureCaption(hdc, info.caption);
    NKDbgPrintfW(L"[WFN] PreDrawNotify(), rectTemp.left = %d, rectTemp.top = %d, rectTemp.right = %d, "
                 L"rectTemp.bottom = %d\r\n",
                 rcTemp.left, rcTemp.top, rcTemp.right, rcTemp.bottom);
    NKDbgPrintfW(L"[WFN] PreDrawNotify(), rect.left = %d, rect.top = %d, rect.right = %d, rect.bottom = %d\r\n",
                 rcLine.left, rcLine.top, rcLine.right, rcLine.bottom);
    rcLine = CaptionRect(rcLine, s);
    int nCounter = kNBTitleCounterStart;
    while (Width(rcTemp) > Width(rcLine)) {
        int size = NextTitleSize(&nCounter, s);
        if (size == 0) break;
        scoped::Font smaller(CreateNBFont(hdc, hdcMeasure, size, 0, kTitleFace));
        if (!smaller) break;
        SelectObject(hdc, smaller.get());
        font = std::move(smaller);
        rcTemp = MeasureCaption(hdc, info.caption);
    }
    DrawTextW(hdc, info.caption, -1, &rcLine, kTextDrawCentred);
    SelectObject(hdc, hOldFont);
}

// Body text in black, wrapped, top-left in its inset area; returns the
// bottom of the wrapped text (the area's top when nothing could be drawn).
int DrawBody(HDC hdc, HDC hdcMeasure, const NotificationUIInfo& info, HGDIOBJ hOldFont) {
    const ScreenProfile& screen = CurrentScreen();
    const int s = screen.nScale;
    RECT rc = BodyTextRect(info.bodyRect, s, screen.nScreenType);
    scoped::Font font(CreateNBFont(hdc, hdcMeasure, screen.b320x480 ? 18 : 12 * s, 0, kBodyFace));
    if (!font) return rc.top;
    SelectObject(hdc, font.get());
    SetTextColor(hdc, RGB(0, 0, 0));
    RECT rcCalc = rc;
    DrawTextW(hdc, info.text, -1, &rcCalc, kTextMeasureWrapped);
    // Only the height is taken: a long word widens the calculated width.
    rc.bottom = rc.top + (rcCalc.bottom - rcCalc.top);
    DrawTextW(hdc, info.text, -1, &rc, kTextDrawWrapped);
    SelectObject(hdc, hOldFont);
    return rc.bottom;
}

// The password field below the text: its frame in the picture, the edit
// control in it with the focus, and the input panel set to digits.
void ShowInputField(HWND hwnd, HDC hdc, const NotificationUIInfo& info, int textBottom) {
    const ScreenProfile& screen = CurrentScreen();
    const int s = screen.nScale;
    RECT rcFrame = InputFrameRect(info.panelRect, textBottom, s, screen.nScreenType);
    LoadImageToHdcMem(rcFrame, kBoxInputFrameFile, hdc);
    HWND hwndEdit = GetDlgItem(hwnd, IDC_NB_INPUT);
    if (!hwndEdit) {
        NKDbgPrintfW(L"[WFN] PreDrawNotify(), no password field\r\n");
        return;
    }
    RECT rcEdit = InputEditRect(rcFrame, s);
    MoveWindow(hwndEdit, rcEdit.left, rcEdit.top, rcEdit.right - rcEdit.left, rcEdit.bottom - rcEdit.top, FALSE);
    ShowWindow(hwndEdit, SW_SHOW);
    SetFocus(hwndEdit);
    // Without an input panel there is nothing to tell.
    SHSipSetLayout(kSipLayoutDigits);
}

// Everything over the darkened screen, into hdc: panel, caption, body, the
// password field and the buttons.
void ComposeNotification(HWND hwnd, HDC hdc, HDC hdcMeasure, const NotificationUIInfo& info) {
    LoadNTFBodyPictures(hdc);
    SetBkMode(hdc, TRANSPARENT);
    SetTextColor(hdc, RGB(0, 0, 0));
    HGDIOBJ hOldFont = GetCurrentObject(hdc, OBJ_FONT);
    DrawCaption(hdc, hdcMeasure, info, hOldFont);
    int textBottom = DrawBody(hdc, hdcMeasure, info, hOldFont);
    if (IsInputStyle(info.style))
        ShowInputField(hwnd, hdc, info, textBottom);
    else if (HWND hwndEdit = GetDlgItem(hwnd, IDC_NB_INPUT))
        ShowWindow(hwndEdit, SW_HIDE);
    DrawButtonCtrl(hwnd, hdc);
    SelectObject(hdc, hOldFont);
}

}  // namespace

void PreDrawNotify(HWND hwnd, HDC hdcBack) {
    NKDbgPrintfW(L"[WFN] PreDrawNotify()\r\n");
    PaintBackGround(hdcBack, TRUE);
    HDC hdc = g_NBCompose.hdc();
    if (!g_NBCompose) return;
    scoped::MemDC measure(CreateCompatibleDC(hdc));
    HDC hdcMeasure = measure.get();
    if (!hdcMeasure) {
        NKDbgPrintfW(L"[WFN] PreDrawNotify(), no measuring surface, error=[%lu]\r\n", GetLastError());
        return;
    }
    LoadBtnPictures();
    setTemplateNotification();
    if (const NotificationUIInfo* pInfo = g_pNotificationUIInfo) ComposeNotification(hwnd, hdc, hdcMeasure, *pInfo);
    measure.reset();
    BitBlt(hdcBack, 0, 0, g_nNBScreenWidth, g_nNBScreenHeight, hdc, 0, 0, SRCCOPY);
}
