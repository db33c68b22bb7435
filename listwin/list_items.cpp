// The list rows: building the settings group with its labels from the
// string table, and the rows' release.
#include "listwin/list_items.h"

#include <cwchar>

#include "core/trace.h"
#include "res/resource.h"

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

}  // namespace

ListItem* GetSettingsItem(int iItem) {
    if (!g_pItems || iItem < 0) return nullptr;
    ListItem& group = g_pItems[kRowSettings];
    if (!group.pItems || iItem >= group.nItems) return nullptr;
    return &group.pItems[iItem];
}

BOOL BuildListRows() {
    // Built once per main window; a second build must not leak the first.
    ReleaseListItems();
    ListItem* rows = AllocItems(g_nItems);
    if (!rows) {
        WriteTrace(L"[err]:LoadSetting(), LocalAlloc(rows) failed, error=%lu.", GetLastError());
        return FALSE;
    }
    ListItem& group = rows[kRowSettings];
    group.nKind = IK_GROUP;
    group.nItems = kSettingsItemCount;
    group.pItems = AllocItems(kSettingsItemCount);
    if (!group.pItems) {
        WriteTrace(L"[err]:LoadSetting(), LocalAlloc(items) failed, error=%lu.", GetLastError());
        FreeItems(rows);
        return FALSE;
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
