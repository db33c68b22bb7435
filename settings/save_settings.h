// Saving the settings on "Done": the edited service-centre address into the
// radio's message configuration, the voice-mail number into the SIM mailbox
// record, both into their mirrors, then the phone application is told.
#pragma once
#include <windows.h>

// Sent to the phone application after a save; it reads the number itself.
constexpr UINT kWmCprogUpdateVmailNumber = 0x8019;  // WM_CPROG_UPDATEVMAIL_NUMBER

// Writes what the two edit controls hold. Outcomes only in the radio, the
// SIM, the registry and the trace.
void FuncSetVMailTextMSG_Setting();

// The save and the notification. Always TRUE.
BOOL SaveSetting();
