// The on/off images of the rows (switches, buttons, check boxes, radio
// items, input frames) and the focus mark drawn straight onto the screen.
#pragma once
#include <windows.h>

#include "listwin/list_state.h"

// On/off images of all rows into hdc, in list-image coordinates.
BOOL RefreshOnOffStatus(HDC hdc, int iCurTop);
// The on/off image of row iCurrent in window coordinates (image y less
// iCurTop); the place is cleared first only when bRectangle is set.
BOOL RefreshOnOffStatus(HDC hdc, int iCurrent, int iCurTop, BOOL bRectangle);

// The frame of a text-box item's field, in list-image coordinates of the
// current orientation.
RECT InputFrameRect(const ListItem& item);
// The field that has the keyboard focus shows it: a frame over its own, in
// window coordinates (the list image less g_iCurTop), into hdc.
void DrawFieldFocus(HDC hdc);

// Marks row i on the screen with the focus image; the list image is left
// as it is, so the next paint shows the row unmarked. TRUE.
BOOL MarkCell(int iRow);
// The marked picture of the client area into a context of its size.
void ComposeMarkedCell(HDC hdc, int iRow, const RECT& client);
