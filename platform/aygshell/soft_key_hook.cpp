// The soft-key keys F1 and F2 reach the focused window, not the bar. A
// message hook of the bar's thread takes them out of whatever loop retrieves
// them (the program's, a modal dialog's) and hands them to the bar, so no
// message loop has to know about the bar.
#include "platform/aygshell/soft_key_bar.h"

#include "platform/base/debug_out.h"

namespace {

thread_local HHOOK t_hHook = nullptr;
thread_local int t_nBars = 0;

LRESULT CALLBACK GetMessageHook(int code, WPARAM wParam, LPARAM lParam) {
    // Only removal counts: a message peeked without removal comes back again.
    if (code == HC_ACTION && wParam == PM_REMOVE) {
        MSG* pMsg = reinterpret_cast<MSG*>(lParam);
        bool bKey = pMsg->message == WM_KEYDOWN || pMsg->message == WM_KEYUP;
        if (bKey && (pMsg->wParam == VK_F1 || pMsg->wParam == VK_F2) && pMsg->hwnd) {
            if (HWND hwndBar = FindSoftKeyBarFor(pMsg->hwnd)) {
                int iKey = pMsg->wParam == VK_F1 ? kSoftKeyLeft : kSoftKeyRight;
                bool bDown = pMsg->message == WM_KEYDOWN;
                bool bRepeat = bDown && (pMsg->lParam & (1L << 30)) != 0;
                SoftKeyBarKeyboard(hwndBar, iKey, bDown, bRepeat);
                pMsg->message = WM_NULL;  // the key belonged to the bar
            }
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace

void RetainSoftKeyHook() {
    if (t_nBars++ > 0 && t_hHook) return;
    t_hHook = SetWindowsHookExW(WH_GETMESSAGE, GetMessageHook, nullptr, GetCurrentThreadId());
    if (!t_hHook)
        NKDbgPrintfW(L"[aygshell] SetWindowsHookExW(WH_GETMESSAGE) failed, error=%u: soft keys only by tap\r\n",
                     GetLastError());
}

void ReleaseSoftKeyHook() {
    if (t_nBars <= 0) return;
    if (--t_nBars == 0 && t_hHook) {
        UnhookWindowsHookEx(t_hHook);
        t_hHook = nullptr;
    }
}
