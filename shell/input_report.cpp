// The report of a text "Done" cannot store.
#include "shell/input_report.h"

#include "core/app_state.h"
#include "msgbox/notification_box.h"
#include "res/resource.h"

namespace {

constexpr DWORD kOneButton = 1;

struct FaultText {
    SettingField field;
    NumberFault fault;
    UINT uTextId;
};

constexpr FaultText kFaultTexts[] = {
    {SF_TEXT_MESSAGE, NF_BAD_CHARACTER, IDS_SMSC_BAD_CHAR},
    {SF_TEXT_MESSAGE, NF_PLUS_NOT_FIRST, IDS_SMSC_PLUS},
    {SF_TEXT_MESSAGE, NF_RADIO_REFUSES, IDS_SMSC_REFUSED},
    {SF_VOICE_MAIL, NF_BAD_CHARACTER, IDS_VMAIL_BAD_CHAR},
    {SF_VOICE_MAIL, NF_PLUS_NOT_FIRST, IDS_VMAIL_PLUS},
    {SF_VOICE_MAIL, NF_TOO_LONG, IDS_VMAIL_TOO_LONG},
};

}  // namespace

UINT InputFaultTextId(const SettingInputFault& fault) {
    for (const FaultText& t : kFaultTexts)
        if (t.field == fault.field && t.fault == fault.fault) return t.uTextId;
    return 0;
}

void ReportInputFault(HWND hwndOwner, const SettingInputFault& fault) {
    WCHAR szText[kTextLen] = {};
    LoadStringW(AppState.hInst, InputFaultTextId(fault), szText, kTextLen);
    ShowNotificationBox(hwndOwner, szText, AppState.szAppTitle, kOneButton, 0);
}
