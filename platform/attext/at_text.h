// How AT commands write texts, shared by the radio layer and the simulated
// modem: case-blind prefixes and decimal fields, the character sets of
// +CSCS (TS 27.007 5.5) for string parameters, and the verbose texts of
// +CME ERROR (TS 27.007 9.2). Pure: no I/O, no globals.
#pragma once
#include <cstddef>
#include <string>

// The ten BCD bytes of the TS 24.011 address field hold twenty digits.
constexpr size_t kMaxAddressDigits = 20;
// A digit of an address field: 0-9 * # a b c, either case.
inline bool IsAddressDigit(unsigned c) {
    return (c >= '0' && c <= '9') || c == '*' || c == '#' || (c >= 'a' && c <= 'c') || (c >= 'A' && c <= 'C');
}

// A string parameter without its quotes; *pQuoted (may be null): it had them.
std::string Unquote(const std::string& s, bool* pQuoted = nullptr);
// ASCII letters in upper or lower case, other bytes as they are.
std::string UpperAscii(std::string s);
std::string LowerAscii(std::string s);

// s begins with prefix, letters compared without regard to case.
bool StartsWithNoCase(const std::string& s, const std::string& prefix);
// A decimal field of at most 6 digits, blanks around it allowed, 0..max.
bool ParseDecimal(const std::string& s, int max, int* pValue);

// The character sets a modem may take for string parameters. GSM and IRA
// write every character a service-centre address holds (0-9 + * # a-c) as
// itself; UCS2 writes each as four hex digits of its UTF-16 unit, HEX as two
// hex digits of its 8-bit code.
enum class TeCharset { Gsm, Ira, Ucs2, Hex };

// The +CSCS name ("GSM", "IRA", "UCS2", "HEX", any case, quotes allowed).
// False for any other name (8859-1, PCCP437, UTF-8: ASCII as itself).
bool CharsetFromName(const std::string& name, TeCharset* pCharset);
const char* CharsetName(TeCharset charset);
// An ASCII text as a string parameter in the character set.
std::string EncodeTeString(const std::string& text, TeCharset charset);
// A string parameter back to ASCII; false when it is not written in the
// character set or holds a character outside ASCII.
bool DecodeTeString(const std::string& s, TeCharset charset, std::string* pText);

// The 27.007 9.2 text of a +CME ERROR number (AT+CMEE=2); null when this
// table has none.
const char* CmeErrorText(int nCode);
// The number of a verbose +CME ERROR text (any case, blanks around it
// allowed), or -1 when it is none of the table's.
int CmeErrorCode(const std::string& text);
// The same for +CMS ERROR (TS 27.005 3.2.5 numbers; the texts modems use).
int CmsErrorCode(const std::string& text);

// The TS 27.007 +CRSM <pathid> of a mailbox file: the CPHS file 6F17 under
// DF_GSM (3F007F20), EF_MBDN 6FC7 under the USIM application (3F007FFF);
// "" for another file.
const char* MailboxFilePath(int nFileId);
