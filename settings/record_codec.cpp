// Mailbox-number record codec. The record has the dialling-number layout of
// 3GPP TS 51.011 10.5.1 (EF_ADN), which EF_MBDN (TS 51.011, TS 31.102) and
// the CPHS mailbox file 0x6F17 share: X bytes of alpha identifier, then 14
// fixed bytes:
//   X+0  length of BCD number/SSC contents (TON/NPI byte plus BCD bytes)
//   X+1  TON and NPI
//   X+2  ten bytes of dialling number, BCD, first digit in the low nibble
//   X+12 capability/configuration identifier
//   X+13 extension record identifier
#include "settings/record_codec.h"

#include <cstring>

namespace {

constexpr uint8_t kTonNpiInternational = 0x91;  // TON international, NPI ISDN/E.164
constexpr uint8_t kTonNpiUnknown = 0x81;        // TON unknown, NPI ISDN/E.164
constexpr uint32_t kBcdBytes = 10;

// One trace line, composed piece by piece as the device's wide printf
// formats did (there is no such printf for char16_t). The program's trace
// keeps at most kTraceLineUnits of a message, so a line needs no more.
class TraceLine {
public:
    static constexpr size_t kTraceLineUnits = 1028;

    TraceLine() = default;
    explicit TraceLine(const char* pszAscii) { Add(pszAscii); }
    TraceLine& Add(const char* pszAscii) {
        while (*pszAscii) Put(static_cast<Char16>(*pszAscii++));
        return *this;
    }
    TraceLine& Add(const Char16* pszText, size_t cchMax = SIZE_MAX) {
        for (size_t i = 0; i < cchMax && pszText[i]; ++i) Put(pszText[i]);
        return *this;
    }
    // %d, and %ld of a DWORD: a 32-bit value shown signed.
    TraceLine& Dec(int32_t n) {
        uint32_t u = n < 0 ? 0u - static_cast<uint32_t>(n) : static_cast<uint32_t>(n);
        if (n < 0) Put('-');
        return Digits(u, 10, 1, false);
    }
    // %x; %02X is nWidth 2 and bUpper.
    TraceLine& Hex(uint32_t u, int nWidth = 1, bool bUpper = false) { return Digits(u, 16, nWidth, bUpper); }
    bool Full() const { return m_len == kTraceLineUnits; }
    void Write() {
        m_text[m_len] = 0;
        if (g_pfnCodecTrace) g_pfnCodecTrace(m_text);
    }

private:
    void Put(Char16 c) {
        if (m_len < kTraceLineUnits) m_text[m_len++] = c;
    }
    TraceLine& Digits(uint32_t u, uint32_t base, int nWidth, bool bUpper) {
        const char* digits = bUpper ? "0123456789ABCDEF" : "0123456789abcdef";
        char buf[32];
        int n = 0;
        do {
            buf[n++] = digits[u % base];
            u /= base;
        } while (u);
        while (n < nWidth) buf[n++] = '0';
        while (n) Put(static_cast<Char16>(buf[--n]));
        return *this;
    }

    Char16 m_text[kTraceLineUnits + 1];
    size_t m_len = 0;
};

// Addresses go to the trace as 32-bit hex, as on the device.
uint32_t TraceAddr(const void* p) { return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(p)); }
const Char16* TraceText(const Char16* s) { return s ? s : T16(""); }

// Offset of the fixed part, computed in 8 bits as the device does; only
// meaningful for record lengths of 14 to 255, which callers check first.
uint8_t FixedPartOffset(uint32_t dwTotalRecLen) { return static_cast<uint8_t>(dwTotalRecLen + 242); }

bool IsRecordLength(uint32_t dwTotalRecLen) {
    return dwTotalRecLen >= kRecordFixedPart && dwTotalRecLen <= kRecordMaxLen;
}

void SetEmpty(Char16* pNo) {
    if (pNo) pNo[0] = 0;
}

void AppendChar(Char16* text, uint32_t cchText, const Char16* szChar) {
    size_t len = Len16(text);
    if (len + 1 < cchText) {
        text[len] = szChar[0];
        text[len + 1] = 0;
    }
}

}  // namespace

bool RecordInAnswer(uint32_t cbData, uint32_t dwTotalRecLen) {
    return IsRecordLength(dwTotalRecLen) && cbData >= kSimResponseHeader &&
           cbData - kSimResponseHeader >= dwTotalRecLen;
}

Char16* BCDToChar(uint8_t bNibble, Char16* szBuf) {
    if (!szBuf) return szBuf;
    Char16 c = '?';
    if (bNibble <= 9)
        c = static_cast<Char16>('0' + bNibble);
    else if (bNibble == 0xA)
        c = '*';
    else if (bNibble == 0xB)
        c = '#';
    else if (bNibble == 0xC)
        c = 'p';  // DTMF control digit separator (pause)
    szBuf[0] = c;
    szBuf[1] = 0;
    return szBuf;
}

uint8_t CharToBCD(const Char16* szChar) {
    Char16 c = szChar ? szChar[0] : 0;
    if (c >= '0' && c <= '9') return static_cast<uint8_t>(c - '0');
    switch (c) {
    case '*': return 0xA;
    case '#': return 0xB;
    case 'P':
    case 'p':
    case 'W':
    case 'w': return 0xC;
    default: return 0xD;
    }
}

bool RemovePlusAndChangeW(Char16* pNo) {
    TraceLine("[msg]:RemovePlusAndChangeW(), pNo=[").Add(TraceText(pNo)).Add("].").Write();
    bool bPlus = false;
    if (pNo) {
        // The text only shrinks, so it is rewritten in place: no work buffer
        // to overrun whatever the caller's text length.
        Char16* out = pNo;
        for (const Char16* in = pNo; *in; ++in) {
            if (*in == '+') {
                bPlus = true;
                continue;
            }
            *out++ = (*in == 'W' || *in == 'w') ? Char16('p') : *in;
        }
        *out = 0;
    }
    TraceLine("[msg]:RemovePlusAndChangeW(), pNo=[").Add(TraceText(pNo)).Add("].").Write();
    return bPlus;
}

void DumpHex(const uint8_t* pData, uint32_t cbData) {
    if (!pData || cbData == 0) {
        TraceLine("  { NULL }\r\n").Write();
        return;
    }
    TraceLine line;
    // Bytes beyond a full line would not reach the trace.
    for (uint32_t i = 0; i < cbData && !line.Full(); ++i) {
        if (i % 8 == 0) line.Add("  ");
        line.Hex(pData[i], 2, true).Add(",");
        if (i % 8 == 7) line.Add("\r\n");
    }
    line.Add("\r\n").Write();
}

bool ParsePhoneNo(const uint8_t* pData, uint32_t cbData, Char16* pNo, uint32_t dwTotalRecLen,
                  uint32_t dwNoMaxLen) {
    // pNo is only a target of kPhoneNoChars units: what it held need not be terminated.
    TraceLine("[msg]:ParsePhoneNo(), pNo=[").Add(TraceText(pNo), kPhoneNoChars).Add("], dwTotalRecLen=[")
        .Dec(dwTotalRecLen).Add("], dwNoMaxLen=[").Dec(dwNoMaxLen).Add("].").Write();

    // Nothing is read outside the record, and the record must lie wholly
    // inside the answer we were given.
    if (!pData) {
        TraceLine("[err]:ParsePhoneNo(), no answer, pszPhoneNo=[].").Write();
        SetEmpty(pNo);
        return true;
    }
    if (!IsRecordLength(dwTotalRecLen)) {
        TraceLine("[err]:ParsePhoneNo(), dwTotalRecLen=[").Dec(dwTotalRecLen)
            .Add("] is no mailbox record, pszPhoneNo=[].").Write();
        SetEmpty(pNo);
        return true;
    }
    if (!RecordInAnswer(cbData, dwTotalRecLen)) {
        TraceLine("[err]:ParsePhoneNo(), cbData=[").Dec(cbData).Add("] ends before the record, pszPhoneNo=[].")
            .Write();
        SetEmpty(pNo);
        return true;
    }
    const uint8_t* pRecord = pData + kSimResponseHeader;

    uint8_t cbOffset = FixedPartOffset(dwTotalRecLen);
    TraceLine("[msg]:ParsePhoneNo(), cbOffset=[").Dec(cbOffset).Add("].").Write();
    uint8_t cbLen = pRecord[cbOffset];
    TraceLine("[msg]:ParsePhoneNo(), cbLen=[").Dec(cbLen).Add("].").Write();

    // 0xFF is an erased record; 0 and 1 leave no BCD byte after TON/NPI.
    if (cbLen == 0xFF || cbLen == 0 || cbLen == 1) {
        SetEmpty(pNo);
        return true;
    }

    bool bPlus = pRecord[cbOffset + 1] == kTonNpiInternational;
    TraceLine("[msg]:ParsePhoneNo(), bPlus=[").Dec(bPlus ? 1 : 0).Add("].").Write();

    Char16 szPhoneNo[kPhoneNoChars] = {};
    // Never more BCD bytes than the record's ten, whatever limit is passed.
    uint32_t dwLimit = (dwNoMaxLen < kNumberMaxDigits ? dwNoMaxLen : kNumberMaxDigits) / 2 + 1;
    if (cbLen > dwLimit) cbLen = static_cast<uint8_t>(dwLimit);

    if (bPlus) AppendChar(szPhoneNo, kPhoneNoChars, T16("+"));
    TraceLine("[msg]:ParsePhoneNo(), pszPhoneNo=[").Add(szPhoneNo).Add("].").Write();

    const uint32_t nBcd = cbLen > 1 ? cbLen - 1u : 0u;
    uint8_t pBCD[kBcdBytes] = {};
    memcpy(pBCD, pRecord + cbOffset + 2, nBcd);
    TraceLine("[msg]:ParsePhoneNo(), pBCD=[0x").Hex(TraceAddr(pBCD)).Add("].").Write();

    // An unused nibble (0xF, or the undefined 0xD and 0xE) does not end the
    // number: it is skipped and the length byte alone says where it stops.
    Char16 szBuf[2] = {};
    auto traceStep = [&](uint32_t i) {
        TraceLine("[msg]:ParsePhoneNo(), i=[").Dec(i).Add("], pszPhoneNo=[").Add(szPhoneNo)
            .Add("], szBuf=[").Add(szBuf).Add("].").Write();
    };
    for (uint32_t i = 0; i < nBcd; ++i) {
        BCDToChar(pBCD[i] & 0x0F, szBuf);
        if (szBuf[0] != '?') AppendChar(szPhoneNo, kPhoneNoChars, szBuf);
        traceStep(i);
        if ((pBCD[i] >> 4) != 0x0F) {
            BCDToChar(static_cast<uint8_t>(pBCD[i] >> 4), szBuf);
            if (szBuf[0] != '?') AppendChar(szPhoneNo, kPhoneNoChars, szBuf);
        }
        traceStep(i);
    }

    if (pNo) Copy16(pNo, szPhoneNo);
    TraceLine("[msg]:ParsePhoneNo(), pszPhoneNo=[").Add(szPhoneNo).Add("].").Write();
    return true;
}

uint32_t NumberDigitCount(const Char16* pNo) {
    uint32_t n = 0;
    for (const Char16* p = pNo; p && *p; ++p)
        if (*p != '+') ++n;
    return n;
}

bool KeepRecordLabel(uint8_t* pRecord, const uint8_t* pOld, uint32_t dwTotalRecLen) {
    if (!pRecord || !pOld || !IsRecordLength(dwTotalRecLen)) return false;
    const uint8_t cbOffset = FixedPartOffset(dwTotalRecLen);
    memcpy(pRecord, pOld, cbOffset);
    pRecord[dwTotalRecLen - 2] = pOld[dwTotalRecLen - 2];
    pRecord[dwTotalRecLen - 1] = pOld[dwTotalRecLen - 1];
    return true;
}

bool BuildRecord(uint8_t* pData, Char16* pNo, uint32_t dwTotalRecLen) {
    TraceLine("[msg]:BuildRecord(), pData=[0x").Hex(TraceAddr(pData)).Add("], pNo=[").Add(TraceText(pNo))
        .Add("], dwTotalRecLen=[").Dec(dwTotalRecLen).Add("].").Write();
    if (!pData || !pNo) {
        TraceLine("[err]:BuildRecord(), return FALSE.").Write();
        return false;
    }
    // Below 14 bytes there is no fixed part to write, and above 255 the
    // length did not come from a SIM; either way the file is not ours to touch.
    if (!IsRecordLength(dwTotalRecLen)) {
        TraceLine("[err]:BuildRecord(), dwTotalRecLen=[").Dec(dwTotalRecLen).Add("] holds no number, return FALSE.")
            .Write();
        return false;
    }
    // Ten BCD bytes hold twenty digits; a longer number would spill into the
    // capability and extension bytes or past the record, so it is refused
    // before the text or the record is changed.
    uint32_t dwDigits = NumberDigitCount(pNo);
    if (dwDigits > kNumberMaxDigits) {
        TraceLine("[err]:BuildRecord(), dwLen=[").Dec(dwDigits).Add("] is more than ").Dec(kNumberMaxDigits)
            .Add(" digits, return FALSE.").Write();
        return false;
    }

    bool bPlus = RemovePlusAndChangeW(pNo);
    TraceLine("[msg]:BuildRecord(), bPlus=[").Dec(bPlus ? 1 : 0).Add("].").Write();
    uint32_t dwLen = static_cast<uint32_t>(Len16(pNo));
    TraceLine("[msg]:BuildRecord(), dwLen=[").Dec(dwLen).Add("].").Write();
    // The caller filled the record with 0xFF: an empty number is an erased
    // record, and a lone "+" is not put back.
    if (dwLen == 0) return true;

    memset(pData, 0xFF, dwTotalRecLen);
    TraceLine("[msg]:BuildRecord(), dwTotalRecLen=[").Dec(dwTotalRecLen).Add("].").Write();
    uint8_t cbOffset = FixedPartOffset(dwTotalRecLen);
    TraceLine("[msg]:BuildRecord(), cbOffset=[0x").Hex(cbOffset).Add("].").Write();

    pData[cbOffset] = static_cast<uint8_t>(dwLen / 2 + 1 + (dwLen % 2));
    TraceLine("[msg]:BuildRecord() After Offset, pData=.").Write();
    DumpHex(pData, dwTotalRecLen);

    pData[cbOffset + 1] = bPlus ? kTonNpiInternational : kTonNpiUnknown;
    TraceLine("[msg]:BuildRecord() After Plus, pData=.").Write();
    DumpHex(pData, dwTotalRecLen);

    uint8_t* pBCD = pData + cbOffset + 2;
    for (uint32_t i = 0; i < dwLen; ++i) {
        Char16 szNo[2] = {pNo[i], 0};
        TraceLine("[msg]:BuildRecord() i=[").Dec(i).Add("], szNo=[").Add(szNo).Add("].").Write();
        uint8_t bNibble = CharToBCD(szNo);
        uint8_t& b = pBCD[i / 2];
        b = (i % 2 == 0) ? static_cast<uint8_t>((b & 0xF0) | bNibble)
                         : static_cast<uint8_t>((b & 0x0F) | (bNibble << 4));
    }
    TraceLine("[msg]:BuildRecord() After BCD, pData=.").Write();
    DumpHex(pData, dwTotalRecLen);

    // One "+" in front again. The text held at least one "+" before, so
    // there is room for it in the caller's buffer.
    if (bPlus) {
        std::char_traits<Char16>::move(pNo + 1, pNo, dwLen + 1);
        pNo[0] = '+';
    }

    TraceLine("[msg]:BuildRecord(), pData=[0x").Hex(TraceAddr(pData)).Add("], pNo=[").Add(pNo)
        .Add("], dwTotalRecLen=[").Dec(dwTotalRecLen).Add("].").Write();
    TraceLine("[msg]:BuildRecord(), Final. pData=.").Write();
    DumpHex(pData, dwTotalRecLen);
    return true;
}
