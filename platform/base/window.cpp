// Window services that differ between Windows CE and Win32.
#include "platform/base/window.h"

void SetForegroundWindowAndOwned(HWND hwnd) {
#ifdef UNDER_CE
    SetForegroundWindow(reinterpret_cast<HWND>(reinterpret_cast<ULONG_PTR>(hwnd) | 1));
#else
    SetForegroundWindow(hwnd);
#endif
}

DWORD TopLevelStyle(DWORD ceStyle) {
#ifdef UNDER_CE
    return ceStyle;
#else
    return ceStyle | WS_POPUP;
#endif
}

namespace {
LONG g_nBeeps = 0;
}  // namespace

void DefaultBeep() {
    InterlockedIncrement(&g_nBeeps);
    MessageBeep(MB_OK);
}

UINT DefaultBeepCount() { return static_cast<UINT>(g_nBeeps); }
