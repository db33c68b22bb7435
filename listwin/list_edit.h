// The edit controls of text-box items: created with the list image, their
// boxes recomputed after a turn, moved with the scroll offset.
#pragma once
#include <windows.h>

#include "listwin/list_state.h"

constexpr int kListEditLimit = 48;

// The control of a text-box item at (x, y) of height cy, as wide as the item
// less x on both sides, in list-image coordinates of the current orientation.
// Creates it on first use (filled from szText); later only the box changes.
// The control takes only what a number is made of as it is typed or pasted;
// anything else is refused with the default beep.
void PlaceTextBox(HWND hwndList, ListItem& item, int x, int y, int cy, const RECT& rcItem);

// Moves every edit control to its box less g_iCurTop, on top of its siblings.
void PlaceEditControls();

// The controls go with the list window: their handles are cleared.
void ForgetEditControls();

// The row and item whose edit control is hwndEdit; false if none is.
bool FindTextBox(HWND hwndEdit, int* piRow, int* piItem);
