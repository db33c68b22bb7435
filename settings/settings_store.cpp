// The registry store: RegKey over the Win32 registry, the flag readers, the
// mirror writer and the voice-mail display reader.
#include "settings/settings_store.h"

#include <cwchar>

#include "core/app_state.h"
#include "core/trace.h"
#include "platform/base/registry.h"

LONG RegKey::Open(HKEY hParent, LPCWSTR pszPath, REGSAM sam) { return m_key.Open(hParent, pszPath, sam); }

LONG RegKey::QueryDWORD(LPCWSTR pszName, DWORD* pdwValue) { return m_key.QueryDWORD(pszName, pdwValue); }

LONG RegKey::QueryString(LPCWSTR pszName, LPWSTR pszText, DWORD* pcch) {
    return m_key.QueryString(pszName, pszText, pcch);
}

LONG RegKey::SetString(LPCWSTR pszName, LPCWSTR pszText) { return m_key.SetString(pszName, pszText); }

LONG RegKey::Flush() { return m_key.Flush(); }

LONG RegKey::Close() { return m_key.Close(); }

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
    registry::Key key;
    if (key.Create(HKEY_CURRENT_USER, pszSubKey, KEY_SET_VALUE) != ERROR_SUCCESS) return FALSE;
    LONG rc = key.Set(pszName, dwType, pData, cb);
    key.Flush();
    return rc == ERROR_SUCCESS;
}

BOOL Reg_ShowVMailNumber(VMailTextMSGSetting* pSetting) {
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
    lstrcpynW(pSetting->szVoiceMail, szNumber, kTextLen);
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
