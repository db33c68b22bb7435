// The skinned message box.
#pragma once
#include <windows.h>

// Style: bits 0-3 buttons (1 one, 2 two), 0x20 in bits 4-7 auto-close after
// dwTimeout, 0x100 the numeric password field. Returns the closing code: 1
// the first of two buttons, 0 the other or a time-out, -1 when the box
// cannot be made.
int ShowNotificationBox(HWND hwndOwner, LPCWSTR pszText, LPCWSTR pszCaption, DWORD dwStyle,
                        DWORD dwTimeout);
