// What the message box does with the stylus, its timer, activation and
// setting changes. Handlers of its message table; each returns 0.
#pragma once
#include <windows.h>

LRESULT OnNBLButtonDown(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT OnNBLButtonUp(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT OnNBTimer(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT OnNBActivate(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT OnNBSettingChange(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

// The button under a point: kNBSingleButton, kNBFirstButton,
// kNBSecondButton, or kNBNoButton.
int HitNotificationButton(int x, int y);
