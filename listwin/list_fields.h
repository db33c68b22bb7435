// The two number fields as the program's top uses them: the list shows the
// texts it is handed, hands back what the fields hold, and puts the focus on
// a field when asked. It knows nothing of where the numbers come from.
#pragma once
#include <windows.h>

#include "listwin/list_items.h"

// Text box iItem shows the text once its field is made (the first paint).
void ShowFieldText(int iItem, LPCWSTR pszText);
// What the field holds now; false (the text empty) when the screen never
// made the field, so there is no edited value.
bool GetFieldText(int iItem, LPWSTR pszText, int cchText);
// The field gets the keyboard focus with its whole text selected; false
// when there is no field.
bool SelectFieldText(int iItem);
// The first field (the service centre) gets the keyboard focus, the caret at
// the end of its text, the input panel left down: keys need none. False
// when the screen has made no field.
bool FocusFirstField();
