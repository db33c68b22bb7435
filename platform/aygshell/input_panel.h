// Inside the input panel: what the soft-key bar, the dialog helpers and the
// phone's shell need.
#pragma once
#include <windows.h>

constexpr wchar_t kSipClass[] = L"SipWndClass";

// The panel the process's calls go to: the shell's when a shell runs on this
// desktop, else the process's own, made hidden on first use; null if it
// cannot be made.
HWND EnsureInputPanel();
// Puts this process's raised panel back above the soft-key bar for the
// current screen (the shell's panel does that itself).
void PlaceInputPanel();
// The shell's side: makes this process's panel the device's, the one every
// program on the desktop then raises, lowers and types with. Null on failure.
HWND HostShellInputPanel();
