// simcard: shows and edits the mailbox numbers of a simulated SIM card file
// with the program's own record codec, so a hand-kept card holds exactly
// what the settings screen would have saved.
//
//   simcard show CARD
//   simcard set-mailbox CARD FILEID NUMBER
#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "platform/base/debug_out.h"
#include "platform/modem/sim_card_file.h"
#include "settings/record_codec.h"

namespace {

// Exit codes (also in docs/simcard-tool.md).
enum Exit {
    kExitOk = 0,
    kExitUsage = 1,
    kExitNoCard = 2,      // missing or malformed card file
    kExitNoFile = 3,      // the mailbox file or its record 1 is not on the card
    kExitRefused = 4,     // the number cannot be saved into the record
    kExitWriteFailed = 5,
};

const WORD kMailboxFiles[] = {0x6F17, 0x6FC7};  // CPHS mailbox numbers, EF_MBDN
constexpr int kMailboxRecord = 1;
constexpr size_t kTextUnits = 260;  // the settings' text buffers

void Out(FILE* f, const std::wstring& text) {
    int n = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    if (n <= 1) return;
    std::string utf8(static_cast<size_t>(n - 1), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, utf8.data(), n, nullptr, nullptr);
    fputs(utf8.c_str(), f);
    fputs("\n", f);
}

std::wstring Widen(const std::string& s) {
    int n = MultiByteToWideChar(CP_UTF8, 0, s.c_str(), -1, nullptr, 0);
    if (n <= 1) return std::wstring();
    std::wstring w(static_cast<size_t>(n - 1), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, s.c_str(), -1, w.data(), n);
    return w;
}

std::wstring FileName(WORD wFileId) {
    wchar_t buf[8];
    swprintf(buf, 8, L"%04X", wFileId);
    return buf;
}

int Usage() {
    Out(stderr, L"usage: simcard show CARD\n"
                L"       simcard set-mailbox CARD FILEID NUMBER\n"
                L"FILEID is 6F17 (CPHS) or 6FC7 (EF_MBDN); an empty NUMBER erases the record.");
    return kExitUsage;
}

int LoadCard(const std::wstring& path, SimCard* pCard) {
    std::string error;
    switch (LoadSimCard(path, pCard, &error)) {
    case SimCardLoad::Ok: return kExitOk;
    case SimCardLoad::Missing:
        Out(stderr, L"simcard: " + path + L": " + Widen(error));
        return kExitNoCard;
    case SimCardLoad::Malformed:
    default:
        Out(stderr, L"simcard: " + path + L" is not a SIM card file: " + Widen(error));
        return kExitNoCard;
    }
}

// Record 1 as READ RECORD would answer it, decoded as the settings read it.
std::wstring DecodeRecord(const SimCardFile& file) {
    if (file.cbRecordLength < kRecordFixedPart)
        return L"(record length " + std::to_wstring(file.cbRecordLength) + L" holds no number)";
    std::vector<BYTE> record = SimRecord(file, kMailboxRecord);
    std::vector<BYTE> answer(kSimResponseHeader + record.size(), 0);
    DWORD cbAnswer = static_cast<DWORD>(answer.size());
    memcpy(answer.data(), &cbAnswer, sizeof cbAnswer);
    answer[8] = 0x90;  // status word 90 00
    memcpy(answer.data() + kSimResponseHeader, record.data(), record.size());
    WCHAR szNo[kPhoneNoChars] = {};
    ParsePhoneNo(answer.data(), cbAnswer, szNo, file.cbRecordLength, kNumberMaxDigits);
    return szNo[0] ? std::wstring(szNo) : std::wstring(L"(empty)");
}

int Show(const std::wstring& path) {
    SimCard card;
    if (int rc = LoadCard(path, &card)) return rc;
    Out(stdout, L"SMSC " + (card.smscAddress.empty() ? std::wstring(L"(none)") : Widen(card.smscAddress)) +
                    L" (type " + std::to_wstring(card.nSmscType) + L")");
    for (WORD id : kMailboxFiles) {
        const SimCardFile* file = FindSimFile(card, id);
        if (file) Out(stdout, FileName(id) + L"." + std::to_wstring(kMailboxRecord) + L" " + DecodeRecord(*file));
    }
    return kExitOk;
}

bool ParseFileId(const std::wstring& text, WORD* pId) {
    std::wstring t = text;
    if (t.size() > 2 && t[0] == L'0' && (t[1] == L'x' || t[1] == L'X')) t = t.substr(2);
    if (t.empty() || t.size() > 4) return false;
    unsigned v = 0;
    for (wchar_t c : t) {
        unsigned d;
        if (c >= L'0' && c <= L'9') d = c - L'0';
        else if (c >= L'a' && c <= L'f') d = c - L'a' + 10;
        else if (c >= L'A' && c <= L'F') d = c - L'A' + 10;
        else return false;
        v = v * 16 + d;
    }
    *pId = static_cast<WORD>(v);
    return true;
}

int SetMailbox(const std::wstring& path, const std::wstring& fileId, const std::wstring& number) {
    WORD id = 0;
    if (!ParseFileId(fileId, &id) || (id != kMailboxFiles[0] && id != kMailboxFiles[1])) {
        Out(stderr, L"simcard: " + fileId + L" is not a mailbox file (6F17 or 6FC7)");
        return kExitUsage;
    }
    if (number.size() >= kTextUnits) {
        Out(stderr, L"simcard: the number is longer than the settings' text of 259 characters");
        return kExitRefused;
    }

    // Read, change and write under the card lock, as the modem does; a lock
    // held elsewhere is waited for a moment, never broken.
    SimCardLock lock;
    if (!lock.Held()) {
        Out(stderr, L"simcard: " + path + L" is locked by another writer; it is unchanged");
        return kExitWriteFailed;
    }
    SimCard card;
    if (int rc = LoadCard(path, &card)) return rc;
    const SimCardFile* file = FindSimFile(card, id);
    if (!file) {
        Out(stderr, L"simcard: the card has no file " + FileName(id));
        return kExitNoFile;
    }
    const DWORD dwRecLen = file->cbRecordLength;
    if (dwRecLen < kRecordFixedPart) {
        Out(stderr, L"simcard: file " + FileName(id) + L" has records of " + std::to_wstring(dwRecLen) +
                        L" bytes, too short for a mailbox number (at least 14)");
        return kExitRefused;
    }
    DWORD dwDigits = 0;
    for (wchar_t c : number)
        if (c != L'+') ++dwDigits;
    if (dwDigits > kNumberMaxDigits) {
        Out(stderr, L"simcard: " + number + L" has " + std::to_wstring(dwDigits) +
                        L" characters besides \"+\"; a mailbox record holds at most 20");
        return kExitRefused;
    }

    // Exactly as saving does: the number built into a record of 0xFF, then
    // the label and the identifiers behind the number kept from the card.
    const std::vector<BYTE> held = SimRecord(*file, kMailboxRecord);
    std::vector<BYTE> record(dwRecLen, 0xFF);
    WCHAR szNo[kTextUnits] = {};
    wcscpy(szNo, number.c_str());
    if (!BuildRecord(record.data(), szNo, dwRecLen) || !KeepRecordLabel(record.data(), held.data(), dwRecLen)) {
        Out(stderr, L"simcard: " + number + L" cannot be put into the record");
        return kExitRefused;
    }
    if (!SetSimRecord(&card, id, kMailboxRecord, record)) {
        Out(stderr, L"simcard: file " + FileName(id) + L" has no record 1");
        return kExitNoFile;
    }
    if (!SaveSimCard(path, card)) {
        Out(stderr, L"simcard: " + path + L" could not be written; it is unchanged");
        return kExitWriteFailed;
    }
    Out(stdout, FileName(id) + L"." + std::to_wstring(kMailboxRecord) + L" " +
                    (szNo[0] ? std::wstring(szNo) : std::wstring(L"(empty)")));
    return kExitOk;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    // Plain LF lines: the tool is mostly run under Wine from a Linux shell.
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
    // The codec's trace is for the program's debug channel, not this console.
    wchar_t v[4] = {};
    SetDebugOutToStderr(GetEnvironmentVariableW(L"QX_TRACE", v, 4) == 1 && v[0] == L'1');

    if (argc == 3 && wcscmp(argv[1], L"show") == 0) return Show(argv[2]);
    if (argc == 5 && wcscmp(argv[1], L"set-mailbox") == 0) return SetMailbox(argv[2], argv[3], argv[4]);
    return Usage();
}
