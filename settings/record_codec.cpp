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

#include <cwchar>

#include "shell/trace.h"

namespace {

constexpr BYTE kTonNpiInternational = 0x91;  // TON international, NPI ISDN/E.164
constexpr BYTE kTonNpiUnknown = 0x81;        // TON unknown, NPI ISDN/E.164
constexpr DWORD kBcdBytes = 10;

// Addresses go to the trace as 32-bit hex, as on the device.
unsigned TraceAddr(const void* p) { return static_cast<unsigned>(reinterpret_cast<UINT_PTR>(p)); }
LPCWSTR TraceText(LPCWSTR s) { return s ? s : L""; }

// Offset of the fixed part, computed in 8 bits as the device does; only
// meaningful for record lengths of 14 to 255, which callers check first.
BYTE FixedPartOffset(DWORD dwTotalRecLen) { return static_cast<BYTE>(dwTotalRecLen + 242); }

bool IsRecordLength(DWORD dwTotalRecLen) {
    return dwTotalRecLen >= kRecordFixedPart && dwTotalRecLen <= kRecordMaxLen;
}

void SetEmpty(LPWSTR pNo) {
    if (pNo) pNo[0] = L'\0';
}

void AppendChar(LPWSTR text, DWORD cchText, LPCWSTR szChar) {
    size_t len = wcslen(text);
    if (len + 1 < cchText) {
        text[len] = szChar[0];
        text[len + 1] = L'\0';
    }
}

}  // namespace

bool RecordInAnswer(DWORD cbData, DWORD dwTotalRecLen) {
    return IsRecordLength(dwTotalRecLen) && cbData >= kSimResponseHeader &&
           cbData - kSimResponseHeader >= dwTotalRecLen;
}

LPWSTR BCDToChar(BYTE bNibble, LPWSTR szBuf) {
    if (!szBuf) return szBuf;
    WCHAR c = L'?';
    if (bNibble <= 9)
        c = static_cast<WCHAR>(L'0' + bNibble);
    else if (bNibble == 0xA)
        c = L'*';
    else if (bNibble == 0xB)
        c = L'#';
    else if (bNibble == 0xC)
        c = L'p';  // DTMF control digit separator (pause)
    szBuf[0] = c;
    szBuf[1] = L'\0';
    return szBuf;
}

BYTE CharToBCD(LPCWSTR szChar) {
    WCHAR c = szChar ? szChar[0] : L'\0';
    if (c >= L'0' && c <= L'9') return static_cast<BYTE>(c - L'0');
    switch (c) {
    case L'*': return 0xA;
    case L'#': return 0xB;
    case L'P':
    case L'p':
    case L'W':
    case L'w': return 0xC;
    default: return 0xD;
    }
}

bool RemovePlusAndChangeW(LPWSTR pNo) {
    WriteTrace(L"[msg]:RemovePlusAndChangeW(), pNo=[%s].", TraceText(pNo));
    bool bPlus = false;
    if (pNo) {
        // The text only shrinks, so it is rewritten in place: no work buffer
        // to overrun whatever the caller's text length.
        LPWSTR out = pNo;
        for (LPCWSTR in = pNo; *in; ++in) {
            if (*in == L'+') {
                bPlus = true;
                continue;
            }
            *out++ = (*in == L'W' || *in == L'w') ? L'p' : *in;
        }
        *out = L'\0';
    }
    WriteTrace(L"[msg]:RemovePlusAndChangeW(), pNo=[%s].", TraceText(pNo));
    return bPlus;
}

void DumpHex(const BYTE* pData, DWORD cbData) {
    if (!pData || cbData == 0) {
        WriteTrace(L"  { NULL }\r\n");
        return;
    }
    const size_t cchText = (static_cast<size_t>(cbData) + 2) * 4;
    LPWSTR text = static_cast<LPWSTR>(LocalAlloc(LPTR, cchText * sizeof(WCHAR)));
    if (!text) {
        WriteTrace(L"## DumpHex(), LocalAlloc() Fail.\r\n");
        return;
    }
    size_t len = 0;
    auto append = [&](LPCWSTR fmt, unsigned v) {
        int n = _snwprintf(text + len, cchText - len - 1, fmt, v);
        if (n > 0) len += static_cast<size_t>(n);
    };
    for (DWORD i = 0; i < cbData; ++i) {
        if (i % 8 == 0) append(L"  ", 0);
        append(L"%02X,", pData[i]);
        if (i % 8 == 7) append(L"\r\n", 0);
    }
    append(L"\r\n", 0);
    text[len] = L'\0';
    WriteTrace(L"%s", text);
    LocalFree(text);
}

bool ParsePhoneNo(const BYTE* pData, DWORD cbData, LPWSTR pNo, DWORD dwTotalRecLen,
                  DWORD dwNoMaxLen) {
    WriteTrace(L"[msg]:ParsePhoneNo(), pNo=[%s], dwTotalRecLen=[%ld], dwNoMaxLen=[%ld].",
               TraceText(pNo), dwTotalRecLen, dwNoMaxLen);

    // Nothing is read outside the record, and the record must lie wholly
    // inside the answer we were given.
    if (!pData) {
        WriteTrace(L"[err]:ParsePhoneNo(), no answer, pszPhoneNo=[].");
        SetEmpty(pNo);
        return true;
    }
    if (!IsRecordLength(dwTotalRecLen)) {
        WriteTrace(L"[err]:ParsePhoneNo(), dwTotalRecLen=[%ld] is no mailbox record, pszPhoneNo=[].",
                   dwTotalRecLen);
        SetEmpty(pNo);
        return true;
    }
    if (!RecordInAnswer(cbData, dwTotalRecLen)) {
        WriteTrace(L"[err]:ParsePhoneNo(), cbData=[%ld] ends before the record, pszPhoneNo=[].",
                   cbData);
        SetEmpty(pNo);
        return true;
    }
    const BYTE* pRecord = pData + kSimResponseHeader;

    BYTE cbOffset = FixedPartOffset(dwTotalRecLen);
    WriteTrace(L"[msg]:ParsePhoneNo(), cbOffset=[%d].", cbOffset);
    BYTE cbLen = pRecord[cbOffset];
    WriteTrace(L"[msg]:ParsePhoneNo(), cbLen=[%d].", cbLen);

    // 0xFF is an erased record; 0 and 1 leave no BCD byte after TON/NPI.
    if (cbLen == 0xFF || cbLen == 0 || cbLen == 1) {
        SetEmpty(pNo);
        return true;
    }

    bool bPlus = pRecord[cbOffset + 1] == kTonNpiInternational;
    WriteTrace(L"[msg]:ParsePhoneNo(), bPlus=[%d].", bPlus ? 1 : 0);

    WCHAR szPhoneNo[kPhoneNoChars] = {};
    // Never more BCD bytes than the record's ten, whatever limit is passed.
    DWORD dwLimit = (dwNoMaxLen < kNumberMaxDigits ? dwNoMaxLen : kNumberMaxDigits) / 2 + 1;
    if (cbLen > dwLimit) cbLen = static_cast<BYTE>(dwLimit);

    if (bPlus) AppendChar(szPhoneNo, kPhoneNoChars, L"+");
    WriteTrace(L"[msg]:ParsePhoneNo(), pszPhoneNo=[%s].", szPhoneNo);

    const DWORD nBcd = cbLen > 1 ? cbLen - 1u : 0u;
    BYTE pBCD[kBcdBytes] = {};
    memcpy(pBCD, pRecord + cbOffset + 2, nBcd);
    WriteTrace(L"[msg]:ParsePhoneNo(), pBCD=[0x%x].", TraceAddr(pBCD));

    // An unused nibble (0xF, or the undefined 0xD and 0xE) does not end the
    // number: it is skipped and the length byte alone says where it stops.
    WCHAR szBuf[2] = {};
    for (DWORD i = 0; i < nBcd; ++i) {
        BCDToChar(pBCD[i] & 0x0F, szBuf);
        if (szBuf[0] != L'?') AppendChar(szPhoneNo, kPhoneNoChars, szBuf);
        WriteTrace(L"[msg]:ParsePhoneNo(), i=[%d], pszPhoneNo=[%s], szBuf=[%s].", i, szPhoneNo,
                   szBuf);
        if ((pBCD[i] >> 4) != 0x0F) {
            BCDToChar(static_cast<BYTE>(pBCD[i] >> 4), szBuf);
            if (szBuf[0] != L'?') AppendChar(szPhoneNo, kPhoneNoChars, szBuf);
        }
        WriteTrace(L"[msg]:ParsePhoneNo(), i=[%d], pszPhoneNo=[%s], szBuf=[%s].", i, szPhoneNo,
                   szBuf);
    }

    if (pNo) wcscpy(pNo, szPhoneNo);
    WriteTrace(L"[msg]:ParsePhoneNo(), pszPhoneNo=[%s].", szPhoneNo);
    return true;
}

DWORD NumberDigitCount(LPCWSTR pNo) {
    DWORD n = 0;
    for (LPCWSTR p = pNo; p && *p; ++p)
        if (*p != L'+') ++n;
    return n;
}

bool BuildRecord(BYTE* pData, LPWSTR pNo, DWORD dwTotalRecLen) {
    WriteTrace(L"[msg]:BuildRecord(), pData=[0x%x], pNo=[%s], dwTotalRecLen=[%ld].",
               TraceAddr(pData), TraceText(pNo), dwTotalRecLen);
    if (!pData || !pNo) {
        WriteTrace(L"[err]:BuildRecord(), return FALSE.");
        return false;
    }
    // Below 14 bytes there is no fixed part to write, and above 255 the
    // length did not come from a SIM; either way the file is not ours to touch.
    if (!IsRecordLength(dwTotalRecLen)) {
        WriteTrace(L"[err]:BuildRecord(), dwTotalRecLen=[%ld] holds no number, return FALSE.",
                   dwTotalRecLen);
        return false;
    }
    // Ten BCD bytes hold twenty digits; a longer number would spill into the
    // capability and extension bytes or past the record, so it is refused
    // before the text or the record is changed.
    DWORD dwDigits = NumberDigitCount(pNo);
    if (dwDigits > kNumberMaxDigits) {
        WriteTrace(L"[err]:BuildRecord(), dwLen=[%ld] is more than %ld digits, return FALSE.",
                   dwDigits, kNumberMaxDigits);
        return false;
    }

    bool bPlus = RemovePlusAndChangeW(pNo);
    WriteTrace(L"[msg]:BuildRecord(), bPlus=[%ld].", bPlus ? 1L : 0L);
    DWORD dwLen = static_cast<DWORD>(wcslen(pNo));
    WriteTrace(L"[msg]:BuildRecord(), dwLen=[%ld].", dwLen);
    // The caller filled the record with 0xFF: an empty number is an erased
    // record, and a lone "+" is not put back.
    if (dwLen == 0) return true;

    memset(pData, 0xFF, dwTotalRecLen);
    WriteTrace(L"[msg]:BuildRecord(), dwTotalRecLen=[%ld].", dwTotalRecLen);
    BYTE cbOffset = FixedPartOffset(dwTotalRecLen);
    WriteTrace(L"[msg]:BuildRecord(), cbOffset=[0x%x].", cbOffset);

    pData[cbOffset] = static_cast<BYTE>(dwLen / 2 + 1 + (dwLen % 2));
    WriteTrace(L"[msg]:BuildRecord() After Offset, pData=.");
    DumpHex(pData, dwTotalRecLen);

    pData[cbOffset + 1] = bPlus ? kTonNpiInternational : kTonNpiUnknown;
    WriteTrace(L"[msg]:BuildRecord() After Plus, pData=.");
    DumpHex(pData, dwTotalRecLen);

    BYTE* pBCD = pData + cbOffset + 2;
    for (DWORD i = 0; i < dwLen; ++i) {
        WCHAR szNo[2] = {pNo[i], L'\0'};
        WriteTrace(L"[msg]:BuildRecord() i=[%ld], szNo=[%s].", i, szNo);
        BYTE bNibble = CharToBCD(szNo);
        BYTE& b = pBCD[i / 2];
        b = (i % 2 == 0) ? static_cast<BYTE>((b & 0xF0) | bNibble)
                         : static_cast<BYTE>((b & 0x0F) | (bNibble << 4));
    }
    WriteTrace(L"[msg]:BuildRecord() After BCD, pData=.");
    DumpHex(pData, dwTotalRecLen);

    // One "+" in front again. The text held at least one "+" before, so
    // there is room for it in the caller's buffer.
    if (bPlus) {
        memmove(pNo + 1, pNo, (dwLen + 1) * sizeof(WCHAR));
        pNo[0] = L'+';
    }

    WriteTrace(L"[msg]:BuildRecord(), pData=[0x%x], pNo=[%s], dwTotalRecLen=[%ld].",
               TraceAddr(pData), pNo, dwTotalRecLen);
    WriteTrace(L"[msg]:BuildRecord(), Final. pData=.");
    DumpHex(pData, dwTotalRecLen);
    return true;
}
