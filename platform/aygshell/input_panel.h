// Inside the input panel: what the soft-key bar and the dialog helpers need.
#pragma once
#include <windows.h>

constexpr wchar_t kSipClass[] = L"SipWndClass";

// The panel of the process, made hidden on first use; null if it cannot be made.
HWND EnsureInputPanel();
// Puts a raised panel back above the soft-key bar for the current screen.
void PlaceInputPanel();
