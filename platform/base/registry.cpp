// The device registry over Win32's: CE's key paths, typed and checked reads,
// writes and flush, failures traced.
#include "platform/base/registry.h"

#include <cwchar>

#include "platform/base/debug_out.h"

namespace registry {

namespace {

constexpr DWORD kHighDpiLogicalPixels = 192;

LPCWSTR Text(LPCWSTR s) { return s ? s : L"(default)"; }

// Absence is an answer; anything else is worth a line.
LONG Traced(LONG rc, LPCWSTR pszCall, LPCWSTR pszWhat) {
    if (rc != ERROR_SUCCESS && !IsAbsent(rc))
        NKDbgPrintfW(L"[registry]: %s(%s) failed, error %ld.\r\n", pszCall, Text(pszWhat), rc);
    return rc;
}

}  // namespace

LPCWSTR RelativePath(LPCWSTR pszPath) {
    return pszPath && pszPath[0] == L'\\' ? pszPath + 1 : pszPath;
}

bool IsAbsent(LONG rc) { return rc == ERROR_FILE_NOT_FOUND || rc == ERROR_PATH_NOT_FOUND; }

LONG Key::Open(HKEY hRoot, LPCWSTR pszPath, REGSAM sam) {
    HKEY hNew = nullptr;
    LONG rc = RegOpenKeyExW(hRoot, RelativePath(pszPath), 0, sam, &hNew);
    if (rc != ERROR_SUCCESS) return Traced(rc, L"RegOpenKeyExW", pszPath);
    Close();
    m_hKey = hNew;
    return ERROR_SUCCESS;
}

LONG Key::Create(HKEY hRoot, LPCWSTR pszPath, REGSAM sam) {
    HKEY hNew = nullptr;
    LONG rc = RegCreateKeyExW(hRoot, RelativePath(pszPath), 0, nullptr, 0, sam, nullptr, &hNew, nullptr);
    if (rc != ERROR_SUCCESS) return Traced(rc, L"RegCreateKeyExW", pszPath);
    Close();
    m_hKey = hNew;
    return ERROR_SUCCESS;
}

LONG Key::QueryDWORD(LPCWSTR pszName, DWORD* pdwValue) const {
    if (!pdwValue) return ERROR_INVALID_PARAMETER;
    DWORD dwType = 0, dwValue = 0, cb = sizeof(dwValue);
    LONG rc = RegQueryValueExW(m_hKey, pszName, nullptr, &dwType, reinterpret_cast<BYTE*>(&dwValue), &cb);
    // A short REG_DWORD would leave part of the number unset.
    if (rc == ERROR_SUCCESS && (dwType != REG_DWORD || cb != sizeof(dwValue))) rc = ERROR_INVALID_DATA;
    if (rc != ERROR_SUCCESS) return Traced(rc, L"RegQueryValueExW", pszName);
    *pdwValue = dwValue;
    return ERROR_SUCCESS;
}

LONG Key::QueryString(LPCWSTR pszName, LPWSTR pszText, DWORD* pcch) const {
    if (!pszText || !pcch || *pcch == 0) return ERROR_INVALID_PARAMETER;
    DWORD cchCapacity = *pcch;
    *pcch = 0;
    pszText[0] = L'\0';
    DWORD dwType = 0, cb = cchCapacity * sizeof(WCHAR);
    LONG rc = RegQueryValueExW(m_hKey, pszName, nullptr, &dwType, reinterpret_cast<BYTE*>(pszText), &cb);
    if (rc == ERROR_SUCCESS && dwType != REG_SZ && dwType != REG_EXPAND_SZ) rc = ERROR_INVALID_DATA;
    // What the registry hands back must be a whole, terminated text.
    if (rc == ERROR_SUCCESS && cb != 0 &&
        (cb % sizeof(WCHAR) != 0 || pszText[cb / sizeof(WCHAR) - 1] != L'\0'))
        rc = ERROR_INVALID_DATA;
    if (rc != ERROR_SUCCESS) {
        pszText[0] = L'\0';
        return Traced(rc, L"RegQueryValueExW", pszName);
    }
    if (cb == 0) pszText[0] = L'\0';
    *pcch = cb == 0 ? 1 : cb / sizeof(WCHAR);
    return ERROR_SUCCESS;
}

LONG Key::QueryExact(LPCWSTR pszName, void* pv, DWORD cb, DWORD* pcbGot) const {
    DWORD cbGot = cb;
    LONG rc = RegQueryValueExW(m_hKey, pszName, nullptr, nullptr, static_cast<BYTE*>(pv), &cbGot);
    if (pcbGot) *pcbGot = cbGot;
    if ((rc == ERROR_SUCCESS && cbGot != cb) || rc == ERROR_MORE_DATA) rc = ERROR_INVALID_DATA;
    return Traced(rc, L"RegQueryValueExW", pszName);
}

LONG Key::Set(LPCWSTR pszName, DWORD dwType, const void* pv, DWORD cb) const {
    LONG rc = RegSetValueExW(m_hKey, pszName, 0, dwType, static_cast<const BYTE*>(pv), cb);
    return Traced(rc, L"RegSetValueExW", pszName);
}

LONG Key::SetString(LPCWSTR pszName, LPCWSTR pszText) const {
    if (!pszText) return ERROR_INVALID_PARAMETER;
    return Set(pszName, REG_SZ, pszText, static_cast<DWORD>((wcslen(pszText) + 1) * sizeof(WCHAR)));
}

LONG Key::SetDWORD(LPCWSTR pszName, DWORD dwValue) const {
    return Set(pszName, REG_DWORD, &dwValue, sizeof(dwValue));
}

LONG Key::Flush() const {
    return m_hKey ? Traced(RegFlushKey(m_hKey), L"RegFlushKey", nullptr) : ERROR_INVALID_HANDLE;
}

LONG Key::Close() {
    LONG rc = ERROR_SUCCESS;
    if (m_hKey) rc = RegCloseKey(m_hKey);
    m_hKey = nullptr;
    return rc;
}

LONG ReadDWORD(HKEY hRoot, LPCWSTR pszPath, LPCWSTR pszName, DWORD* pdwValue) {
    Key key;
    LONG rc = key.Open(hRoot, pszPath, kRead);
    return rc == ERROR_SUCCESS ? key.QueryDWORD(pszName, pdwValue) : rc;
}

LONG ReadString(HKEY hRoot, LPCWSTR pszPath, LPCWSTR pszName, LPWSTR pszText, DWORD cchText) {
    if (pszText && cchText) pszText[0] = L'\0';
    Key key;
    LONG rc = key.Open(hRoot, pszPath, kRead);
    return rc == ERROR_SUCCESS ? key.QueryString(pszName, pszText, &cchText) : rc;
}

int ReadDisplayScale(LONG* prc) {
    DWORD dw = 0;
    LONG rc = ReadDWORD(HKEY_LOCAL_MACHINE, L"Drivers\\Display\\GPE", L"LogicalPixelsX", &dw);
    if (prc) *prc = rc;
    return rc == ERROR_SUCCESS && dw == kHighDpiLogicalPixels ? 2 : 1;
}

}  // namespace registry
