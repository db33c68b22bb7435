// The registry store: RegKey over the Win32 registry, the flag readers, the
// mirror writer and the voice-mail display reader.
#include "settings/settings_store.h"

#include <cwchar>

#include "listwin/list_items.h"
#include "shell/trace.h"

namespace {

// CE takes a key path with or without a leading backslash; Win32 refuses one.
LPCWSTR RelativePath(LPCWSTR pszPath) {
    return pszPath && pszPath[0] == L'\\' ? pszPath + 1 : pszPath;
}

}  // namespace

LONG RegKey::Open(HKEY hParent, LPCWSTR pszPath, REGSAM sam) {
    HKEY hNew = nullptr;
    LONG rc = RegOpenKeyExW(hParent, RelativePath(pszPath), 0, sam, &hNew);
    if (rc != ERROR_SUCCESS) return rc;
    Close();
    m_hKey = hNew;
    return ERROR_SUCCESS;
}

LONG RegKey::QueryDWORD(LPCWSTR pszName, DWORD* pdwValue) {
    if (!pdwValue) return ERROR_INVALID_PARAMETER;
    DWORD dwType = 0, dwValue = 0, cb = sizeof(dwValue);
    LONG rc = RegQueryValueExW(m_hKey, pszName, nullptr, &dwType,
                               reinterpret_cast<BYTE*>(&dwValue), &cb);
    if (rc != ERROR_SUCCESS) return rc;
    // A short REG_DWORD would leave part of the number unset.
    if (dwType != REG_DWORD || cb != sizeof(dwValue)) return ERROR_INVALID_DATA;
    *pdwValue = dwValue;
    return ERROR_SUCCESS;
}

LONG RegKey::QueryString(LPCWSTR pszName, LPWSTR pszText, DWORD* pcch) {
    if (!pszText || !pcch || *pcch == 0) return ERROR_INVALID_PARAMETER;
    DWORD cchCapacity = *pcch;
    *pcch = 0;
    pszText[0] = L'\0';
    DWORD dwType = 0, cb = cchCapacity * sizeof(WCHAR);
    LONG rc = RegQueryValueExW(m_hKey, pszName, nullptr, &dwType,
                               reinterpret_cast<BYTE*>(pszText), &cb);
    if (rc == ERROR_SUCCESS && dwType != REG_SZ && dwType != REG_EXPAND_SZ)
        rc = ERROR_INVALID_DATA;
    // What the registry hands back must be a whole, terminated text.
    if (rc == ERROR_SUCCESS && cb != 0 &&
        (cb % sizeof(WCHAR) != 0 || pszText[cb / sizeof(WCHAR) - 1] != L'\0'))
        rc = ERROR_INVALID_DATA;
    if (rc != ERROR_SUCCESS) {
        pszText[0] = L'\0';
        return rc;
    }
    if (cb == 0) pszText[0] = L'\0';
    *pcch = cb == 0 ? 1 : cb / sizeof(WCHAR);
    return ERROR_SUCCESS;
}

LONG RegKey::SetString(LPCWSTR pszName, LPCWSTR pszText) {
    if (!pszText) return ERROR_INVALID_PARAMETER;
    DWORD cb = static_cast<DWORD>((wcslen(pszText) + 1) * sizeof(WCHAR));
    return RegSetValueExW(m_hKey, pszName, 0, REG_SZ, reinterpret_cast<const BYTE*>(pszText), cb);
}

LONG RegKey::Flush() { return m_hKey ? RegFlushKey(m_hKey) : ERROR_INVALID_HANDLE; }

LONG RegKey::Close() {
    LONG rc = ERROR_SUCCESS;
    if (m_hKey) rc = RegCloseKey(m_hKey);
    m_hKey = nullptr;
    return rc;
}

DWORD Reg_GetRegOverridesSIM() {
    WriteTrace(L"[msg]:Reg_GetRegOverridesSIM()+");
    DWORD dwSel = 0;
    RegKey key;
    if (key.Open(HKEY_CURRENT_USER, kVmailKey, kStoreAccess) == ERROR_SUCCESS) {
        DWORD dwValue = 0;
        if (key.QueryDWORD(kValueRegOverridesSIM, &dwValue) == ERROR_SUCCESS) {
            dwSel = dwValue;
            WriteTrace(L"[msg]:Reg_GetRegOverridesSIM(): EXIST, dwSel=%ld.", dwSel);
        } else {
            WriteTrace(L"[msg]:Reg_GetRegOverridesSIM(): Error_MESSAGE, dwSel=%ld.", dwValue);
        }
    }
    key.Close();
    WriteTrace(L"[msg]:Reg_GetRegOverridesSIM()-, dwRet = %ld.", dwSel);
    return dwSel;
}

DWORD Reg_GetVMailCPHS() {
    WriteTrace(L"[msg]:Reg_GetCPHS()+");
    DWORD dwRet = 0, dwValue = 0;
    RegKey key;
    if (key.Open(HKEY_LOCAL_MACHINE, kRilDriverKey, kDriverAccess) == ERROR_SUCCESS) {
        LONG rc = key.QueryDWORD(kValueReadCPHS, &dwValue);
        WriteTrace(L"[msg]:Reg_GetVMailCPHS(): dwValue=[%ld].", dwValue);
        dwRet = rc == ERROR_SUCCESS ? dwValue : 0;
        key.Close();
    }
    WriteTrace(L"[msg]:Reg_GetVMailCPHS()-, dwRet=[%ld].", dwRet);
    return dwRet;
}

BOOL WriteRegistry(LPCWSTR pszSubKey, LPCWSTR pszName, DWORD dwType, const void* pData) {
    DWORD cb = 0;
    if (dwType == REG_SZ && pData)
        cb = static_cast<DWORD>((wcslen(static_cast<LPCWSTR>(pData)) + 1) * sizeof(WCHAR));
    else if (dwType == REG_DWORD && pData)
        cb = sizeof(DWORD);
    else
        return FALSE;
    // CE ignores the access mask (0 there); Win32 checks it on the set.
    HKEY hKey = nullptr;
    DWORD dwDisposition = 0;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, RelativePath(pszSubKey), 0, nullptr, 0, KEY_SET_VALUE,
                        nullptr, &hKey, &dwDisposition) != ERROR_SUCCESS)
        return FALSE;
    LONG rc = RegSetValueExW(hKey, pszName, 0, dwType, static_cast<const BYTE*>(pData), cb);
    RegFlushKey(hKey);
    RegCloseKey(hKey);
    return rc == ERROR_SUCCESS;
}

BOOL Reg_ShowVMailNumber() {
    DWORD dwSel = Reg_GetRegOverridesSIM();
    LPCWSTR pszKey = dwSel ? kVmailKey : kMirrorKey;
    LPCWSTR pszValue = dwSel ? kValuePhoneNumber1 : kValueVMailAddress;
    RegKey key;
    LONG rc = key.Open(HKEY_CURRENT_USER, pszKey, kStoreAccess);
    if (rc != ERROR_SUCCESS) {
        WriteTrace(L"[err]:Reg_ShowVMailNumber(), key of %s not opened, error=[%ld], box kept.",
                   pszValue, rc);
        return FALSE;
    }
    WCHAR szNumber[kTextLen] = {};
    DWORD cch = kTextLen;
    rc = key.QueryString(pszValue, szNumber, &cch);
    if (rc != ERROR_SUCCESS) {
        // Missing, of another type, too long or not terminated: no number.
        szNumber[0] = L'\0';
        WriteTrace(L"[err]:Reg_ShowVMailNumber(), %s not read, error=[%ld], box empty.", pszValue,
                   rc);
    }
    key.Close();
    if (ListItem* item = GetSettingsItem(kItemVoiceMailTextBox)) wcscpy_s(item->szText, szNumber);
    return rc == ERROR_SUCCESS;
}

void Reg_SavePhoneNumber1(LPCWSTR pszNumber) {
    RegKey key;
    if (key.Open(HKEY_CURRENT_USER, kVmailKey, kStoreAccess) != ERROR_SUCCESS) return;
    key.SetString(kValuePhoneNumber1, pszNumber);
    key.Flush();
    key.Close();
}

DWORD SelectMailboxFile(DWORD dwSimType, DWORD dwCPHS) {
    return dwSimType == kSimTypeUsim && dwCPHS == 0 ? kFileMbdn : kFileCphsMailbox;
}

BOOL ReadSimTypeFlags(DWORD* pdwCPHS, DWORD* pdwSimType) {
    RegKey key;
    if (key.Open(HKEY_LOCAL_MACHINE, kOemRilKey, kDriverAccess) != ERROR_SUCCESS || !key.Handle())
        return FALSE;
    *pdwCPHS = Reg_GetVMailCPHS();
    DWORD dwSimType = 0;
    // A missing or unreadable SIMTYPE counts as 0.
    if (key.QueryDWORD(kValueSIMTYPE, &dwSimType) != ERROR_SUCCESS) dwSimType = 0;
    key.Close();
    *pdwSimType = dwSimType;
    return TRUE;
}
