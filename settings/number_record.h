// The two numbers as the settings keep them between the read at start and
// the save on Done: the radio's message configuration the service centre
// came in, the texts the screen shows, and whether each was really read.
// The read fills the record and the save takes it; the program's top owns
// it and hands the texts to the screen and back.
#pragma once
#include <windows.h>

#include "core/app_state.h"
#include "platform/ril/ril.h"

// The two fields, in the order of the screen.
enum SettingField {
    SF_TEXT_MESSAGE = 0,  // the SMS service centre
    SF_VOICE_MAIL = 1,
};
constexpr int kSettingFieldCount = 2;

struct VMailTextMSGSetting {
    // The message configuration as the radio gave it; all zero when it could
    // not be read. The save sends it back with the new address.
    RILMSGCONFIG TextMsgConfig;
    BOOL bTextMsgRead;
    // The texts as shown: the service centre with "+" when international,
    // the voice-mail number as its mirror (or "PhoneNumber1" under the
    // override) holds it.
    WCHAR szTextMessage[kTextLen];
    WCHAR szVoiceMail[kTextLen];
    // The voice-mail number was read from the SIM.
    BOOL bVMailRead;
    // szVoiceMail holds the value it is shown from. A value that could not be
    // read leaves it empty, and that is no number the user chose.
    BOOL bVMailShown;
};

// What the fields hold at Done. A field the screen never made has no text:
// there is no edited value to save.
struct VMailTextMSGInput {
    BOOL bHasText[kSettingFieldCount];
    WCHAR szText[kSettingFieldCount][kTextLen];
};

// The field's name in the trace: "TextMessageTextBox", "VoiceMailTextBox".
LPCWSTR SettingFieldName(SettingField field);
