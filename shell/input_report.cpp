// The report of a text "Done" cannot store.
#include "shell/input_report.h"

#include "core/app_state.h"
#include "listwin/list_items.h"
#include "msgbox/notification_box.h"
#include "res/resource.h"

namespace {

constexpr DWORD kOneButton = 1;

struct FaultText {
    int iItem;
    NumberFault fault;
    UINT uTextId;
};

constexpr FaultText kFaultTexts[] = {
    {kItemTextMessageTextBox, NF_BAD_CHARACTER, IDS_SMSC_BAD_CHAR},
    {kItemTextMessageTextBox, NF_PLUS_NOT_FIRST, IDS_SMSC_PLUS},
    {kItemTextMessageTextBox, NF_RADIO_REFUSES, IDS_SMSC_REFUSED},
    {kItemVoiceMailTextBox, NF_BAD_CHARACTER, IDS_VMAIL_BAD_CHAR},
    {kItemVoiceMailTextBox, NF_PLUS_NOT_FIRST, IDS_VMAIL_PLUS},
    {kItemVoiceMailTextBox, NF_TOO_LONG, IDS_VMAIL_TOO_LONG},
};

}  // namespace

UINT InputFaultTextId(const SettingInputFault& fault) {
    for (const FaultText& t : kFaultTexts)
        if (t.iItem == fault.iItem && t.fault == fault.fault) return t.uTextId;
    return 0;
}

void ReportInputFault(HWND hwndOwner, const SettingInputFault& fault) {
    WCHAR szText[kTextLen] = {};
    LoadStringW(AppState.hInst, InputFaultTextId(fault), szText, kTextLen);
    ShowNotificationBox(hwndOwner, szText, AppState.szAppTitle, kOneButton, 0);
    ListItem* item = GetSettingsItem(fault.iItem);
    if (!item || !item->hwndEdit || !IsWindow(item->hwndEdit)) return;
    SetFocus(item->hwndEdit);
    SendMessageW(item->hwndEdit, EM_SETSEL, 0, -1);
}
