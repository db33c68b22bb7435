// The device registry, one way for every caller: a scoped key that takes key
// paths as CE does, typed reads that check type and size and hand back only
// whole, terminated texts, writes and flush. Absence (a key or value not
// found) is an answer, not a failure; every other failure leaves a trace
// line naming the call, the key or value and the error code.
#pragma once
#include <windows.h>

namespace registry {

// CE takes a key path with or without a leading backslash; Win32 refuses one.
LPCWSTR RelativePath(LPCWSTR pszPath);

// True for the codes that mean "not there": key or value not found.
bool IsAbsent(LONG rc);

// Access masks. The device's callers pass KEY_READ | KEY_WRITE for every
// key; Win32 checks masks, so read-only keys (HKLM's among them) are opened
// for reading only.
constexpr REGSAM kRead = KEY_READ;
constexpr REGSAM kReadWrite = KEY_READ | KEY_WRITE;

class Key {
public:
    Key() = default;
    ~Key() { Close(); }
    Key(const Key&) = delete;
    Key& operator=(const Key&) = delete;

    // On success the key held before, if any, is closed and the new one held.
    LONG Open(HKEY hRoot, LPCWSTR pszPath, REGSAM sam);
    LONG Create(HKEY hRoot, LPCWSTR pszPath, REGSAM sam);
    // ERROR_INVALID_DATA for a value that is not a 4-byte REG_DWORD.
    LONG QueryDWORD(LPCWSTR pszName, DWORD* pdwValue) const;
    // REG_SZ or REG_EXPAND_SZ of whole UTF-16 units ending in a terminator
    // (an empty value is the empty text); *pcch: the capacity in characters
    // on entry, 0 first, then the length with the terminator. Any failure
    // leaves the empty text; a value of another shape is ERROR_INVALID_DATA.
    LONG QueryString(LPCWSTR pszName, LPWSTR pszText, DWORD* pcch) const;
    // Exactly cb bytes of a value of any type; ERROR_INVALID_DATA (and *pcbGot
    // the size found) when the value holds another count of bytes.
    LONG QueryExact(LPCWSTR pszName, void* pv, DWORD cb, DWORD* pcbGot) const;
    LONG SetString(LPCWSTR pszName, LPCWSTR pszText) const;
    LONG SetDWORD(LPCWSTR pszName, DWORD dwValue) const;
    LONG Set(LPCWSTR pszName, DWORD dwType, const void* pv, DWORD cb) const;
    LONG Flush() const;
    LONG Close();

    HKEY get() const { return m_hKey; }
    explicit operator bool() const { return m_hKey != nullptr; }

private:
    HKEY m_hKey = nullptr;
};

// One value read with its own key, opened for reading.
LONG ReadDWORD(HKEY hRoot, LPCWSTR pszPath, LPCWSTR pszName, DWORD* pdwValue);
LONG ReadString(HKEY hRoot, LPCWSTR pszPath, LPCWSTR pszName, LPWSTR pszText, DWORD cchText);

// The display's scale: 2 when HKLM "Drivers\Display\GPE" "LogicalPixelsX"
// is the DWORD 192, else 1. *prc (may be null): the read's result.
int ReadDisplayScale(LONG* prc = nullptr);

}  // namespace registry
