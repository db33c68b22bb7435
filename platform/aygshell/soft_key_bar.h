// Inside the soft-key bar: what the keyboard hook and the input panel need.
#pragma once
#include <windows.h>

constexpr wchar_t kSoftKeyBarClass[] = L"SoftKeyBarClass";

// Key indices of a bar.
constexpr int kSoftKeyLeft = 0;
constexpr int kSoftKeyRight = 1;
constexpr int kSoftKeySip = 2;

// The bar of the calling thread that serves the top-level window around
// hwnd (the bar it owns, or the bar itself); null when there is none.
HWND FindSoftKeyBarFor(HWND hwnd);
// A soft-key key went down or up for the bar. Auto-repeats are ignored.
void SoftKeyBarKeyboard(HWND hwndBar, int iKey, bool bDown, bool bRepeat);

// The keyboard hook of the calling thread, counted by its bars.
void RetainSoftKeyHook();
void ReleaseSoftKeyHook();
