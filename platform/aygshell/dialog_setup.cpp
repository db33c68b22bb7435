// Dialog set-up and the activation and setting-change helpers: sizing to the
// screen areas, and the input panel's state across activation.
#include "platform/aygshell/aygshell.h"
#include "platform/aygshell/input_panel.h"
#include "platform/aygshell/shell_metrics.h"
#include "platform/base/debug_out.h"

namespace {

// The flags a window was set up with, kept on the window for setting changes.
constexpr wchar_t kInitFlagsProp[] = L"QX.SHInitDialog.Flags";
constexpr DWORD kSizingFlags = SHIDIF_SIZEDLG | SHIDIF_SIZEDLGFULLSCREEN | SHIDIF_FULLSCREENNOMENUBAR;

// The screen rectangle the flags ask for; false when they ask for none.
bool SizingRect(DWORD dwFlags, RECT* prc) {
    if (dwFlags & SHIDIF_SIZEDLGFULLSCREEN) {
        *prc = ScreenRect();
    } else if (dwFlags & SHIDIF_FULLSCREENNOMENUBAR) {
        *prc = ScreenRect();
        prc->top += SHGetBarHeight();
    } else if (dwFlags & SHIDIF_SIZEDLG) {
        SHGetDefaultMainArea(prc);
    } else {
        return false;
    }
    return true;
}

void SizeWindow(HWND hwnd, DWORD dwFlags) {
    RECT rc{};
    if (!SizingRect(dwFlags, &rc)) return;
    // A child dialog (a page inside another window) is placed in its parent.
    if ((GetWindowLongPtrW(hwnd, GWL_STYLE) & WS_CHILD) && GetParent(hwnd))
        MapWindowPoints(HWND_DESKTOP, GetParent(hwnd), reinterpret_cast<POINT*>(&rc), 2);
    if (!SetWindowPos(hwnd, nullptr, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top,
                      SWP_NOZORDER | SWP_NOACTIVATE))
        NKDbgPrintfW(L"[aygshell] SHInitDialog: SetWindowPos failed, error=%u\r\n", GetLastError());
}

}  // namespace

BOOL SHInitDialog(SHINITDLGINFO* pshidi) {
    if (!pshidi || !pshidi->hDlg || !IsWindow(pshidi->hDlg)) {
        NKDbgPrintfW(L"[aygshell] SHInitDialog: no dialog\r\n");
        return FALSE;
    }
    if (!(pshidi->dwMask & SHIDIM_FLAGS)) return TRUE;
    HWND hDlg = pshidi->hDlg;
    DWORD dwFlags = pshidi->dwFlags;
    if (dwFlags & kSizingFlags) {
        SizeWindow(hDlg, dwFlags);
        SetPropW(hDlg, kInitFlagsProp, reinterpret_cast<HANDLE>(static_cast<ULONG_PTR>(dwFlags & kSizingFlags)));
    }
    if (dwFlags & SHIDIF_SIPDOWN) SHSipPreference(hDlg, SIP_FORCEDOWN);
    if (dwFlags & SHIDIF_EMPTYMENU) {
        // Owned by the dialog, so it goes with it.
        SHMENUBARINFO mbi{};
        mbi.cbSize = sizeof(mbi);
        mbi.hwndParent = hDlg;
        mbi.dwFlags = SHCMBF_EMPTYBAR;
        SHCreateMenuBar(&mbi);
    }
    return TRUE;
}

BOOL SHHandleWMActivate(HWND hwnd, WPARAM wParam, LPARAM, SHACTIVATEINFO* psai, DWORD) {
    if (!psai) {
        NKDbgPrintfW(L"[aygshell] SHHandleWMActivate: no activation record\r\n");
        return FALSE;
    }
    if (LOWORD(wParam) == WA_INACTIVE) {
        HWND hwndFocus = GetFocus();
        psai->hwndLastFocus = (hwndFocus && (hwndFocus == hwnd || IsChild(hwnd, hwndFocus))) ? hwndFocus : nullptr;
        bool bUp = SHSipIsUp() != FALSE;
        psai->fSipOnDeactivation = bUp;
        psai->fSipUp = bUp;
        psai->fActive = 0;
        // The panel types into this thread's focus: it goes down with the window.
        if (bUp) SHSipPreference(hwnd, SIP_FORCEDOWN);
        return TRUE;
    }
    psai->fActive = 1;
    if (psai->fSipOnDeactivation) {
        psai->fSipOnDeactivation = 0;
        SHSipPreference(hwnd, SIP_UP);
    }
    return TRUE;
}

BOOL SHHandleWMSettingChange(HWND hwnd, WPARAM, LPARAM, SHACTIVATEINFO*) {
    if (!hwnd || !IsWindow(hwnd)) {
        NKDbgPrintfW(L"[aygshell] SHHandleWMSettingChange: no window\r\n");
        return FALSE;
    }
    // The screen may have turned: the work area and the panel's place follow it.
    if (DWORD dwFlags = static_cast<DWORD>(reinterpret_cast<ULONG_PTR>(GetPropW(hwnd, kInitFlagsProp))))
        SizeWindow(hwnd, dwFlags);
    if (SHSipIsUp()) PlaceInputPanel();
    return TRUE;
}
