// What the message box does with the stylus, the keys, its timer,
// activation and setting changes. Handlers of its message table (platform/base/message_table.h
// crackers); each returns 0.
#pragma once
#include <windows.h>

LRESULT OnNBLButtonDown(HWND hwnd, POINT pt);
LRESULT OnNBLButtonUp(HWND hwnd, POINT pt);
LRESULT OnNBTimer(HWND hwnd, UINT_PTR id);
LRESULT OnNBActivate(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT OnNBSettingChange(HWND hwnd, UINT_PTR flag, LPCWSTR section);
// IDOK and IDCANCEL, the dialog manager's Return and Escape.
LRESULT OnNBCommand(HWND hwnd, UINT id, UINT code, HWND hwndCtl);

// The button under a point: kNBSingleButton, kNBFirstButton,
// kNBSecondButton, or kNBNoButton.
int HitNotificationButton(int x, int y);
