// Message-box input: stylus press and release on the buttons, Return and
// Escape, the auto-close timer, activation and setting changes.
#include "msgbox/notification_input.h"

#include "msgbox/notification_layout.h"
#include "msgbox/notification_paint.h"
#include "msgbox/notification_state.h"
#include "platform/aygshell/aygshell.h"
#include "platform/base/debug_out.h"
#include "platform/base/message_table.h"
#include "platform/base/scoped.h"
#include "platform/base/screen.h"
#include "platform/base/screen_capture.h"
#include "res/resource.h"

namespace {

// Kept for the life of the process, as the shell expects.
SHACTIVATEINFO g_NBActivateInfo;
SHACTIVATEINFO g_NBSettingChangeInfo;

// The stylus position as the box reads it: x and y unsigned, in window pixels.
POINT StylusPoint(POINT pt) { return POINT{UnsignedPenCoordinate(pt.x), UnsignedPenCoordinate(pt.y)}; }

// Button feedback goes to the window only; the back buffer keeps the
// released buttons of the last composition.
void RedrawButtonsOnWindow(HWND hwnd) {
    scoped::WindowDC window(hwnd);
    if (window.get()) DrawButtonCtrl(hwnd, window.get());
}

// The closing code of a button: 1 for the first of two, 0 for the others.
WPARAM ButtonCode(int button) { return button == kNBFirstButton ? 1 : 0; }

}  // namespace

int HitNotificationButton(int x, int y) {
    const NotificationUIInfo* pInfo = g_pNotificationUIInfo;
    if (!pInfo) return kNBNoButton;
    if (pInfo->buttonMode == 1)
        return IsInsideStrict(pInfo->singleButtonRect, x, y) ? kNBSingleButton : kNBNoButton;
    if (pInfo->buttonMode == 2) {
        if (IsInsideStrict(pInfo->firstButtonRect, x, y)) return kNBFirstButton;
        if (IsInsideStrict(pInfo->secondButtonRect, x, y)) return kNBSecondButton;
    }
    return kNBNoButton;
}

LRESULT OnNBLButtonDown(HWND hwnd, POINT pen) {
    NotificationUIInfo* pInfo = g_pNotificationUIInfo;
    if (!pInfo || pInfo->buttonMode == 0) return 0;
    SetCapture(hwnd);
    const POINT pt = StylusPoint(pen);
    pInfo->pressedButton = HitNotificationButton(pt.x, pt.y);
    if (pInfo->pressedButton != kNBNoButton) RedrawButtonsOnWindow(hwnd);
    return 0;
}

LRESULT OnNBLButtonUp(HWND hwnd, POINT pen) {
    NotificationUIInfo* pInfo = g_pNotificationUIInfo;
    if (!pInfo || pInfo->buttonMode == 0) return 0;
    ReleaseCapture();
    // A close needs the release on the very button that was pressed.
    const POINT pt = StylusPoint(pen);
    if (pInfo->pressedButton != kNBNoButton && HitNotificationButton(pt.x, pt.y) == pInfo->pressedButton) {
        // The close handler releases the record and every surface.
        SendMessageW(hwnd, WM_CLOSE, ButtonCode(pInfo->pressedButton), 0);
        return 0;
    }
    if (pInfo->pressedButton != kNBNoButton) {
        pInfo->pressedButton = kNBNoButton;
        RedrawButtonsOnWindow(hwnd);
    }
    return 0;
}

// Return (the D-pad's action key) is the first button, Escape the last, as
// a release on that button; without buttons the keys do nothing.
LRESULT OnNBCommand(HWND hwnd, UINT id, UINT, HWND) {
    const NotificationUIInfo* pInfo = g_pNotificationUIInfo;
    if (!pInfo || (id != IDOK && id != IDCANCEL)) return 0;
    int button = kNBNoButton;
    if (pInfo->buttonMode == 1)
        button = kNBSingleButton;
    else if (pInfo->buttonMode == 2)
        button = id == IDOK ? kNBFirstButton : kNBSecondButton;
    if (button != kNBNoButton) SendMessageW(hwnd, WM_CLOSE, ButtonCode(button), 0);
    return 0;
}

LRESULT OnNBTimer(HWND hwnd, UINT_PTR id) {
    if (id != kNBTimerId) return 0;
    SendMessageW(hwnd, WM_CLOSE, 0, 0);
    KillTimer(hwnd, kNBTimerId);
    return 0;
}

// The message's parameters go to the shell as they came. The table takes
// WM_ACTIVATE from the dialog manager, which would have given the box the
// keyboard focus; the keys need it, so the box takes it (or keeps its
// password field's).
LRESULT OnNBActivate(HWND hwnd, UINT, WPARAM wParam, LPARAM lParam) {
    SHHandleWMActivate(hwnd, wParam, lParam, &g_NBActivateInfo, 0);
    HWND hwndFocus = GetFocus();
    if (LOWORD(wParam) != WA_INACTIVE && hwndFocus != hwnd && !IsChild(hwnd, hwndFocus)) {
        const NotificationUIInfo* pInfo = g_pNotificationUIInfo;
        SetFocus(pInfo && IsInputStyle(pInfo->style) ? GetDlgItem(hwnd, IDC_NB_INPUT) : hwnd);
    }
    NKDbgPrintfW(L"[WFN] OnNBActivate()\r\n");
    return 0;
}

// Every setting change rebuilds and composes the picture, which is then put
// on the window at once: no paint request would bring it. A new screen size
// also needs a new backdrop, as the first capture shows the old screen. The
// shell tells the windows one at a time from the top, so this process's
// windows behind the box (its owner's screen) hear of a turn after the box:
// they are told first (they follow a turn once), so that the new backdrop
// shows them laid out for the new screen.
LRESULT OnNBSettingChange(HWND hwnd, UINT_PTR flag, LPCWSTR section) {
    if (g_pNotificationUIInfo) {
        if (GetScreenWidth() != g_nNBScreenWidth || GetScreenHeight() != g_nNBScreenHeight) {
            for (HWND hwndBehind : OwnWindowsBehind(hwnd))
                SendMessageW(hwndBehind, WM_SETTINGCHANGE, flag, reinterpret_cast<LPARAM>(section));
            g_NBCapture.Release();  // the next composition takes a new one
        }
        if (RebuildNBBackBuffer(hwnd)) PreDrawNotify(hwnd, g_NBBack.hdc());
    }
    SHHandleWMSettingChange(hwnd, flag, reinterpret_cast<LPARAM>(section), &g_NBSettingChangeInfo);
    RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    return 0;
}
