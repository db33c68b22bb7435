// The shell's DWORD registry reader (RegistryGetDWORD of aygshell).
#pragma once
#include <windows.h>

// S_OK (0) when the value exists and is a 32-bit number.
HRESULT RegistryGetDWORD(HKEY hkey, LPCWSTR pszSubKey, LPCWSTR pszValueName, DWORD* pdwData);
