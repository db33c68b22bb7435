// Input of the list window: the edit fields' focus and the input panel,
// activation, the turn of the screen and the pen messages. (Taps and clicks
// on rows: listwin/list_select.h.)
#pragma once
#include <windows.h>

// Handlers of ItemWndProc's table (platform/base/message_table.h crackers).
// Command id IDOK ends a dialog the list would be in: 1; otherwise 0.
LRESULT OnItemCommand(HWND hwnd, UINT id, UINT code, HWND hwndCtl);
LRESULT OnItemActivate(HWND hwnd, UINT state, HWND hwndOther, BOOL bMinimized);
LRESULT OnItemSettingChange(HWND hwnd, UINT_PTR flag, LPCWSTR section);
LRESULT OnItemPenDown(HWND hwnd, POINT pt);
LRESULT OnItemPenUp(HWND hwnd, POINT pt);
LRESULT OnItemPenMove(HWND hwnd, POINT pt);
// Keys that reach the list itself, not a field.
LRESULT OnItemKeyDown(HWND hwnd, UINT vk, int repeat, UINT flags);
LRESULT OnItemChar(HWND hwnd, WCHAR ch, int repeat);
