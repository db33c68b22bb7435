// Input of the list window: taps and clicks from the scroll component, the
// toggling of items, the edit fields' focus and the input panel, activation,
// the turn of the screen and the pen messages.
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

// Handlers of ItemWndProc's table (platform/base/message_table.h crackers).
// Command id IDOK ends a dialog the list would be in: 1; otherwise 0.
LRESULT OnItemCommand(HWND hwnd, UINT id, UINT code, HWND hwndCtl);
LRESULT OnItemActivate(HWND hwnd, UINT state, HWND hwndOther, BOOL bMinimized);
LRESULT OnItemSettingChange(HWND hwnd, UINT_PTR flag, LPCWSTR section);
LRESULT OnItemPenDown(HWND hwnd, POINT pt);
LRESULT OnItemPenUp(HWND hwnd, POINT pt);
LRESULT OnItemPenMove(HWND hwnd, POINT pt);
