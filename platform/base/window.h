// Window services whose use differs between Windows CE and Win32.
#pragma once
#include <windows.h>

// Brings a window forward together with the windows it owns. CE asks for this
// with the handle's lowest bit set; Win32 raises owned windows with their
// owner anyway and would take the changed handle for another window.
void SetForegroundWindowAndOwned(HWND hwnd);

// The style of a top-level window: on CE a window without frame bits is a
// bare popup; Win32 would give it a caption and border.
DWORD TopLevelStyle(DWORD ceStyle);

// MessageBeep(MB_OK): the platform's default beep, for input refused as it
// is typed. The count of beeps so far lets a test hear it.
void DefaultBeep();
UINT DefaultBeepCount();
