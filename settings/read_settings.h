// Reading the settings at start: the service-centre address from the
// radio's message configuration and the voice-mail number from the SIM
// mailbox record, into the record of the two numbers and their registry
// mirrors.
#pragma once
#include <windows.h>

#include "settings/number_record.h"

// Empties the record and reads both numbers into it. FALSE when the message
// configuration or the mailbox file's GET RESPONSE could not be read; TRUE
// otherwise (a missing SIM-type key or a failed READ RECORD included).
BOOL FuncGetVMailTextMSG_Setting(VMailTextMSGSetting* pSetting);

// Dumps the record's message configuration to the trace and sets the
// service centre as shown, with "+" when it is international.
void ShowTextMessageItem(VMailTextMSGSetting* pSetting);
