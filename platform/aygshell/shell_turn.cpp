// The shell's part of a turn of the screen.
#include "platform/aygshell/shell_turn.h"

#include <vector>

#include "platform/aygshell/aygshell.h"
#include "platform/aygshell/shell_metrics.h"
#include "platform/base/debug_out.h"

namespace {

// A window waits this long at most for each window to take the setting change.
constexpr UINT kSettingChangeWaitMs = 5000;

BOOL CALLBACK CollectWindow(HWND hwnd, LPARAM lParam) {
    reinterpret_cast<std::vector<HWND>*>(lParam)->push_back(hwnd);
    return TRUE;
}

std::vector<HWND> TopLevelWindows(DWORD dwThreadId) {
    std::vector<HWND> windows;
    if (dwThreadId)
        EnumThreadWindows(dwThreadId, CollectWindow, reinterpret_cast<LPARAM>(&windows));
    else
        EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&windows));
    return windows;
}

// A program's screen as the shell sized it: across the whole screen, between
// the status bar and the soft-key bar. Dialogs over the whole screen and the
// shell's own bars and panel (tool windows) size themselves.
bool IsFullScreenWindow(HWND hwnd, const RECT& rcOldScreen, int bar) {
    if (!IsWindowVisible(hwnd) || (GetWindowLongPtrW(hwnd, GWL_EXSTYLE) & WS_EX_TOOLWINDOW)) return false;
    RECT rc{};
    if (!GetWindowRect(hwnd, &rc)) return false;
    return rc.left <= rcOldScreen.left && rc.right >= rcOldScreen.right && rc.top > rcOldScreen.top &&
           rc.top <= rcOldScreen.top + bar && rc.bottom <= rcOldScreen.bottom - bar && rc.bottom > rc.top;
}

}  // namespace

LONG TurnScreen() {
    RECT rc = ScreenRect();
    DEVMODEW dm{};
    dm.dmSize = sizeof(dm);
    dm.dmPelsWidth = static_cast<DWORD>(rc.bottom - rc.top);
    dm.dmPelsHeight = static_cast<DWORD>(rc.right - rc.left);
    dm.dmFields = DM_PELSWIDTH | DM_PELSHEIGHT;
    LONG result = ChangeDisplaySettingsExW(nullptr, &dm, nullptr, 0, nullptr);
    if (result != DISP_CHANGE_SUCCESSFUL)
        NKDbgPrintfW(L"[aygshell] the display does not take %lux%lu (result %ld)\r\n", dm.dmPelsWidth,
                     dm.dmPelsHeight, result);
    return result;
}

int FollowScreenTurn(const RECT& rcOldScreen, DWORD dwThreadId) {
    RECT rcScreen = ScreenRect();
    if (rcScreen.right - rcScreen.left == rcOldScreen.right - rcOldScreen.left &&
        rcScreen.bottom - rcScreen.top == rcOldScreen.bottom - rcOldScreen.top)
        return 0;
    RECT rcWork{};
    SHGetDefaultMainArea(&rcWork);
    const int bar = SHGetBarHeight();
    std::vector<HWND> windows = TopLevelWindows(dwThreadId);
    int resized = 0;
    for (HWND hwnd : windows) {
        if (!IsFullScreenWindow(hwnd, rcOldScreen, bar)) continue;
        if (SetWindowPos(hwnd, nullptr, rcWork.left, rcWork.top, rcWork.right - rcWork.left,
                         rcWork.bottom - rcWork.top, SWP_NOZORDER | SWP_NOACTIVATE))
            ++resized;
        else
            NKDbgPrintfW(L"[aygshell] a full-screen window was not resized, error=%u\r\n", GetLastError());
    }
    // One at a time rather than a broadcast, so only the windows asked for hear it.
    for (HWND hwnd : windows) {
        DWORD_PTR result = 0;
        if (IsWindow(hwnd))
            SendMessageTimeoutW(hwnd, WM_SETTINGCHANGE, SETTINGCHANGE_RESET, 0, SMTO_ABORTIFHUNG,
                                kSettingChangeWaitMs, &result);
    }
    return resized;
}
