// Drawing the rows into the list image: every kind, the edit controls of
// text-box items, and the on/off images.
#pragma once
#include <windows.h>

#include "listwin/list_items.h"

// Row i into g_hdcItem; hidden rows are skipped. Text-box items get their
// edit control, children of the list window AppState.hwndItem.
BOOL PaintItem(int iRow);
// The same with the list window given.
BOOL PaintItemFor(HWND hwndList, int iRow);

// The texts of a row (not of a group) from its top in the given context:
// the switch words, the main text and the second line.
void DrawRowTexts(HDC hdc, const ListItem& row, LPCWSTR t1, LPCWSTR t2, int top);

// On/off images of all rows into hdc, in list-image coordinates.
BOOL RefreshOnOffStatus(HDC hdc, int iCurTop);
// The on/off image of row iCurrent in window coordinates (image y less
// iCurTop); the place is cleared first only when bRectangle is set.
BOOL RefreshOnOffStatus(HDC hdc, int iCurrent, int iCurTop, BOOL bRectangle);

// Marks row i on the screen with the focus image; the list image is left
// as it is, so the next paint shows the row unmarked. TRUE.
BOOL MarkCell(int iRow);
// The marked picture of the client area into a context of its size.
void ComposeMarkedCell(HDC hdc, int iRow, const RECT& client);
