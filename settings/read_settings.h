// Reading the settings: the service-centre address from the radio's message
// configuration and the voice-mail number from the SIM mailbox record, into
// the list's two text boxes and the registry mirrors.
#pragma once
#include <windows.h>

#include "platform/ril/ril.h"

// The message configuration between reading and saving; all zero at start.
extern RILMSGCONFIG TextMsgConfig;

// FALSE when the message configuration or the mailbox file's GET RESPONSE
// could not be read; TRUE otherwise (a missing SIM-type key or a failed READ
// RECORD included).
BOOL FuncGetVMailTextMSG_Setting();

// Dumps TextMsgConfig to the trace and shows its address, with "+" when it is
// international, in the TextMessageTextBox item.
void ShowTextMessageItem();
