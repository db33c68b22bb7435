// Types the pure parsers and codecs share with the Win32 program without
// windows.h, so that they build on any host: 16-bit text units for the RIL
// structures and the number texts. Byte and word types are those of <cstdint>.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

#ifdef _WIN32
// WCHAR itself, so the program's LPWSTR texts pass unchanged.
using Char16 = wchar_t;
#define T16(s) L##s
#else
using Char16 = char16_t;
#define T16(s) u##s
#endif
static_assert(sizeof(Char16) == 2, "UTF-16 units, as on the device");

using Text16 = std::basic_string<Char16>;

// wcslen and wcscpy of Char16 texts.
inline size_t Len16(const Char16* psz) { return std::char_traits<Char16>::length(psz); }
inline Char16* Copy16(Char16* pDest, const Char16* pszSrc) {
    return std::char_traits<Char16>::copy(pDest, pszSrc, Len16(pszSrc) + 1);
}
