// What "Done" says when a field holds a text it cannot store: the skinned
// message box names the field and the problem.
#pragma once
#include <windows.h>

#include "settings/save_settings.h"

// The string-table id of the sentence for a field and its problem; 0 when
// there is none.
UINT InputFaultTextId(const SettingInputFault& fault);

// Shows the sentence in a one-button box with the program's title as its
// caption, owned by hwndOwner; returns after "OK".
void ReportInputFault(HWND hwndOwner, const SettingInputFault& fault);
