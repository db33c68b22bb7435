// What "Done" says in the skinned message box, under the program's title:
// a text that cannot be stored, a save that did not happen, and the
// question before the voice-mail number is deleted.
#pragma once
#include <windows.h>

#include "settings/save_settings.h"

// The string-table id of the sentence for a field and its problem; 0 when
// there is none.
UINT InputFaultTextId(const SettingInputFault& fault);
// The sentence for a save that did not happen, naming what could not be
// saved (and what was); 0 when nothing failed.
UINT SaveFailureTextId(const VMailTextMSGSaveResult& result);

// One-button boxes owned by hwndOwner; each returns after "OK".
void ReportInputFault(HWND hwndOwner, const SettingInputFault& fault);
void ReportSaveFailure(HWND hwndOwner, const VMailTextMSGSaveResult& result);

// "OK" and "Cancel": TRUE when the user says the number may go.
BOOL AskDeleteVoiceMail(HWND hwndOwner);
