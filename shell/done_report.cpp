// The sentences of "Done" and the boxes that say them.
#include "shell/done_report.h"

#include "core/app_state.h"
#include "msgbox/notification_box.h"
#include "res/resource.h"

namespace {

constexpr DWORD kOneButton = 1;
constexpr DWORD kTwoButtons = 2;
constexpr int kFirstButton = 1;  // "OK" of a two-button box

struct FaultText {
    SettingField field;
    NumberFault fault;
    UINT uTextId;
};

constexpr FaultText kFaultTexts[] = {
    {SF_TEXT_MESSAGE, NF_BAD_CHARACTER, IDS_SMSC_BAD_CHAR},
    {SF_TEXT_MESSAGE, NF_PLUS_NOT_FIRST, IDS_SMSC_PLUS},
    {SF_TEXT_MESSAGE, NF_RADIO_REFUSES, IDS_SMSC_REFUSED},
    {SF_TEXT_MESSAGE, NF_PLUS_ONLY, IDS_SMSC_PLUS_ONLY},
    {SF_TEXT_MESSAGE, NF_EMPTY, IDS_SMSC_EMPTY},
    {SF_VOICE_MAIL, NF_BAD_CHARACTER, IDS_VMAIL_BAD_CHAR},
    {SF_VOICE_MAIL, NF_PLUS_NOT_FIRST, IDS_VMAIL_PLUS},
    {SF_VOICE_MAIL, NF_TOO_LONG, IDS_VMAIL_TOO_LONG},
    {SF_VOICE_MAIL, NF_PLUS_ONLY, IDS_VMAIL_PLUS_ONLY},
};

// By what became of the service centre and of the voice mail.
struct FailureText {
    SaveOutcome centre, voiceMail;
    UINT uTextId;
};

constexpr FailureText kFailureTexts[] = {
    {SO_NOT_SAVED, SO_NOT_SAVED, IDS_SAVE_FAILED_BOTH},
    {SO_NOT_SAVED, SO_UNCHANGED, IDS_SAVE_FAILED_SMSC},
    {SO_UNCHANGED, SO_NOT_SAVED, IDS_SAVE_FAILED_VMAIL},
    {SO_NOT_SAVED, SO_SAVED, IDS_SAVE_FAILED_SMSC_VMAIL_SAVED},
    {SO_SAVED, SO_NOT_SAVED, IDS_SAVE_FAILED_VMAIL_SMSC_SAVED},
};

int ShowSentence(HWND hwndOwner, UINT uTextId, DWORD dwStyle) {
    WCHAR szText[kTextLen] = {};
    LoadStringW(AppState.hInst, uTextId, szText, kTextLen);
    return ShowNotificationBox(hwndOwner, szText, AppState.szAppTitle, dwStyle, 0);
}

}  // namespace

UINT InputFaultTextId(const SettingInputFault& fault) {
    for (const FaultText& t : kFaultTexts)
        if (t.field == fault.field && t.fault == fault.fault) return t.uTextId;
    return 0;
}

UINT SaveFailureTextId(const VMailTextMSGSaveResult& result) {
    for (const FailureText& t : kFailureTexts)
        if (t.centre == result.outcome[SF_TEXT_MESSAGE] && t.voiceMail == result.outcome[SF_VOICE_MAIL])
            return t.uTextId;
    return 0;
}

void ReportInputFault(HWND hwndOwner, const SettingInputFault& fault) {
    ShowSentence(hwndOwner, InputFaultTextId(fault), kOneButton);
}

void ReportSaveFailure(HWND hwndOwner, const VMailTextMSGSaveResult& result) {
    ShowSentence(hwndOwner, SaveFailureTextId(result), kOneButton);
}

BOOL AskDeleteVoiceMail(HWND hwndOwner) {
    return ShowSentence(hwndOwner, IDS_VMAIL_DELETE, kTwoButtons) == kFirstButton;
}
