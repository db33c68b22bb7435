// The screen's rows as the settings procedures reach them: through the
// functions the list gives, never through the list's own records. Reading
// sets the two rows' texts; saving reads the two edit fields.
#pragma once
#include <windows.h>

// The items of the settings group that hold the numbers.
constexpr int kItemTextMessageTextBox = 1;
constexpr int kItemVoiceMailTextBox = 3;

struct SettingsRows {
    // The row's text, shown in its field when the screen makes the field.
    void (*pfnSetRowText)(int iItem, LPCWSTR pszText);
    // The row's text; false when there is no such row.
    bool (*pfnGetRowText)(int iItem, LPWSTR pszText, int cchText);
    // The row's name for the trace; "" when there is no such row.
    LPCWSTR (*pfnRowName)(int iItem);
    // The text in the row's edit field; false when the screen never made the
    // field (there is then no edited value).
    bool (*pfnGetFieldText)(int iItem, LPWSTR pszText, int cchText);
};

// The list's rows; null while there are none.
void SetSettingsRows(const SettingsRows* pRows);

// Through the rows given; without rows nothing is set and nothing is read.
void SetRowText(int iItem, LPCWSTR pszText);
bool GetRowText(int iItem, LPWSTR pszText, int cchText);
LPCWSTR RowName(int iItem);
bool GetFieldText(int iItem, LPWSTR pszText, int cchText);
