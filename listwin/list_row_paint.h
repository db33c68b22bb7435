// Drawing the rows into the list image: every kind, with the edit controls
// of text-box items.
#pragma once
#include <windows.h>

#include "listwin/list_state.h"

// Row i into hdc, in list-image coordinates; hidden rows are skipped.
// Text-box items get their edit control, a child of the list window.
BOOL PaintItem(HWND hwndList, HDC hdc, int iRow);

// The texts of a row (not of a group) from its top in the given context:
// the switch words, the main text and the second line.
void DrawRowTexts(HDC hdc, const ListItem& row, LPCWSTR t1, LPCWSTR t2, int top);
