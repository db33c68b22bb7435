// Window services whose use differs between Windows CE and Win32.
#pragma once
#include <windows.h>

// Brings a window forward together with the windows it owns. CE asks for this
// with the handle's lowest bit set; Win32 raises owned windows with their
// owner anyway and would take the changed handle for another window.
void SetForegroundWindowAndOwned(HWND hwnd);
