// The number fields handed to and taken from the program's top.
#include "listwin/list_fields.h"

#include "listwin/list_edit.h"
#include "listwin/list_field_input.h"

namespace {

// The item's edit control, if the screen made it and it still exists.
HWND FieldOf(int iItem) {
    const ListItem* item = GetSettingsItem(iItem);
    if (!item || item->nKind != IK_GROUP_TEXTBOX || !item->hwndEdit || !IsWindow(item->hwndEdit)) return nullptr;
    return item->hwndEdit;
}

}  // namespace

void ShowFieldText(int iItem, LPCWSTR pszText) {
    if (ListItem* item = GetSettingsItem(iItem)) lstrcpynW(item->szText, pszText ? pszText : L"", kTextLen);
}

bool GetFieldText(int iItem, LPWSTR pszText, int cchText) {
    if (!pszText || cchText <= 0) return false;
    pszText[0] = L'\0';
    HWND hwndEdit = FieldOf(iItem);
    if (!hwndEdit) return false;
    GetWindowTextW(hwndEdit, pszText, cchText);
    return true;
}

bool FocusFirstField() { return FocusFieldAtEnd(TextBoxNextTo(nullptr, false)); }

bool SelectFieldText(int iItem) {
    HWND hwndEdit = FieldOf(iItem);
    if (!hwndEdit) return false;
    SetFocus(hwndEdit);
    SendMessageW(hwndEdit, EM_SETSEL, 0, -1);
    return true;
}
