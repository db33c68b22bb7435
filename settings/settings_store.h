// The settings store in the registry: the key holder RegKey, the SIM-type
// flags and override switch, the number mirrors and the mailbox-file choice.
#pragma once
#include <windows.h>

#include "platform/base/registry.h"
#include "settings/number_record.h"

// Keys and values of the store.
constexpr WCHAR kVmailKey[] = L"\\SOFTWARE\\Microsoft\\Vmail";          // HKCU
constexpr WCHAR kMirrorKey[] = L"ControlPanel\\PhoneExtendFunction\\GSM";  // HKCU
constexpr WCHAR kRilDriverKey[] = L"\\Drivers\\BuiltIn\\RIL";            // HKLM
constexpr WCHAR kOemRilKey[] = L"SOFTWARE\\OEM\\RIL";                    // HKLM
constexpr WCHAR kValueRegOverridesSIM[] = L"RegOverridesSIM";
constexpr WCHAR kValuePhoneNumber1[] = L"PhoneNumber1";
constexpr WCHAR kValueVMailAddress[] = L"VMail_Address";
constexpr WCHAR kValueTextMSGAddress[] = L"TextMSG_Address";
constexpr WCHAR kValueReadCPHS[] = L"ReadCPHS";
constexpr WCHAR kValueSIMTYPE[] = L"SIMTYPE";

// The keys of the store are opened for reading and writing (CE ignores the
// mask). The radio driver's keys under HKLM are only read, and Win32 lets
// only administrators write there: they are opened for reading.
constexpr REGSAM kStoreAccess = registry::kReadWrite;  // 0x2001F
constexpr REGSAM kDriverAccess = registry::kRead;

// The SIM mailbox-number files.
constexpr DWORD kFileCphsMailbox = 0x6F17;  // CPHS mailbox numbers
constexpr DWORD kFileMbdn = 0x6FC7;         // EF_MBDN
constexpr DWORD kSimTypeUsim = 2;

// One open key (none at first). Each operation returns the platform's error
// code, 0 on success.
class RegKey {
public:

    LONG Open(HKEY hParent, LPCWSTR pszPath, REGSAM sam);
    // 13 (ERROR_INVALID_DATA) for a value that is not a 4-byte REG_DWORD.
    LONG QueryDWORD(LPCWSTR pszName, DWORD* pdwValue);
    // *pcch: capacity in characters on entry; on success the length including
    // the terminator, else 0 with the text empty. 13 for a value that is not
    // a terminated REG_SZ / REG_EXPAND_SZ.
    LONG QueryString(LPCWSTR pszName, LPWSTR pszText, DWORD* pcch);
    LONG SetString(LPCWSTR pszName, LPCWSTR pszText);
    LONG Flush();
    LONG Close();

    HKEY Handle() const { return m_key.get(); }

private:
    registry::Key m_key;  // the device registry's key, CE paths and checks included
};

// HKCU "RegOverridesSIM", 0 when missing or unreadable.
DWORD Reg_GetRegOverridesSIM();
// HKLM "ReadCPHS", 0 when missing or unreadable.
DWORD Reg_GetVMailCPHS();

// Writes a REG_SZ (text) or REG_DWORD (pData points at a DWORD) value under
// HKCU, creating the subkey, and flushes the key. TRUE when the value was set.
BOOL WriteRegistry(LPCWSTR pszSubKey, LPCWSTR pszName, DWORD dwType, const void* pData);

// The mirrored voice-mail number ("PhoneNumber1" under the override, else
// "VMail_Address") as the record's shown voice mail. A key that cannot be
// opened leaves it as it was; a value that cannot be read empties it. TRUE
// only when it holds the value read; otherwise a trace line says why.
BOOL Reg_ShowVMailNumber(VMailTextMSGSetting* pSetting);

// Save side of the override: "PhoneNumber1" set to the text when the key
// exists (never created), then flushed. The outcome is not reported.
void Reg_SavePhoneNumber1(LPCWSTR pszNumber);

// 0x6FC7 when SIMTYPE is 2 and ReadCPHS is 0, else 0x6F17.
DWORD SelectMailboxFile(DWORD dwSimType, DWORD dwCPHS);

// HKLM "SOFTWARE\OEM\RIL": FALSE when the key cannot be opened (the SIM is then
// left alone); else TRUE with *pdwCPHS from Reg_GetVMailCPHS and *pdwSimType
// from "SIMTYPE" (0 when missing or unreadable).
BOOL ReadSimTypeFlags(DWORD* pdwCPHS, DWORD* pdwSimType);
