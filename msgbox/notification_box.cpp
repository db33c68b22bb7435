// The skinned message box: the call, the record, the message table of its
// dialog procedure, initialisation and closing.
#include "msgbox/notification_box.h"

#include <algorithm>

#include "core/app_state.h"
#include "msgbox/notification_input.h"
#include "msgbox/notification_paint.h"
#include "msgbox/notification_state.h"
#include "platform/aygshell/aygshell.h"
#include "platform/base/debug_out.h"
#include "platform/base/message_table.h"
#include "platform/base/screen.h"
#include "res/resource.h"

NotificationUIInfo* g_pNotificationUIInfo = nullptr;
int g_nNBScreenWidth = 0;
int g_nNBScreenHeight = 0;
WCHAR g_szNBTitle[kNBTextLen];
HWND g_hwndNotification = nullptr;
HWND g_hwndNBMenuBar = nullptr;
WCHAR g_szNBInputText[kNBTextLen];
scoped::Surface g_NBBack;
scoped::Surface g_NBCompose;
scoped::Surface g_NBCapture;
HWND g_hwndNBBackdrop = nullptr;
HBITMAP g_hbmNBButtonUp = nullptr;

void ReadNBScreenSize() {
    g_nNBScreenWidth = GetScreenWidth();
    g_nNBScreenHeight = GetScreenHeight();
}

namespace {

constexpr DWORD kNBDialogFlags = SHIDIF_SIZEDLG | SHIDIF_CANCELBUTTON;          // 0x82
constexpr DWORD kNBMenuBarFlags = SHCMBF_EMPTYBAR | SHCMBF_HIDESIPBUTTON;      // 5

// Creates the record if there is none and resets it.
bool SetDefaultNotificationUIInfo() {
    NKDbgPrintfW(L"[WFN] SetDefaultNotificationUIInfo()\r\n");
    if (!g_pNotificationUIInfo)
        g_pNotificationUIInfo = static_cast<NotificationUIInfo*>(LocalAlloc(LPTR, sizeof(NotificationUIInfo)));
    NotificationUIInfo* pInfo = g_pNotificationUIInfo;
    if (!pInfo) {
        NKDbgPrintfW(L"[WFN] SetDefaultNotificationUIInfo(), no memory for the record\r\n");
        return false;
    }
    ZeroMemory(pInfo, sizeof(*pInfo));
    pInfo->timeoutMs = 0;
    pInfo->buttonMode = 0;
    lstrcpynW(pInfo->caption, L"Reminder", kNBTextLen);
    lstrcpynW(pInfo->text, L"TestDesc", kNBTextLen);
    lstrcpynW(pInfo->button1Text, L"Snooze", kNBButtonTextLen);
    lstrcpynW(pInfo->button2Text, L"Dismiss", kNBButtonTextLen);
    pInfo->portraitWidth = std::min(g_nNBScreenWidth, g_nNBScreenHeight);
    return true;
}

LRESULT OnNBInitDialog(HWND hwnd) {
    const NotificationUIInfo* pInfo = g_pNotificationUIInfo;
    SHINITDLGINFO shidi{};
    shidi.dwMask = SHIDIM_FLAGS;
    shidi.hDlg = hwnd;
    shidi.dwFlags = kNBDialogFlags;
    SHInitDialog(&shidi);

    // No soft keys; the input style keeps the input-panel key.
    SHMENUBARINFO mbi{};
    mbi.cbSize = sizeof(mbi);
    mbi.hwndParent = hwnd;
    mbi.dwFlags = pInfo && IsInputStyle(pInfo->style) ? 0 : kNBMenuBarFlags;
    mbi.hInstRes = AppState.hInst;
    g_hwndNBMenuBar = SHCreateMenuBar(&mbi) ? mbi.hwndMB : nullptr;
    if (!g_hwndNBMenuBar) NKDbgPrintfW(L"[WFN] OnNBInitDialog(), no menu bar\r\n");

    g_hwndNotification = hwnd;
    SetWindowTextW(hwnd, g_szNBTitle);
    if (CreateNBBackBuffer(hwnd))
        PreDrawNotify(hwnd, g_NBBack.hdc());
    else
        NKDbgPrintfW(L"[WFN] OnNBInitDialog(), no back buffer\r\n");
    if (pInfo && pInfo->timeoutMs != 0) SetTimer(hwnd, kNBTimerId, pInfo->timeoutMs, nullptr);
    // The box sets the focus itself (the password field, or none).
    return FALSE;
}

// WM_CLOSE from the buttons, the timer or anyone else: wParam, the box's own
// use of it, is the result.
LRESULT OnNBClose(HWND hwnd, UINT, WPARAM wParam, LPARAM) {
    // Once released, a second close in the same turn must not change the result.
    if (!g_pNotificationUIInfo) return 0;
    if (IsInputStyle(g_pNotificationUIInfo->style))
        GetDlgItemTextW(hwnd, IDC_NB_INPUT, g_szNBInputText, kNBTextLen);
    else
        g_szNBInputText[0] = L'\0';
    if (g_hwndNBMenuBar) {
        DestroyWindow(g_hwndNBMenuBar);
        g_hwndNBMenuBar = nullptr;
    }
    KillTimer(hwnd, kNBTimerId);
    ReleaseNotificationDrawing();
    EndDialog(hwnd, static_cast<INT_PTR>(wParam));
    return 0;
}

constexpr MessageHandler kNotificationHandlers[] = {
    Cracked<WM_PAINT, OnNBPaint>,
    Cracked<WM_INITDIALOG, OnNBInitDialog>,
    {WM_DESTROY, IgnoreMessage},
    Cracked<WM_LBUTTONDOWN, OnNBLButtonDown>,
    Cracked<WM_LBUTTONUP, OnNBLButtonUp>,
    {WM_SIZE, IgnoreMessage},
    {WM_ERASEBKGND, IgnoreMessage},
    {WM_ACTIVATE, OnNBActivate},
    // An addition: the dialog manager would hand the focus the box takes
    // on to its first control, the password field even while hidden.
    {WM_SETFOCUS, IgnoreMessage},
    Cracked<WM_TIMER, OnNBTimer>,
    Cracked<WM_SETTINGCHANGE, OnNBSettingChange>,
    {WM_CLOSE, OnNBClose},
    // An addition: the box answered only the stylus, and a user of the
    // D-pad has keys alone. The dialog manager turns Return (the action key)
    // and Escape into IDOK and IDCANCEL.
    Cracked<WM_COMMAND, OnNBCommand>,
    // Not on the device: lets a memory context receive the same picture.
    Cracked<WM_PRINTCLIENT, OnNBPrintClient>,
};

// The box is a dialog: the dialog manager's procedure calls this one first.
INT_PTR CALLBACK NotificationDlgProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return DispatchDialogTable(kNotificationHandlers, hwnd, msg, wParam, lParam);
}

}  // namespace

int ShowNotificationBox(HWND hwndOwner, LPCWSTR pszText, LPCWSTR pszCaption, DWORD dwStyle, DWORD dwTimeout) {
    // One box at a time: the record and the surfaces belong to the box that is up.
    if (g_hwndNotification) {
        NKDbgPrintfW(L"[WFN] ShowNotificationBox(), a box is already up\r\n");
        return -1;
    }
    ReadNBScreenSize();
    if (!SetDefaultNotificationUIInfo()) return -1;
    NotificationUIInfo* pInfo = g_pNotificationUIInfo;
    if (pszText) lstrcpynW(pInfo->text, pszText, kNBTextLen);
    if (pszCaption) lstrcpynW(pInfo->caption, pszCaption, kNBTextLen);
    pInfo->style = dwStyle;
    pInfo->timeoutMs = (dwStyle & kNBTimeoutMask) == kNBTimeoutStyle ? dwTimeout : 0;
    switch (dwStyle & kNBButtonsMask) {
    case kNBOneButton:
        pInfo->buttonMode = 1;
        LoadStringW(AppState.hInst, IDS_OK, pInfo->button1Text, kNBButtonTextLen);
        break;
    case kNBTwoButtons:
        pInfo->buttonMode = 2;
        LoadStringW(AppState.hInst, IDS_OK, pInfo->button1Text, kNBButtonTextLen);
        LoadStringW(AppState.hInst, IDS_CANCEL, pInfo->button2Text, kNBButtonTextLen);
        break;
    default:
        break;
    }
    lstrcpynW(g_szNBTitle, pInfo->caption, kNBTextLen);

    // The dialog manager gives the activation back when the box ends, but
    // not the keyboard focus.
    HWND hwndFocus = GetFocus();
    INT_PTR result = -1;
    HRSRC hRes = FindResourceW(AppState.hInst, MAKEINTRESOURCEW(IDD_NOTIFICATION), RT_DIALOG);
    HGLOBAL hTemplate = hRes ? LoadResource(AppState.hInst, hRes) : nullptr;
    auto pTemplate = hTemplate ? static_cast<LPCDLGTEMPLATEW>(LockResource(hTemplate)) : nullptr;
    if (!pTemplate) {
        NKDbgPrintfW(L"[WFN] ShowNotificationBox(), no dialog template, error=[%lu]\r\n", GetLastError());
    } else {
        result = DialogBoxIndirectParamW(AppState.hInst, pTemplate, hwndOwner, NotificationDlgProc, 0);
        if (result == -1)
            NKDbgPrintfW(L"[WFN] ShowNotificationBox(), the box could not be made, error=[%lu]\r\n",
                         GetLastError());
    }
    // A box that never reached its close (no window) leaves nothing behind.
    if (g_pNotificationUIInfo) ReleaseNotificationDrawing();
    if (g_hwndNBMenuBar) {
        DestroyWindow(g_hwndNBMenuBar);
        g_hwndNBMenuBar = nullptr;
    }
    if (hwndFocus && IsWindow(hwndFocus)) SetFocus(hwndFocus);
    return static_cast<int>(result);
}
