// The shell's DWORD registry reader over the Win32 registry.
#include "platform/regext.h"

#include "platform/scoped.h"

HRESULT RegistryGetDWORD(HKEY hkey, LPCWSTR pszSubKey, LPCWSTR pszValueName, DWORD* pdwData) {
    if (!pdwData) return E_INVALIDARG;
    scoped::Key key;
    HKEY raw = nullptr;
    LONG rc = RegOpenKeyExW(hkey, pszSubKey, 0, KEY_QUERY_VALUE, &raw);
    if (rc != ERROR_SUCCESS) return HRESULT_FROM_WIN32(rc);
    key.reset(raw);
    DWORD type = 0, value = 0, size = sizeof(value);
    rc = RegQueryValueExW(key.get(), pszValueName, nullptr, &type,
                          reinterpret_cast<BYTE*>(&value), &size);
    if (rc != ERROR_SUCCESS) return HRESULT_FROM_WIN32(rc);
    // Like the device's reader: only a real DWORD counts.
    if (type != REG_DWORD || size != sizeof(DWORD)) return HRESULT_FROM_WIN32(ERROR_DATATYPE_MISMATCH);
    *pdwData = value;
    return S_OK;
}
