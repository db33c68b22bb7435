// The rows the list gives to the settings procedures.
#include "settings/settings_rows.h"

namespace {
const SettingsRows* g_pRows = nullptr;
}

void SetSettingsRows(const SettingsRows* pRows) { g_pRows = pRows; }

void SetRowText(int iItem, LPCWSTR pszText) {
    if (g_pRows) g_pRows->pfnSetRowText(iItem, pszText);
}

bool GetRowText(int iItem, LPWSTR pszText, int cchText) {
    if (pszText && cchText > 0) pszText[0] = L'\0';
    return g_pRows && g_pRows->pfnGetRowText(iItem, pszText, cchText);
}

LPCWSTR RowName(int iItem) { return g_pRows ? g_pRows->pfnRowName(iItem) : L""; }

bool GetFieldText(int iItem, LPWSTR pszText, int cchText) {
    if (pszText && cchText > 0) pszText[0] = L'\0';
    return g_pRows && g_pRows->pfnGetFieldText(iItem, pszText, cchText);
}
