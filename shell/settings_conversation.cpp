// The two numbers between the settings and the list.
#include "shell/settings_conversation.h"

#include "listwin/list_fields.h"
#include "platform/base/kernel.h"
#include "settings/read_settings.h"
#include "settings/save_settings.h"
#include "shell/done_report.h"

namespace {

// The numbers as read at start, for the save: owned here, between the two.
VMailTextMSGSetting g_setting = {};

// While Done's box is up (a report or its question), Done and Cancel wait:
// the screen must not close under it.
bool g_bReporting = false;

// A box of Done, with the soft keys waiting meanwhile.
template <typename F>
auto WithBoxUp(F&& show) {
    g_bReporting = true;
    auto answer = show();
    g_bReporting = false;
    return answer;
}

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
    // nothing is written then.
    SettingInputFault fault{};
    if (!CheckSettingInput(g_setting, input, &fault)) {
        WithBoxUp([&] { ReportInputFault(hwndMain, fault); return 0; });
        SelectFieldText(FieldItem(fault.field));
        return FALSE;
    }
    // An emptied voice mail deletes the number on the SIM: only when the
    // user says so.
    if (input.bHasText[SF_VOICE_MAIL] && !input.szText[SF_VOICE_MAIL][0] && g_setting.szVoiceMail[0] &&
        !WithBoxUp([&] { return AskDeleteVoiceMail(hwndMain); })) {
        SelectFieldText(kItemVoiceMailTextBox);
        return FALSE;
    }
    // A save that did not happen keeps the screen open with what the user
    // typed, and is said; what was saved stays saved.
    VMailTextMSGSaveResult result{};
    if (!SaveSetting(&g_setting, input, &result)) {
        WithBoxUp([&] { ReportSaveFailure(hwndMain, result); return 0; });
        const SettingField failed =
            result.outcome[SF_TEXT_MESSAGE] == SO_NOT_SAVED ? SF_TEXT_MESSAGE : SF_VOICE_MAIL;
        SelectFieldText(FieldItem(failed));
        return FALSE;
    }
    return TRUE;
}

BOOL IsDoneReportUp() { return g_bReporting; }
