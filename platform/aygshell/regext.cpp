// The shell's DWORD registry reader over the device registry.
#include "platform/aygshell/regext.h"

#include "platform/base/registry.h"

HRESULT RegistryGetDWORD(HKEY hkey, LPCWSTR pszSubKey, LPCWSTR pszValueName, DWORD* pdwData) {
    if (!pdwData) return E_INVALIDARG;
    DWORD value = 0;
    LONG rc = registry::ReadDWORD(hkey, pszSubKey, pszValueName, &value);
    // Like the device's reader: only a real DWORD counts.
    if (rc == ERROR_INVALID_DATA) return HRESULT_FROM_WIN32(ERROR_DATATYPE_MISMATCH);
    if (rc != ERROR_SUCCESS) return HRESULT_FROM_WIN32(rc);
    *pdwData = value;
    return S_OK;
}
