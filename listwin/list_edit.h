// The edit controls of text-box items: created with the list image, their
// boxes recomputed after a turn, moved with the scroll offset.
#pragma once
#include <windows.h>

#include "listwin/list_state.h"

constexpr int kListEditLimit = 48;

// The control of a text-box item at (x, y) of height cy, as wide as the item
// less x on both sides, in list-image coordinates of the current orientation.
// Creates it on first use (filled from szText); later only the box changes.
// The control takes input as its field does (listwin/list_field_input.h).
void PlaceTextBox(HWND hwndList, ListItem& item, int x, int y, int cy, const RECT& rcItem);

// Moves every edit control to its box less g_iCurTop, on top of its siblings.
void PlaceEditControls();

// The controls go with the list window: their handles are cleared.
void ForgetEditControls();

// The edit control of the text box after hwndFrom in screen order (before
// it, when bBackward), wrapping around; from no field, the first (the last).
// Null when no field exists.
HWND TextBoxNextTo(HWND hwndFrom, bool bBackward);

// The row and item whose edit control is hwndEdit; false if none is.
bool FindTextBox(HWND hwndEdit, int* piRow, int* piItem);
