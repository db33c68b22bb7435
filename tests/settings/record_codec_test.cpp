// Mailbox-number record codec: decoding READ RECORD answers, building
// records, the normaliser, the nibble tables and the hex dump. Vectors follow
// the dialling-number layout of 3GPP TS 51.011 10.5.1.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "settings/record_codec.h"
#include "shell/app_state.h"
#include "tests/support/scratch.h"

namespace {

using Bytes = std::vector<BYTE>;

// "\r\n[QXPhoneVMSetting] hh:mm:ss " in front of every WriteTrace message.
constexpr size_t kTraceHead = 30;

std::vector<std::wstring> Messages(const TraceCapture& trace) {
    std::vector<std::wstring> out;
    for (const auto& t : trace.Texts())
        if (t.size() >= kTraceHead + 2) out.push_back(t.substr(kTraceHead, t.size() - kTraceHead - 2));
    return out;
}

bool HasMessage(const TraceCapture& trace, const std::wstring& msg) {
    for (const auto& m : Messages(trace))
        if (m == msg) return true;
    return false;
}

// A record of L bytes: alpha identifier of 0xFF, then the given fixed part
// (padded with 0xFF to 14 bytes).
Bytes Record(DWORD L, const Bytes& fixed) {
    Bytes rec(L, 0xFF);
    std::copy(fixed.begin(), fixed.end(), rec.begin() + (L - kRecordFixedPart));
    return rec;
}

// A READ RECORD answer: the four RILSIMRESPONSE words, then the record.
Bytes Answer(const Bytes& record) {
    static const BYTE kHead[16] = {16, 0, 0, 0, 0x0F, 0, 0, 0, 0x90, 0, 0, 0, 0x00, 0, 0, 0};
    Bytes a(sizeof kHead + record.size());
    std::copy(kHead, kHead + sizeof kHead, a.begin());
    std::copy(record.begin(), record.end(), a.begin() + sizeof kHead);
    return a;
}

std::wstring Decode(const Bytes& record, DWORD dwNoMaxLen = 20) {
    Bytes a = Answer(record);
    WCHAR szNo[kPhoneNoChars + 8];
    wcscpy(szNo, L"stale");
    EXPECT_TRUE(ParsePhoneNo(a.data(), static_cast<DWORD>(a.size()), szNo,
                             static_cast<DWORD>(record.size()), dwNoMaxLen));
    return szNo;
}

// A page followed by an inaccessible one: any read past the end faults.
class GuardedBuffer {
public:
    GuardedBuffer() {
        SYSTEM_INFO si;
        GetSystemInfo(&si);
        m_page = si.dwPageSize;
        m_base = static_cast<BYTE*>(VirtualAlloc(nullptr, 2 * m_page, MEM_COMMIT, PAGE_READWRITE));
        DWORD old;
        VirtualProtect(m_base + m_page, m_page, PAGE_NOACCESS, &old);
    }
    ~GuardedBuffer() { VirtualFree(m_base, 0, MEM_RELEASE); }
    // Copies the bytes so that they end exactly at the guard page.
    BYTE* Place(const Bytes& b) {
        BYTE* p = m_base + m_page - b.size();
        memcpy(p, b.data(), b.size());
        return p;
    }

private:
    DWORD m_page = 0;
    BYTE* m_base = nullptr;
};

}  // namespace

TEST(ParsePhoneNo, InternationalNumberGetsPlusAndTracesEachStep) {
    TraceCapture trace;
    Bytes rec = Record(28, {0x06, 0x91, 0x21, 0x43, 0x65, 0xF7});
    EXPECT_EQ(Decode(rec), L"+1234567");
    EXPECT_TRUE(HasMessage(trace, L"[msg]:ParsePhoneNo(), pNo=[stale], dwTotalRecLen=[28], dwNoMaxLen=[20]."));
    EXPECT_TRUE(HasMessage(trace, L"[msg]:ParsePhoneNo(), cbOffset=[14]."));
    EXPECT_TRUE(HasMessage(trace, L"[msg]:ParsePhoneNo(), cbLen=[6]."));
    EXPECT_TRUE(HasMessage(trace, L"[msg]:ParsePhoneNo(), bPlus=[1]."));
    EXPECT_TRUE(HasMessage(trace, L"[msg]:ParsePhoneNo(), pszPhoneNo=[+]."));
    EXPECT_TRUE(HasMessage(trace, L"[msg]:ParsePhoneNo(), i=[0], pszPhoneNo=[+1], szBuf=[1]."));
    EXPECT_TRUE(HasMessage(trace, L"[msg]:ParsePhoneNo(), i=[0], pszPhoneNo=[+12], szBuf=[2]."));
    // The unused high nibble of F7: the line repeats unchanged. The fifth
    // byte (FF) adds nothing but is still walked.
    EXPECT_EQ(trace.Count(L"i=[3], pszPhoneNo=[+1234567], szBuf=[7]."), 2);
    EXPECT_EQ(trace.Count(L"i=[4], pszPhoneNo=[+1234567], szBuf=[?]."), 2);
    EXPECT_TRUE(HasMessage(trace, L"[msg]:ParsePhoneNo(), pszPhoneNo=[+1234567]."));
}

TEST(ParsePhoneNo, TonNpiAndLengthByteDecideWhatIsShown) {
    EXPECT_EQ(Decode(Record(28, {0x06, 0x81, 0x21, 0x43, 0x65, 0xF7})), L"1234567");
    // Only exactly 0x91 means international.
    EXPECT_EQ(Decode(Record(28, {0x06, 0x90, 0x21, 0x43, 0x65, 0xF7})), L"1234567");
    // No BCD byte behind TON/NPI, or an erased record: no number at all.
    for (BYTE len : {0x00, 0x01, 0xFF}) {
        TraceCapture trace;
        EXPECT_EQ(Decode(Record(28, {len, 0x91, 0x21, 0x43, 0x65, 0xF7})), L"") << int(len);
        EXPECT_EQ(trace.Count(L"bPlus="), 0);
    }
    // A length of 2 is TON/NPI and one BCD byte.
    EXPECT_EQ(Decode(Record(28, {0x02, 0x91, 0x21, 0x43})), L"+12");
}

TEST(ParsePhoneNo, OverlongLengthByteStopsAtTheTenBcdBytes) {
    Bytes fixed = {0x20, 0x81};
    for (int i = 0; i < 10; ++i) fixed.push_back(0x21);
    fixed.push_back(0x99);  // capability identifier: never a digit
    fixed.push_back(0x88);  // extension identifier
    EXPECT_EQ(Decode(Record(28, fixed)), L"12121212121212121212");
    // A larger digit limit does not reach past the BCD bytes either.
    EXPECT_EQ(Decode(Record(28, fixed), 60), L"12121212121212121212");
    // A smaller one clamps to its own count of bytes.
    EXPECT_EQ(Decode(Record(28, fixed), 5), L"1212");
    EXPECT_EQ(Decode(Record(28, fixed), 0), L"");
}

TEST(ParsePhoneNo, UnusedNibblesAreSkippedNotEndOfNumber) {
    EXPECT_EQ(Decode(Record(28, {0x02, 0x81, 0xF1})), L"1");
    EXPECT_EQ(Decode(Record(28, {0x02, 0x81, 0x1F})), L"1");
    EXPECT_EQ(Decode(Record(28, {0x02, 0x81, 0xBA})), L"*#");
    // 0xD and 0xE are dropped; decoding goes on to the length byte's end.
    EXPECT_EQ(Decode(Record(28, {0x04, 0x81, 0xD1, 0x2E, 0xC3})), L"123p");
    EXPECT_EQ(Decode(Record(28, {0x04, 0x81, 0xFF, 0x21, 0xF3})), L"123");
}

TEST(ParsePhoneNo, RecordLengthsAtBothEnds) {
    // Shortest record: fixed part only, offset 0.
    EXPECT_EQ(Decode(Record(14, {0x03, 0x91, 0x44, 0xF1})), L"+441");
    // Longest: offset 241.
    EXPECT_EQ(Decode(Record(255, {0x03, 0x81, 0x10, 0x32})), L"0123");
}

TEST(ParsePhoneNo, RecordThatCannotHoldANumberGivesEmptyText) {
    TraceCapture trace;
    // 13 bytes: the offset arithmetic would wrap to 255.
    Bytes rec13(13, 0x05);
    EXPECT_EQ(Decode(rec13), L"");
    EXPECT_TRUE(trace.Has(L"[err]:ParsePhoneNo(), dwTotalRecLen=[13]"));
    WCHAR szNo[kPhoneNoChars] = L"stale";
    EXPECT_TRUE(ParsePhoneNo(nullptr, 0, szNo, 28, 20));
    EXPECT_STREQ(szNo, L"");
    // No target text: the decode still runs and is harmless.
    Bytes a = Answer(Record(28, {0x06, 0x91, 0x21, 0x43, 0x65, 0xF7}));
    EXPECT_TRUE(ParsePhoneNo(a.data(), static_cast<DWORD>(a.size()), nullptr, 28, 20));
}

TEST(ParsePhoneNo, NeverReadsPastTheAnswer) {
    GuardedBuffer guard;
    Bytes rec = Record(28, {0x06, 0x91, 0x21, 0x43, 0x65, 0xF7});
    Bytes a = Answer(rec);
    WCHAR szNo[kPhoneNoChars] = L"stale";

    // Exactly the answer's size: the whole record is read, nothing beyond.
    BYTE* p = guard.Place(a);
    EXPECT_TRUE(ParsePhoneNo(p, static_cast<DWORD>(a.size()), szNo, 28, 20));
    EXPECT_STREQ(szNo, L"+1234567");

    // An answer cut before the record's end (the GET RESPONSE answer left in
    // the buffer after a failed READ RECORD looks like this).
    TraceCapture trace;
    Bytes cut(a.begin(), a.begin() + 16 + 20);
    p = guard.Place(cut);
    wcscpy(szNo, L"stale");
    EXPECT_TRUE(ParsePhoneNo(p, static_cast<DWORD>(cut.size()), szNo, 28, 20));
    EXPECT_STREQ(szNo, L"");
    EXPECT_TRUE(trace.Has(L"[err]:ParsePhoneNo(), cbData=[36]"));

    // Shorter than the answer header itself.
    Bytes tiny = {1, 2, 3};
    p = guard.Place(tiny);
    wcscpy(szNo, L"stale");
    EXPECT_TRUE(ParsePhoneNo(p, 3, szNo, 14, 20));
    EXPECT_STREQ(szNo, L"");
}

TEST(BuildRecord, InternationalNumberWithSeparators) {
    TraceCapture trace;
    Bytes rec(28, 0xFF);
    WCHAR szNo[kTextLen] = L"+31 6-12";
    ASSERT_TRUE(BuildRecord(rec.data(), szNo, 28));
    EXPECT_EQ(rec, Record(28, {0x05, 0x91, 0x13, 0x6D, 0x1D, 0xF2, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
                               0xFF, 0xFF, 0xFF}));
    EXPECT_STREQ(szNo, L"+31 6-12");

    EXPECT_TRUE(HasMessage(trace, L"[msg]:BuildRecord(), bPlus=[1]."));
    EXPECT_TRUE(HasMessage(trace, L"[msg]:BuildRecord(), dwLen=[7]."));
    EXPECT_TRUE(HasMessage(trace, L"[msg]:BuildRecord(), cbOffset=[0xe]."));
    EXPECT_TRUE(HasMessage(trace, L"[msg]:BuildRecord() i=[2], szNo=[ ]."));
    EXPECT_TRUE(HasMessage(trace, L"[msg]:RemovePlusAndChangeW(), pNo=[31 6-12]."));
    EXPECT_TRUE(HasMessage(trace, L"[msg]:BuildRecord(), Final. pData=."));
    // Four dumps: after the length byte (TON/NPI still FF), after TON/NPI,
    // after the digits and the final one.
    EXPECT_EQ(trace.Count(L"  FF,FF,FF,FF,FF,FF,05,FF,\r\n"), 1);
    EXPECT_EQ(trace.Count(L"  FF,FF,FF,FF,FF,FF,05,91,\r\n"), 3);
    EXPECT_EQ(trace.Count(L"  13,6D,1D,F2,FF,FF,FF,FF,\r\n"), 2);
}

TEST(BuildRecord, PauseLettersBecomeCAndTheTextShowsP) {
    Bytes rec(28, 0xFF);
    WCHAR szNo[kTextLen] = L"123w4";
    ASSERT_TRUE(BuildRecord(rec.data(), szNo, 28));
    EXPECT_EQ(rec[14], 0x04);
    EXPECT_EQ(rec[15], 0x81);
    EXPECT_EQ(rec[16], 0x21);
    EXPECT_EQ(rec[17], 0xC3);
    EXPECT_EQ(rec[18], 0xF4);
    EXPECT_EQ(rec[19], 0xFF);
    EXPECT_STREQ(szNo, L"123p4");
}

TEST(BuildRecord, EmptyTextLeavesTheCallersRecord) {
    for (LPCWSTR text : {L"", L"+", L"++"}) {
        Bytes rec(28, 0xFF);
        rec[3] = 0x42;  // the caller's bytes stay exactly as they were
        Bytes before = rec;
        WCHAR szNo[kTextLen];
        wcscpy(szNo, text);
        EXPECT_TRUE(BuildRecord(rec.data(), szNo, 28));
        EXPECT_EQ(rec, before);
        EXPECT_STREQ(szNo, L"");  // a lone "+" is not put back
    }
}

TEST(BuildRecord, MissingBufferOrTextFails) {
    TraceCapture trace;
    Bytes rec(28, 0xFF);
    WCHAR szNo[kTextLen] = L"123";
    EXPECT_FALSE(BuildRecord(nullptr, szNo, 28));
    EXPECT_FALSE(BuildRecord(rec.data(), nullptr, 28));
    EXPECT_EQ(trace.Count(L"[err]:BuildRecord(), return FALSE."), 2);
    EXPECT_STREQ(szNo, L"123");
    EXPECT_EQ(rec, Bytes(28, 0xFF));
}

TEST(BuildRecord, TwentyDigitsFillTheRecordAndTwentyOneAreRefused) {
    Bytes rec(28, 0xFF);
    WCHAR szNo[kTextLen] = L"+12345678901234567890";
    ASSERT_TRUE(BuildRecord(rec.data(), szNo, 28));
    EXPECT_EQ(rec[14], 11);
    EXPECT_EQ(rec[24], 0x87);
    EXPECT_EQ(rec[25], 0x09);  // last BCD byte: digits 9 and 0
    EXPECT_EQ(rec[26], 0xFF);  // capability and extension untouched
    EXPECT_EQ(rec[27], 0xFF);
    EXPECT_STREQ(szNo, L"+12345678901234567890");

    // 21 digits, and a 48-character paste: nothing is written anywhere and
    // the caller's text is kept, so its mirror is not touched either.
    for (LPCWSTR text : {L"123456789012345678901", L"+44 1234 5678 9012 3456 7890 1234 5678 9012 345"}) {
        TraceCapture trace;
        Bytes buf(40, 0xA5);  // the record of 28 and twelve bytes beyond it
        WCHAR szLong[kTextLen];
        wcscpy(szLong, text);
        EXPECT_FALSE(BuildRecord(buf.data(), szLong, 28));
        EXPECT_EQ(buf, Bytes(40, 0xA5));
        EXPECT_STREQ(szLong, text);
        EXPECT_TRUE(trace.Has(L"[err]:BuildRecord(), dwLen=["));
    }
}

TEST(BuildRecord, RecordLengthWithoutRoomIsRefused) {
    for (DWORD L : {0u, 1u, 13u, 256u}) {
        TraceCapture trace;
        Bytes buf(300, 0xA5);
        WCHAR szNo[kTextLen] = L"+123";
        EXPECT_FALSE(BuildRecord(buf.data(), szNo, L)) << L;
        EXPECT_EQ(buf, Bytes(300, 0xA5)) << L;
        EXPECT_STREQ(szNo, L"+123");
        EXPECT_TRUE(trace.Has(L"[err]:BuildRecord(), dwTotalRecLen=[")) << L;
    }
    // Fourteen is the fixed part alone.
    Bytes rec(14, 0xFF);
    WCHAR szNo[kTextLen] = L"12";
    ASSERT_TRUE(BuildRecord(rec.data(), szNo, 14));
    EXPECT_EQ(rec[0], 0x02);
    EXPECT_EQ(rec[1], 0x81);
    EXPECT_EQ(rec[2], 0x21);
}

TEST(BuildRecord, WhatIsBuiltDecodesToTheNormalisedText) {
    for (LPCWSTR text : {L"+1234567", L"0800*#1", L"9w9W9p9P9", L"+12345678901234567890", L"5"}) {
        for (DWORD L : {14u, 28u, 46u}) {
            Bytes rec(L, 0xFF);
            WCHAR szNo[kTextLen];
            wcscpy(szNo, text);
            ASSERT_TRUE(BuildRecord(rec.data(), szNo, L));
            // Only the fixed part is written; the alpha identifier stays 0xFF.
            for (DWORD i = 0; i < L - 14; ++i) ASSERT_EQ(rec[i], 0xFF);
            // "P" stays in the text but is read back as the "p" of nibble 0xC.
            std::wstring shown = szNo;
            for (auto& c : shown)
                if (c == L'P') c = L'p';
            EXPECT_EQ(Decode(rec), shown) << text << L" L=" << L;
        }
    }
}

TEST(RemovePlusAndChangeW, DropsEveryPlusAndTurnsWIntoP) {
    TraceCapture trace;
    WCHAR szNo[kTextLen] = L"+4+4W w";
    EXPECT_TRUE(RemovePlusAndChangeW(szNo));
    EXPECT_STREQ(szNo, L"44p p");
    EXPECT_TRUE(HasMessage(trace, L"[msg]:RemovePlusAndChangeW(), pNo=[+4+4W w]."));
    EXPECT_TRUE(HasMessage(trace, L"[msg]:RemovePlusAndChangeW(), pNo=[44p p]."));

    WCHAR szPlain[kTextLen] = L"0123";
    EXPECT_FALSE(RemovePlusAndChangeW(szPlain));
    EXPECT_STREQ(szPlain, L"0123");
    EXPECT_FALSE(RemovePlusAndChangeW(nullptr));

    // Longer than any work text of 260: still whole, nothing overrun.
    std::wstring big = L"+" + std::wstring(999, L'w');
    std::vector<WCHAR> buf(big.begin(), big.end());
    buf.push_back(L'\0');
    EXPECT_TRUE(RemovePlusAndChangeW(buf.data()));
    EXPECT_EQ(std::wstring(buf.data()), std::wstring(999, L'p'));
}

TEST(DumpHex, EightBytesToALineAndAFinalLineEnd) {
    TraceCapture trace;
    const BYTE three[] = {0x01, 0x0A, 0xFF};
    DumpHex(three, 3);
    const BYTE eight[] = {1, 2, 3, 4, 5, 6, 7, 8};
    DumpHex(eight, 8);
    const BYTE nine[] = {1, 2, 3, 4, 5, 6, 7, 8, 0xAB};
    DumpHex(nine, 9);
    DumpHex(nullptr, 4);
    DumpHex(three, 0);
    auto m = Messages(trace);
    ASSERT_EQ(m.size(), 5u);
    EXPECT_EQ(m[0], L"  01,0A,FF,\r\n");
    EXPECT_EQ(m[1], L"  01,02,03,04,05,06,07,08,\r\n\r\n");
    EXPECT_EQ(m[2], L"  01,02,03,04,05,06,07,08,\r\n  AB,\r\n");
    EXPECT_EQ(m[3], L"  { NULL }\r\n");
    EXPECT_EQ(m[4], L"  { NULL }\r\n");
}

TEST(NibbleTables, BothDirections) {
    const wchar_t* expect = L"0123456789*#p???";
    WCHAR szBuf[2];
    for (BYTE n = 0; n < 16; ++n) {
        EXPECT_EQ(BCDToChar(n, szBuf), szBuf);
        EXPECT_EQ(szBuf[0], expect[n]) << int(n);
        EXPECT_EQ(szBuf[1], L'\0');
    }
    EXPECT_EQ(BCDToChar(0x1F, szBuf)[0], L'?');

    const std::wstring chars = L"0123456789*#PpWw";
    const BYTE nibbles[] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 0xA, 0xB, 0xC, 0xC, 0xC, 0xC};
    for (size_t i = 0; i < chars.size(); ++i) {
        WCHAR one[2] = {chars[i], L'\0'};
        EXPECT_EQ(CharToBCD(one), nibbles[i]) << char(chars[i]);
    }
    for (LPCWSTR other : {L"+", L" ", L"-", L"a", L"\u0661"}) EXPECT_EQ(CharToBCD(other), 0xD);
    EXPECT_EQ(CharToBCD(nullptr), 0xD);
}
