// Saving the settings on "Done": the edited service-centre address into the
// radio's message configuration, the voice-mail number into the SIM mailbox
// record, both into their mirrors, then the phone application is told.
#pragma once
#include <windows.h>

#include "settings/number_input.h"
#include "settings/number_record.h"

// After the save the phone application gets WM_CPROG_UPDATEVMAIL_NUMBER
// (platform/aygshell/aygshell.h); it reads the new number itself.

// How each number's save ended.
enum SaveOutcome {
    SO_UNCHANGED = 0,  // as shown (or no field): nothing written
    SO_SAVED,          // written, read back as written, mirrored
    SO_NOT_SAVED,      // refused, not answered, or read back otherwise: the mirror kept
};
struct VMailTextMSGSaveResult {
    SaveOutcome outcome[kSettingFieldCount];
};

// Writes what changed in the fields: the service centre into the radio's
// message configuration (the record's, sent back with the new address), the
// voice mail into record 1 of the mailbox file with the rest of that record
// kept, and then into the card's other mailbox file; each read back, then
// mirrored. The record takes what was saved as shown. *pResult (may be null)
// says how each ended.
void FuncSetVMailTextMSG_Setting(VMailTextMSGSetting* pSetting, const VMailTextMSGInput& input,
                                 VMailTextMSGSaveResult* pResult);

// The field whose text cannot be stored, and why.
struct SettingInputFault {
    SettingField field;
    NumberFault fault;
};

// The changed texts as the fields hold them, before anything is written:
// TRUE when they can be stored; FALSE with the first that cannot (a trace
// line says which and why). A field as it was shown is not checked: it is
// not written.
BOOL CheckSettingInput(const VMailTextMSGSetting& setting, const VMailTextMSGInput& input,
                       SettingInputFault* pFault);

// The save and the notification of the phone application, which is told
// unless the voice mail could not be saved. TRUE when nothing failed;
// *pResult (may be null) says how each number ended.
BOOL SaveSetting(VMailTextMSGSetting* pSetting, const VMailTextMSGInput& input,
                 VMailTextMSGSaveResult* pResult = nullptr);
