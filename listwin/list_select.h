// Rows marked and clicked: what the scroll component's taps and clicks do
// to the row under the pen, the toggling of group items and the rows'
// activation callbacks.
#pragma once
#include <windows.h>

// Event 0: marks the row under the pen (window coordinates). TRUE.
BOOL OnTap(int x, int y);
// Event 1: starts or calls the row under the pen and toggles the group item
// there. TRUE.
BOOL OnClick(int x, int y);
// Flips item k of row i (a radio item switches its group); redraws the
// on/off images. 0.
LRESULT ToggleSubItem(HWND hwnd, int iRow, int iItem, void* pItem);
// pfnOnActivate of every row that has one. TRUE.
BOOL RunActivateCallbacks();
