// The SIM mailbox-number record (CPHS 0x6F17, EF_MBDN 0x6FC7): decoding a
// READ RECORD answer into the number text and building a record from it.
// Pure functions over bounded buffers; their only effect is trace lines.
#pragma once
#include <windows.h>

// The fixed part of a dialling-number record: length byte, TON/NPI, ten BCD
// bytes, capability and extension identifiers.
constexpr DWORD kRecordFixedPart = 14;
// A record length comes from one GET RESPONSE byte.
constexpr DWORD kRecordMaxLen = 255;
// Ten BCD bytes hold twenty digits.
constexpr DWORD kNumberMaxDigits = 20;
// "+", twenty digits and the terminator: the least a decode target holds.
constexpr DWORD kPhoneNoChars = 22;
// Record byte k lies at answer byte 16 + k (after the four RILSIMRESPONSE words).
constexpr DWORD kSimResponseHeader = 16;

// True when an answer of cbData bytes holds a whole record of dwTotalRecLen
// bytes that has room for the fixed part: only then does it say anything
// about the number on the SIM.
bool RecordInAnswer(DWORD cbData, DWORD dwTotalRecLen);

// Decodes the record in the answer pData (cbData bytes, a RILSIMRESPONSE) into
// pNo (null allowed; else at least kPhoneNoChars units). A record without a
// number, or one that is not wholly inside the answer, gives the empty text.
// Always true.
bool ParsePhoneNo(const BYTE* pData, DWORD cbData, LPWSTR pNo, DWORD dwTotalRecLen,
                  DWORD dwNoMaxLen);

// Builds the record of dwTotalRecLen bytes in pData from pNo, which is
// normalised in place. False (pData and pNo untouched) when either is missing,
// when the record length leaves no room for the fixed part, or when the
// number has more than twenty digits.
bool BuildRecord(BYTE* pData, LPWSTR pNo, DWORD dwTotalRecLen);

// The digits a number text takes in the record: every character but "+"
// (blanks and "-" become the undefined digit). Counted without changing pNo.
DWORD NumberDigitCount(LPCWSTR pNo);

// Drops every "+" and turns "W"/"w" into "p", in place. True when there was a "+".
bool RemovePlusAndChangeW(LPWSTR pNo);

// The bytes as hexadecimal text, eight to a line, as one trace line.
void DumpHex(const BYTE* pData, DWORD cbData);

// Nibble to a one-character text in szBuf (two units at least); "?" for
// nibbles that never go into a number. Returns szBuf.
LPWSTR BCDToChar(BYTE bNibble, LPWSTR szBuf);
// First character of szChar to its nibble; 0xD for anything not dialable.
BYTE CharToBCD(LPCWSTR szChar);
