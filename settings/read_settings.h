// Reading the settings: the service-centre address from the radio's message
// configuration and the voice-mail number from the SIM mailbox record, into
// the list's two text boxes and the registry mirrors.
#pragma once
#include <windows.h>

#include "platform/ril/ril.h"

// The message configuration between reading and saving; all zero at start.
extern RILMSGCONFIG TextMsgConfig;

// TRUE once the voice-mail number has really been read from the SIM at
// start. An empty box after a failed read is no number the user chose.
extern BOOL g_bVMailRead;
// TRUE once the box shows the value it is shown from ("PhoneNumber1" under
// the override, else "VMail_Address"). A value that could not be read leaves
// the box empty, and that is no number the user chose either.
extern BOOL g_bVMailShown;

// FALSE when the message configuration or the mailbox file's GET RESPONSE
// could not be read; TRUE otherwise (a missing SIM-type key or a failed READ
// RECORD included).
BOOL FuncGetVMailTextMSG_Setting();

// Dumps TextMsgConfig to the trace and shows its address, with "+" when it is
// international, in the TextMessageTextBox item.
void ShowTextMessageItem();
