// Message box. For now a plain modal box from template 104 that closes with
// the code a WM_CLOSE carries; the skin drawing comes with its own work.
#include "msgbox/notification_box.h"

#include "res/resource.h"
#include "shell/app_state.h"

namespace {

WCHAR g_szTitle[260];

INT_PTR CALLBACK NotificationProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM) {
    switch (msg) {
    case WM_INITDIALOG:
        SetWindowTextW(hwnd, g_szTitle);
        return TRUE;
    case WM_CLOSE:
        EndDialog(hwnd, static_cast<INT_PTR>(wParam));
        return TRUE;
    default:
        return FALSE;
    }
}

}  // namespace

int ShowNotificationBox(HWND hwndOwner, LPCWSTR, LPCWSTR pszCaption, DWORD, DWORD) {
    lstrcpynW(g_szTitle, pszCaption ? pszCaption : L"Reminder", 260);
    HRSRC res = FindResourceW(AppState.hInst, MAKEINTRESOURCEW(IDD_NOTIFICATION), RT_DIALOG);
    HGLOBAL tmpl = res ? LoadResource(AppState.hInst, res) : nullptr;
    if (!tmpl) return -1;
    return static_cast<int>(DialogBoxIndirectParamW(
        AppState.hInst, static_cast<LPCDLGTEMPLATEW>(LockResource(tmpl)), hwndOwner,
        NotificationProc, 0));
}
