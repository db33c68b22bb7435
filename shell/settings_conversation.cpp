// The two numbers between the settings and the list.
#include "shell/settings_conversation.h"

#include "listwin/list_fields.h"
#include "platform/base/kernel.h"
#include "settings/read_settings.h"
#include "settings/save_settings.h"
#include "shell/input_report.h"

namespace {

// The numbers as read at start, for the save: owned here, between the two.
VMailTextMSGSetting g_setting = {};

// While the report of a text that cannot be stored is up, Done and Cancel
// wait: the screen must not close under its box.
bool g_bReporting = false;

// The list's text box of each field.
int FieldItem(SettingField field) {
    return field == SF_TEXT_MESSAGE ? kItemTextMessageTextBox : kItemVoiceMailTextBox;
}

// What the fields hold now.
VMailTextMSGInput TakeInput() {
    VMailTextMSGInput input{};
    for (int f = 0; f < kSettingFieldCount; ++f)
        input.bHasText[f] = GetFieldText(FieldItem(static_cast<SettingField>(f)), input.szText[f], kTextLen);
    return input;
}

}  // namespace

BOOL LoadSetting() {
    ShowWaitCursor();
    // Without rows there is nowhere to show the numbers: the radio is left alone.
    if (BuildListRows()) {
        FuncGetVMailTextMSG_Setting(&g_setting);
        ShowFieldText(kItemTextMessageTextBox, g_setting.szTextMessage);
        ShowFieldText(kItemVoiceMailTextBox, g_setting.szVoiceMail);
    }
    HideCursor();
    return TRUE;
}

BOOL SaveOnDone(HWND hwndMain) {
    if (g_bReporting) return FALSE;
    const VMailTextMSGInput input = TakeInput();
    // A text that cannot be stored keeps the screen open and is said;
    // nothing is written then. Failures of the save itself do not keep the
    // screen open.
    SettingInputFault fault{};
    if (!CheckSettingInput(input, &fault)) {
        g_bReporting = true;
        ReportInputFault(hwndMain, fault);
        g_bReporting = false;
        SelectFieldText(FieldItem(fault.field));
        return FALSE;
    }
    SaveSetting(&g_setting, input);
    return TRUE;
}

BOOL IsDoneReportUp() { return g_bReporting; }
