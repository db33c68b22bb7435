// The SIM mailbox-number record (CPHS 0x6F17, EF_MBDN 0x6FC7): decoding a
// READ RECORD answer into the number text and building a record from it.
// Pure functions over bounded buffers; their only effect is trace lines,
// handed whole to the sink the build supplies.
#pragma once
#include "platform/base/portable_types.h"

// The fixed part of a dialling-number record: length byte, TON/NPI, ten BCD
// bytes, capability and extension identifiers.
constexpr uint32_t kRecordFixedPart = 14;
// A record length comes from one GET RESPONSE byte.
constexpr uint32_t kRecordMaxLen = 255;
// Ten BCD bytes hold twenty digits.
constexpr uint32_t kNumberMaxDigits = 20;
// "+", twenty digits and the terminator: the least a decode target holds.
constexpr uint32_t kPhoneNoChars = 22;
// Record byte k lies at answer byte 16 + k (after the four RILSIMRESPONSE words).
constexpr uint32_t kSimResponseHeader = 16;

// True when an answer of cbData bytes holds a whole record of dwTotalRecLen
// bytes that has room for the fixed part: only then does it say anything
// about the number on the SIM.
bool RecordInAnswer(uint32_t cbData, uint32_t dwTotalRecLen);

// Decodes the record in the answer pData (cbData bytes, a RILSIMRESPONSE) into
// pNo (null allowed; else at least kPhoneNoChars units). A record without a
// number, or one that is not wholly inside the answer, gives the empty text.
// Always true.
bool ParsePhoneNo(const uint8_t* pData, uint32_t cbData, Char16* pNo, uint32_t dwTotalRecLen,
                  uint32_t dwNoMaxLen);

// Builds the record of dwTotalRecLen bytes in pData from pNo, which is
// normalised in place. False (pData and pNo untouched) when either is missing,
// when the record length leaves no room for the fixed part, or when the
// number has more than twenty digits.
bool BuildRecord(uint8_t* pData, Char16* pNo, uint32_t dwTotalRecLen);

// What the user did not edit stays as the card held it: the alpha identifier
// (the mailbox's label) and the capability/configuration and extension
// identifiers of pOld go into pRecord, whose number part (length, TON/NPI,
// BCD digits) alone is new. Both hold dwTotalRecLen bytes; false (pRecord
// untouched) when the length leaves no room for the fixed part.
bool KeepRecordLabel(uint8_t* pRecord, const uint8_t* pOld, uint32_t dwTotalRecLen);

// The digits a number text takes in the record: every character but "+"
// (blanks and "-" become the undefined digit). Counted without changing pNo.
uint32_t NumberDigitCount(const Char16* pNo);

// Drops every "+" and turns "W"/"w" into "p", in place. True when there was a "+".
bool RemovePlusAndChangeW(Char16* pNo);

// The bytes as hexadecimal text, eight to a line, as one trace line.
void DumpHex(const uint8_t* pData, uint32_t cbData);

// Nibble to a one-character text in szBuf (two units at least); "?" for
// nibbles that never go into a number. Returns szBuf.
Char16* BCDToChar(uint8_t bNibble, Char16* szBuf);
// First character of szChar to its nibble; 0xD for anything not dialable.
uint8_t CharToBCD(const Char16* szChar);

// Where the codec's trace lines go: each message whole, without the time
// stamp and line end the trace adds. A pointer each build defines, so that
// the codec links without the program: the Win32 program's writes through
// WriteTrace (codec_trace_win32.cpp) and needs no set-up at start; elsewhere
// it is null (no trace, codec_trace_none.cpp) unless a test sets its own.
using CodecTraceSink = void (*)(const Char16* pszLine);
extern CodecTraceSink g_pfnCodecTrace;
