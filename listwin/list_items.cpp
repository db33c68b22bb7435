// The list rows: building the settings group, its labels from the string
// table, the read of the two numbers into it, and the rows' release.
#include "listwin/list_items.h"

#include <cwchar>

#include "core/trace.h"
#include "platform/base/kernel.h"
#include "res/resource.h"
#include "settings/read_settings.h"

ListItem* g_pItems = nullptr;
const UINT g_nItems = kRowCount;
RECT g_rcExtent[2] = {};
int g_iCurSel = -1;

namespace {

ListItem* AllocItems(UINT n) {
    // LPTR: zero-filled, so every text starts empty and every callback null.
    return static_cast<ListItem*>(LocalAlloc(LPTR, n * sizeof(ListItem)));
}

void FreeItems(ListItem* p) {
    if (p) LocalFree(p);
}

void SetLabel(ListItem& item, LPCWSTR name, UINT id, LPCWSTR fallback) {
    wcscpy_s(item.szName, name);
    item.nKind = IK_GROUP_LABEL;
    if (LoadStringW(AppState.hInst, id, item.szText, kTextLen) <= 0)
        wcscpy_s(item.szText, fallback);
}

void SetTextBox(ListItem& item, LPCWSTR name, LPCWSTR id) {
    wcscpy_s(item.szName, name);
    item.nKind = IK_GROUP_TEXTBOX;
    wcscpy_s(item.szId, id);
}

bool RowText(int iItem, LPWSTR pszText, int cchText) {
    const ListItem* item = GetSettingsItem(iItem);
    if (!item || !pszText || cchText <= 0) return false;
    lstrcpynW(pszText, item->szText, cchText);
    return true;
}

void SetRowTextOf(int iItem, LPCWSTR pszText) {
    if (ListItem* item = GetSettingsItem(iItem)) lstrcpynW(item->szText, pszText ? pszText : L"", kTextLen);
}

LPCWSTR RowNameOf(int iItem) {
    const ListItem* item = GetSettingsItem(iItem);
    return item ? item->szName : L"";
}

bool FieldText(int iItem, LPWSTR pszText, int cchText) {
    const ListItem* item = GetSettingsItem(iItem);
    if (!item || !item->hwndEdit || !IsWindow(item->hwndEdit) || !pszText || cchText <= 0) return false;
    GetWindowTextW(item->hwndEdit, pszText, cchText);
    return true;
}

// What the settings procedures may do with the rows.
constexpr SettingsRows kSettingsRows = {SetRowTextOf, RowText, RowNameOf, FieldText};

bool BuildRows() {
    ListItem* rows = AllocItems(g_nItems);
    if (!rows) {
        WriteTrace(L"[err]:LoadSetting(), LocalAlloc(rows) failed, error=%lu.", GetLastError());
        return false;
    }
    ListItem& group = rows[kRowSettings];
    group.nKind = IK_GROUP;
    group.nItems = kSettingsItemCount;
    group.pItems = AllocItems(kSettingsItemCount);
    if (!group.pItems) {
        WriteTrace(L"[err]:LoadSetting(), LocalAlloc(items) failed, error=%lu.", GetLastError());
        FreeItems(rows);
        return false;
    }
    ListItem* items = group.pItems;
    SetLabel(items[kItemTextMessageLabel], L"TextMessageLabel", IDS_LABEL_SMSC,
             L"Text messages service center:");
    SetTextBox(items[kItemTextMessageTextBox], L"TextMessageTextBox",
               L"_QXPhoneVMSetting_TextMessagesTextBoxItem_");
    SetLabel(items[kItemVoiceMailLabel], L"VoiceMailLabel", IDS_LABEL_VMAIL, L"Voice Mail:");
    SetTextBox(items[kItemVoiceMailTextBox], L"VoiceMailTextBox",
               L"_QXPhoneVMSetting_VoiceMailTextBoxItem_");
    g_pItems = rows;
    SetSettingsRows(&kSettingsRows);
    return true;
}

}  // namespace

ListItem* GetSettingsItem(int iItem) {
    if (!g_pItems || iItem < 0) return nullptr;
    ListItem& group = g_pItems[kRowSettings];
    if (!group.pItems || iItem >= group.nItems) return nullptr;
    return &group.pItems[iItem];
}

BOOL LoadSetting() {
    ShowWaitCursor();
    // Built once per main window; a second build must not leak the first.
    ReleaseListItems();
    // Without rows there is nowhere to show the numbers: the radio is left alone.
    if (BuildRows()) FuncGetVMailTextMSG_Setting();
    HideCursor();
    return TRUE;
}

void ReleaseListItems() {
    if (!g_pItems) return;
    for (UINT i = 0; i < g_nItems; ++i) {
        ListItem& row = g_pItems[i];
        if (row.nItems != 0 && row.pItems) {
            FreeItems(row.pItems);
            row.pItems = nullptr;
        }
    }
    SecureZeroMemory(g_pItems, g_nItems * sizeof(ListItem));
    FreeItems(g_pItems);
    g_pItems = nullptr;
}
