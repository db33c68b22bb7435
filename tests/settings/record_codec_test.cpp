// Mailbox-number record codec: decoding READ RECORD answers, building
// records, the normaliser, the nibble tables and the hex dump. Vectors follow
// the dialling-number layout of 3GPP TS 51.011 10.5.1.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "settings/record_codec.h"
#include "tests/settings/codec_test_support.h"

namespace {

using Bytes = std::vector<uint8_t>;

// A record of L bytes: alpha identifier of 0xFF, then the given fixed part
// (padded with 0xFF to 14 bytes).
Bytes Record(uint32_t L, const Bytes& fixed) {
    Bytes rec(L, 0xFF);
    std::copy(fixed.begin(), fixed.end(), rec.begin() + (L - kRecordFixedPart));
    return rec;
}

// A READ RECORD answer: the four RILSIMRESPONSE words, then the record.
Bytes Answer(const Bytes& record) {
    static const uint8_t kHead[16] = {16, 0, 0, 0, 0x0F, 0, 0, 0, 0x90, 0, 0, 0, 0x00, 0, 0, 0};
    Bytes a(sizeof kHead + record.size());
    std::copy(kHead, kHead + sizeof kHead, a.begin());
    std::copy(record.begin(), record.end(), a.begin() + sizeof kHead);
    return a;
}

Text16 Decode(const Bytes& record, uint32_t dwNoMaxLen = 20) {
    Bytes a = Answer(record);
    Char16 szNo[kPhoneNoChars + 8];
    Copy16(szNo, T16("stale"));
    EXPECT_TRUE(ParsePhoneNo(a.data(), static_cast<uint32_t>(a.size()), szNo,
                             static_cast<uint32_t>(record.size()), dwNoMaxLen));
    return szNo;
}

}  // namespace

TEST(ParsePhoneNo, InternationalNumberGetsPlusAndTracesEachStep) {
    CodecTrace trace;
    Bytes rec = Record(28, {0x06, 0x91, 0x21, 0x43, 0x65, 0xF7});
    EXPECT_EQ(Decode(rec), T16("+1234567"));
    EXPECT_TRUE(trace.HasMessage(T16("[msg]:ParsePhoneNo(), pNo=[stale], dwTotalRecLen=[28], dwNoMaxLen=[20].")));
    EXPECT_TRUE(trace.HasMessage(T16("[msg]:ParsePhoneNo(), cbOffset=[14].")));
    EXPECT_TRUE(trace.HasMessage(T16("[msg]:ParsePhoneNo(), cbLen=[6].")));
    EXPECT_TRUE(trace.HasMessage(T16("[msg]:ParsePhoneNo(), bPlus=[1].")));
    EXPECT_TRUE(trace.HasMessage(T16("[msg]:ParsePhoneNo(), pszPhoneNo=[+].")));
    EXPECT_TRUE(trace.HasMessage(T16("[msg]:ParsePhoneNo(), i=[0], pszPhoneNo=[+1], szBuf=[1].")));
    EXPECT_TRUE(trace.HasMessage(T16("[msg]:ParsePhoneNo(), i=[0], pszPhoneNo=[+12], szBuf=[2].")));
    // The unused high nibble of F7: the line repeats unchanged. The fifth
    // byte (FF) adds nothing but is still walked.
    EXPECT_EQ(trace.Count(T16("i=[3], pszPhoneNo=[+1234567], szBuf=[7].")), 2);
    EXPECT_EQ(trace.Count(T16("i=[4], pszPhoneNo=[+1234567], szBuf=[?].")), 2);
    EXPECT_TRUE(trace.HasMessage(T16("[msg]:ParsePhoneNo(), pszPhoneNo=[+1234567].")));
}

TEST(ParsePhoneNo, TonNpiAndLengthByteDecideWhatIsShown) {
    EXPECT_EQ(Decode(Record(28, {0x06, 0x81, 0x21, 0x43, 0x65, 0xF7})), T16("1234567"));
    // Only exactly 0x91 means international.
    EXPECT_EQ(Decode(Record(28, {0x06, 0x90, 0x21, 0x43, 0x65, 0xF7})), T16("1234567"));
    // No BCD byte behind TON/NPI, or an erased record: no number at all.
    for (uint8_t len : {0x00, 0x01, 0xFF}) {
        CodecTrace trace;
        EXPECT_EQ(Decode(Record(28, {len, 0x91, 0x21, 0x43, 0x65, 0xF7})), T16("")) << int(len);
        EXPECT_EQ(trace.Count(T16("bPlus=")), 0);
    }
    // A length of 2 is TON/NPI and one BCD byte.
    EXPECT_EQ(Decode(Record(28, {0x02, 0x91, 0x21, 0x43})), T16("+12"));
}

TEST(ParsePhoneNo, OverlongLengthByteStopsAtTheTenBcdBytes) {
    Bytes fixed = {0x20, 0x81};
    for (int i = 0; i < 10; ++i) fixed.push_back(0x21);
    fixed.push_back(0x99);  // capability identifier: never a digit
    fixed.push_back(0x88);  // extension identifier
    EXPECT_EQ(Decode(Record(28, fixed)), T16("12121212121212121212"));
    // A larger digit limit does not reach past the BCD bytes either.
    EXPECT_EQ(Decode(Record(28, fixed), 60), T16("12121212121212121212"));
    // A smaller one clamps to its own count of bytes.
    EXPECT_EQ(Decode(Record(28, fixed), 5), T16("1212"));
    EXPECT_EQ(Decode(Record(28, fixed), 0), T16(""));
}

TEST(ParsePhoneNo, UnusedNibblesAreSkippedNotEndOfNumber) {
    EXPECT_EQ(Decode(Record(28, {0x02, 0x81, 0xF1})), T16("1"));
    EXPECT_EQ(Decode(Record(28, {0x02, 0x81, 0x1F})), T16("1"));
    EXPECT_EQ(Decode(Record(28, {0x02, 0x81, 0xBA})), T16("*#"));
    // 0xD and 0xE are dropped; decoding goes on to the length byte's end.
    EXPECT_EQ(Decode(Record(28, {0x04, 0x81, 0xD1, 0x2E, 0xC3})), T16("123p"));
    EXPECT_EQ(Decode(Record(28, {0x04, 0x81, 0xFF, 0x21, 0xF3})), T16("123"));
}

TEST(ParsePhoneNo, RecordLengthsAtBothEnds) {
    // Shortest record: fixed part only, offset 0.
    EXPECT_EQ(Decode(Record(14, {0x03, 0x91, 0x44, 0xF1})), T16("+441"));
    // Longest: offset 241.
    EXPECT_EQ(Decode(Record(255, {0x03, 0x81, 0x10, 0x32})), T16("0123"));
}

TEST(ParsePhoneNo, RecordThatCannotHoldANumberGivesEmptyText) {
    CodecTrace trace;
    // 13 bytes: the offset arithmetic would wrap to 255.
    Bytes rec13(13, 0x05);
    EXPECT_EQ(Decode(rec13), T16(""));
    EXPECT_TRUE(trace.Has(T16("[err]:ParsePhoneNo(), dwTotalRecLen=[13]")));
    Char16 szNo[kPhoneNoChars] = T16("stale");
    EXPECT_TRUE(ParsePhoneNo(nullptr, 0, szNo, 28, 20));
    EXPECT_EQ(Text16(szNo), T16(""));
    // No target text: the decode still runs and is harmless.
    Bytes a = Answer(Record(28, {0x06, 0x91, 0x21, 0x43, 0x65, 0xF7}));
    EXPECT_TRUE(ParsePhoneNo(a.data(), static_cast<uint32_t>(a.size()), nullptr, 28, 20));
}

TEST(ParsePhoneNo, NeverReadsPastTheAnswer) {
    GuardedBuffer guard;
    Bytes rec = Record(28, {0x06, 0x91, 0x21, 0x43, 0x65, 0xF7});
    Bytes a = Answer(rec);
    Char16 szNo[kPhoneNoChars] = T16("stale");

    // Exactly the answer's size: the whole record is read, nothing beyond.
    uint8_t* p = guard.Place(a);
    EXPECT_TRUE(ParsePhoneNo(p, static_cast<uint32_t>(a.size()), szNo, 28, 20));
    EXPECT_EQ(Text16(szNo), T16("+1234567"));

    // An answer cut before the record's end (the GET RESPONSE answer left in
    // the buffer after a failed READ RECORD looks like this).
    CodecTrace trace;
    Bytes cut(a.begin(), a.begin() + 16 + 20);
    p = guard.Place(cut);
    Copy16(szNo, T16("stale"));
    EXPECT_TRUE(ParsePhoneNo(p, static_cast<uint32_t>(cut.size()), szNo, 28, 20));
    EXPECT_EQ(Text16(szNo), T16(""));
    EXPECT_TRUE(trace.Has(T16("[err]:ParsePhoneNo(), cbData=[36]")));

    // Shorter than the answer header itself.
    Bytes tiny = {1, 2, 3};
    p = guard.Place(tiny);
    Copy16(szNo, T16("stale"));
    EXPECT_TRUE(ParsePhoneNo(p, 3, szNo, 14, 20));
    EXPECT_EQ(Text16(szNo), T16(""));

    // A target of exactly kPhoneNoChars units without a terminator: its
    // stale content is traced up to its end, never beyond.
    GuardedBuffer guardNo;
    Char16* pTarget = reinterpret_cast<Char16*>(guardNo.Place(Bytes(kPhoneNoChars * sizeof(Char16), '7')));
    p = guard.Place(a);
    EXPECT_TRUE(ParsePhoneNo(p, static_cast<uint32_t>(a.size()), pTarget, 28, 20));
    EXPECT_EQ(Text16(pTarget), T16("+1234567"));
}

TEST(BuildRecord, InternationalNumberWithSeparators) {
    CodecTrace trace;
    Bytes rec(28, 0xFF);
    Char16 szNo[kTextLen] = T16("+31 6-12");
    ASSERT_TRUE(BuildRecord(rec.data(), szNo, 28));
    EXPECT_EQ(rec, Record(28, {0x05, 0x91, 0x13, 0x6D, 0x1D, 0xF2, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
                               0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(Text16(szNo), T16("+31 6-12"));

    EXPECT_TRUE(trace.HasMessage(T16("[msg]:BuildRecord(), bPlus=[1].")));
    EXPECT_TRUE(trace.HasMessage(T16("[msg]:BuildRecord(), dwLen=[7].")));
    EXPECT_TRUE(trace.HasMessage(T16("[msg]:BuildRecord(), cbOffset=[0xe].")));
    EXPECT_TRUE(trace.HasMessage(T16("[msg]:BuildRecord() i=[2], szNo=[ ].")));
    EXPECT_TRUE(trace.HasMessage(T16("[msg]:RemovePlusAndChangeW(), pNo=[31 6-12].")));
    EXPECT_TRUE(trace.HasMessage(T16("[msg]:BuildRecord(), Final. pData=.")));
    // Four dumps: after the length byte (TON/NPI still FF), after TON/NPI,
    // after the digits and the final one.
    EXPECT_EQ(trace.Count(T16("  FF,FF,FF,FF,FF,FF,05,FF,\r\n")), 1);
    EXPECT_EQ(trace.Count(T16("  FF,FF,FF,FF,FF,FF,05,91,\r\n")), 3);
    EXPECT_EQ(trace.Count(T16("  13,6D,1D,F2,FF,FF,FF,FF,\r\n")), 2);
}

TEST(BuildRecord, PauseLettersBecomeCAndTheTextShowsP) {
    Bytes rec(28, 0xFF);
    Char16 szNo[kTextLen] = T16("123w4");
    ASSERT_TRUE(BuildRecord(rec.data(), szNo, 28));
    EXPECT_EQ(rec[14], 0x04);
    EXPECT_EQ(rec[15], 0x81);
    EXPECT_EQ(rec[16], 0x21);
    EXPECT_EQ(rec[17], 0xC3);
    EXPECT_EQ(rec[18], 0xF4);
    EXPECT_EQ(rec[19], 0xFF);
    EXPECT_EQ(Text16(szNo), T16("123p4"));
}

TEST(BuildRecord, EmptyTextLeavesTheCallersRecord) {
    for (const Char16* text : {T16(""), T16("+"), T16("++")}) {
        Bytes rec(28, 0xFF);
        rec[3] = 0x42;  // the caller's bytes stay exactly as they were
        Bytes before = rec;
        Char16 szNo[kTextLen];
        Copy16(szNo, text);
        EXPECT_TRUE(BuildRecord(rec.data(), szNo, 28));
        EXPECT_EQ(rec, before);
        EXPECT_EQ(Text16(szNo), T16(""));  // a lone "+" is not put back
    }
}

TEST(BuildRecord, MissingBufferOrTextFails) {
    CodecTrace trace;
    Bytes rec(28, 0xFF);
    Char16 szNo[kTextLen] = T16("123");
    EXPECT_FALSE(BuildRecord(nullptr, szNo, 28));
    EXPECT_FALSE(BuildRecord(rec.data(), nullptr, 28));
    EXPECT_EQ(trace.Count(T16("[err]:BuildRecord(), return FALSE.")), 2);
    EXPECT_EQ(Text16(szNo), T16("123"));
    EXPECT_EQ(rec, Bytes(28, 0xFF));
}

TEST(BuildRecord, TwentyDigitsFillTheRecordAndTwentyOneAreRefused) {
    Bytes rec(28, 0xFF);
    Char16 szNo[kTextLen] = T16("+12345678901234567890");
    ASSERT_TRUE(BuildRecord(rec.data(), szNo, 28));
    EXPECT_EQ(rec[14], 11);
    EXPECT_EQ(rec[24], 0x87);
    EXPECT_EQ(rec[25], 0x09);  // last BCD byte: digits 9 and 0
    EXPECT_EQ(rec[26], 0xFF);  // capability and extension untouched
    EXPECT_EQ(rec[27], 0xFF);
    EXPECT_EQ(Text16(szNo), T16("+12345678901234567890"));

    // 21 digits, and a 48-character paste: nothing is written anywhere and
    // the caller's text is kept, so its mirror is not touched either.
    for (const Char16* text :
         {T16("123456789012345678901"), T16("+44 1234 5678 9012 3456 7890 1234 5678 9012 345")}) {
        CodecTrace trace;
        Bytes buf(40, 0xA5);  // the record of 28 and twelve bytes beyond it
        Char16 szLong[kTextLen];
        Copy16(szLong, text);
        EXPECT_FALSE(BuildRecord(buf.data(), szLong, 28));
        EXPECT_EQ(buf, Bytes(40, 0xA5));
        EXPECT_EQ(Text16(szLong), text);
        EXPECT_TRUE(trace.Has(T16("[err]:BuildRecord(), dwLen=[")));
    }
}

TEST(BuildRecord, RecordLengthWithoutRoomIsRefused) {
    for (uint32_t L : {0u, 1u, 13u, 256u}) {
        CodecTrace trace;
        Bytes buf(300, 0xA5);
        Char16 szNo[kTextLen] = T16("+123");
        EXPECT_FALSE(BuildRecord(buf.data(), szNo, L)) << L;
        EXPECT_EQ(buf, Bytes(300, 0xA5)) << L;
        EXPECT_EQ(Text16(szNo), T16("+123"));
        EXPECT_TRUE(trace.Has(T16("[err]:BuildRecord(), dwTotalRecLen=["))) << L;
    }
    // Fourteen is the fixed part alone.
    Bytes rec(14, 0xFF);
    Char16 szNo[kTextLen] = T16("12");
    ASSERT_TRUE(BuildRecord(rec.data(), szNo, 14));
    EXPECT_EQ(rec[0], 0x02);
    EXPECT_EQ(rec[1], 0x81);
    EXPECT_EQ(rec[2], 0x21);
}

TEST(BuildRecord, WhatIsBuiltDecodesToTheNormalisedText) {
    for (const Char16* text :
         {T16("+1234567"), T16("0800*#1"), T16("9w9W9p9P9"), T16("+12345678901234567890"), T16("5")}) {
        for (uint32_t L : {14u, 28u, 46u}) {
            Bytes rec(L, 0xFF);
            Char16 szNo[kTextLen];
            Copy16(szNo, text);
            ASSERT_TRUE(BuildRecord(rec.data(), szNo, L));
            // Only the fixed part is written; the alpha identifier stays 0xFF.
            for (uint32_t i = 0; i < L - 14; ++i) ASSERT_EQ(rec[i], 0xFF);
            // "P" stays in the text but is read back as the "p" of nibble 0xC.
            Text16 shown = szNo;
            for (auto& c : shown)
                if (c == 'P') c = 'p';
            EXPECT_EQ(Decode(rec), shown) << testing::PrintToString(text) << " L=" << L;
        }
    }
}

// Only the number part is new: the label before it and the two identifiers
// behind it stay as the card held them, at every record length.
TEST(KeepRecordLabel, TheNumberAloneIsNew) {
    struct Case {
        uint32_t L;
        bool ok;
    };
    for (const Case& c : {Case{14, true}, Case{28, true}, Case{32, true}, Case{255, true}, Case{13, false}}) {
        SCOPED_TRACE(c.L);
        Bytes held(c.L), built(c.L, 0xFF);
        for (uint32_t i = 0; i < c.L; ++i) held[i] = static_cast<uint8_t>(i + 1);
        for (uint32_t i = c.L >= 14 ? c.L - 14 : 0; i + 2 < c.L; ++i) built[i] = 0xA0;
        Bytes merged = built;
        EXPECT_EQ(KeepRecordLabel(merged.data(), held.data(), c.L), c.ok);
        for (uint32_t i = 0; i < c.L; ++i) {
            const bool bNumberPart = c.ok && i >= c.L - 14 && i < c.L - 2;
            EXPECT_EQ(merged[i], !c.ok || bNumberPart ? built[i] : held[i]) << "byte " << i;
        }
    }
    EXPECT_FALSE(KeepRecordLabel(nullptr, Bytes(28).data(), 28));
}

TEST(RemovePlusAndChangeW, DropsEveryPlusAndTurnsWIntoP) {
    CodecTrace trace;
    Char16 szNo[kTextLen] = T16("+4+4W w");
    EXPECT_TRUE(RemovePlusAndChangeW(szNo));
    EXPECT_EQ(Text16(szNo), T16("44p p"));
    EXPECT_TRUE(trace.HasMessage(T16("[msg]:RemovePlusAndChangeW(), pNo=[+4+4W w].")));
    EXPECT_TRUE(trace.HasMessage(T16("[msg]:RemovePlusAndChangeW(), pNo=[44p p].")));

    Char16 szPlain[kTextLen] = T16("0123");
    EXPECT_FALSE(RemovePlusAndChangeW(szPlain));
    EXPECT_EQ(Text16(szPlain), T16("0123"));
    EXPECT_FALSE(RemovePlusAndChangeW(nullptr));

    // Longer than any work text of 260: still whole, nothing overrun.
    Text16 big = T16("+") + Text16(999, 'w');
    std::vector<Char16> buf(big.begin(), big.end());
    buf.push_back(0);
    EXPECT_TRUE(RemovePlusAndChangeW(buf.data()));
    EXPECT_EQ(Text16(buf.data()), Text16(999, 'p'));
}

TEST(DumpHex, EightBytesToALineAndAFinalLineEnd) {
    CodecTrace trace;
    const uint8_t three[] = {0x01, 0x0A, 0xFF};
    DumpHex(three, 3);
    const uint8_t eight[] = {1, 2, 3, 4, 5, 6, 7, 8};
    DumpHex(eight, 8);
    const uint8_t nine[] = {1, 2, 3, 4, 5, 6, 7, 8, 0xAB};
    DumpHex(nine, 9);
    DumpHex(nullptr, 4);
    DumpHex(three, 0);
    auto m = trace.Messages();
    ASSERT_EQ(m.size(), 5u);
    EXPECT_EQ(m[0], T16("  01,0A,FF,\r\n"));
    EXPECT_EQ(m[1], T16("  01,02,03,04,05,06,07,08,\r\n\r\n"));
    EXPECT_EQ(m[2], T16("  01,02,03,04,05,06,07,08,\r\n  AB,\r\n"));
    EXPECT_EQ(m[3], T16("  { NULL }\r\n"));
    EXPECT_EQ(m[4], T16("  { NULL }\r\n"));
}

TEST(NibbleTables, BothDirections) {
    const Char16* expect = T16("0123456789*#p???");
    Char16 szBuf[2];
    for (uint8_t n = 0; n < 16; ++n) {
        EXPECT_EQ(BCDToChar(n, szBuf), szBuf);
        EXPECT_EQ(szBuf[0], expect[n]) << int(n);
        EXPECT_EQ(szBuf[1], 0);
    }
    EXPECT_EQ(BCDToChar(0x1F, szBuf)[0], '?');

    const Text16 chars = T16("0123456789*#PpWw");
    const uint8_t nibbles[] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 0xA, 0xB, 0xC, 0xC, 0xC, 0xC};
    for (size_t i = 0; i < chars.size(); ++i) {
        Char16 one[2] = {chars[i], 0};
        EXPECT_EQ(CharToBCD(one), nibbles[i]) << char(chars[i]);
    }
    for (const Char16* other : {T16("+"), T16(" "), T16("-"), T16("a"), T16("\u0661")})
        EXPECT_EQ(CharToBCD(other), 0xD);
    EXPECT_EQ(CharToBCD(nullptr), 0xD);
}
