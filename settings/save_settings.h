// Saving the settings on "Done": the edited service-centre address into the
// radio's message configuration, the voice-mail number into the SIM mailbox
// record, both into their mirrors, then the phone application is told.
#pragma once
#include <windows.h>

#include "settings/number_input.h"
#include "settings/number_record.h"

// After the save the phone application gets WM_CPROG_UPDATEVMAIL_NUMBER
// (platform/aygshell/aygshell.h); it reads the new number itself.

// Writes what the fields hold; the record's message configuration goes back
// to the radio with the new address. Outcomes only in the radio, the SIM,
// the registry and the trace.
void FuncSetVMailTextMSG_Setting(VMailTextMSGSetting* pSetting, const VMailTextMSGInput& input);

// The field whose text cannot be stored, and why.
struct SettingInputFault {
    SettingField field;
    NumberFault fault;
};

// Both texts as the fields hold them, before anything is written: TRUE when
// both can be stored; FALSE with the first that cannot (a trace line says
// which and why).
BOOL CheckSettingInput(const VMailTextMSGInput& input, SettingInputFault* pFault);

// The save and the notification. Always TRUE.
BOOL SaveSetting(VMailTextMSGSetting* pSetting, const VMailTextMSGInput& input);
