// The simulated modem's command interpreter: AT, ATE, +CFUN, +CPIN, +CSCA, +CRSM.
#include "platform/modem/sim_modem.h"

#include <memory>
#include <vector>

#include "platform/debug_out.h"
#include "platform/device_root.h"
#include "platform/modem/hex_text.h"
#include "platform/modem/sim_card.h"

struct SimModem::Reply {
    std::vector<std::string> info;
    std::string final = "OK";
};

namespace {

// TS 27.007 9.2 / TS 27.005 3.2.5 error numbers the modem gives.
const char kNoSim[] = "+CME ERROR: 10";
const char kBadParam[] = "+CME ERROR: 50";
const char kNotSupported[] = "+CME ERROR: 4";
const char kPhoneFailure[] = "+CME ERROR: 0";
const char kSmsBadParam[] = "+CMS ERROR: 304";
const char kSmsUnknown[] = "+CMS ERROR: 500";

std::string Upper(std::string s) {
    for (auto& c : s)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return s;
}

std::string Framed(const std::string& line) { return "\r\n" + line + "\r\n"; }

std::vector<std::string> SplitArgs(const std::string& s) {
    std::vector<std::string> args;
    std::string cur;
    bool quoted = false;
    for (char c : s) {
        if (c == '"') quoted = !quoted;
        if (c == ',' && !quoted) {
            args.push_back(TrimBlanks(cur));
            cur.clear();
        } else {
            cur += c;
        }
    }
    args.push_back(TrimBlanks(cur));
    return args;
}

bool ToInt(const std::string& s, int max, int* pValue) {
    if (s.empty() || s.size() > 6) return false;
    int v = 0;
    for (char c : s) {
        if (c < '0' || c > '9') return false;
        v = v * 10 + (c - '0');
    }
    if (v > max) return false;
    *pValue = v;
    return true;
}

std::string Unquote(const std::string& s, bool* pQuoted) {
    bool q = s.size() >= 2 && s.front() == '"' && s.back() == '"';
    if (pQuoted) *pQuoted = q;
    return q ? s.substr(1, s.size() - 2) : s;
}

std::string CrsmLine(int sw1, int sw2, const std::vector<BYTE>& data = {}) {
    std::string line = "+CRSM: " + std::to_string(sw1) + "," + std::to_string(sw2);
    if (!data.empty()) line += ",\"" + HexEncode(data) + "\"";
    return line;
}

// TS 51.011 9.2.1: the response to SELECT / GET RESPONSE of an EF.
std::vector<BYTE> GsmResponse(const SimCardFile& f) {
    unsigned size = f.cbRecordLength * f.cRecords;
    return {0x00, 0x00, static_cast<BYTE>(size >> 8), static_cast<BYTE>(size),
            static_cast<BYTE>(f.wFileId >> 8), static_cast<BYTE>(f.wFileId),
            0x04, 0x00, 0x11, 0x00, 0x44, 0x01, 0x02, 0x01, f.cbRecordLength};
}

// TS 102.221 11.1.1.3: the FCP template of a linear fixed EF.
std::vector<BYTE> UsimResponse(const SimCardFile& f) {
    unsigned size = f.cbRecordLength * f.cRecords;
    std::vector<BYTE> body = {
        0x82, 0x05, 0x42, 0x21, 0x00, f.cbRecordLength, f.cRecords,
        0x83, 0x02, static_cast<BYTE>(f.wFileId >> 8), static_cast<BYTE>(f.wFileId),
        0x8A, 0x01, 0x05,
        0x8B, 0x03, 0x6F, 0x06, 0x01,
        0x80, 0x02, static_cast<BYTE>(size >> 8), static_cast<BYTE>(size),
    };
    std::vector<BYTE> fcp = {0x62, static_cast<BYTE>(body.size())};
    fcp.insert(fcp.end(), body.begin(), body.end());
    return fcp;
}

SimCardLoad ReadCard(const std::wstring& path, SimCard* card) {
    if (path.empty()) return SimCardLoad::Missing;
    std::string error;
    SimCardLoad r = LoadSimCard(path, card, &error);
    if (r != SimCardLoad::Ok) {
        std::wstring why(error.begin(), error.end());
        NKDbgPrintfW(L"[modem]: no SIM: %s: %s.\r\n", path.c_str(), why.c_str());
    }
    return r;
}

bool SameStamp(const WIN32_FILE_ATTRIBUTE_DATA& a, const WIN32_FILE_ATTRIBUTE_DATA& b) {
    return CompareFileTime(&a.ftLastWriteTime, &b.ftLastWriteTime) == 0 &&
           a.nFileSizeHigh == b.nFileSizeHigh && a.nFileSizeLow == b.nFileSizeLow;
}

// A card read is kept only when its file was last written well before now:
// any later write then carries a later time, even on a file system that
// keeps times to 2 s (FAT), so an unchanged time stamp means an unchanged
// card. A card written just now is read again at each command.
bool AtRest(const FILETIME& ftWrite) {
    const ULONGLONG kRest = 3ULL * 10000000;  // 3 s in 100 ns units
    FILETIME ftNow;
    GetSystemTimeAsFileTime(&ftNow);
    ULONGLONG now = ULARGE_INTEGER{{ftNow.dwLowDateTime, ftNow.dwHighDateTime}}.QuadPart;
    ULONGLONG written = ULARGE_INTEGER{{ftWrite.dwLowDateTime, ftWrite.dwHighDateTime}}.QuadPart;
    return written + kRest < now;
}

}  // namespace

SimModem::SimModem(std::wstring cardPath) : m_cardPath(std::move(cardPath)) {}

std::string SimModem::Answer(const std::string& raw) {
    if (m_faults.bSilent) return std::string();
    std::string out;
    if (m_bEcho || m_faults.bEcho) out += raw + "\r";
    std::string line = TrimBlanks(raw);
    if (line.size() < 2 || Upper(line.substr(0, 2)) != "AT") return out;
    if (m_faults.bNoise) out += Framed("RING") + Framed("\x01\x7F~#!garbage");
    Reply r;
    if (m_faults.bError) r.final = "ERROR";
    else r = Execute(line.substr(2));
    for (const auto& info : r.info) out += Framed(info);
    if (m_faults.bNoise) out += Framed("+CREG: 1");
    out += Framed(r.final);
    return out;
}

SimModem::Reply SimModem::Execute(const std::string& body) {
    std::string u = Upper(body);
    Reply r;
    if (u.empty() || u == "Z" || u == "&F" || u == "V1" || u == "Q0" || u.rfind("+CMEE=", 0) == 0)
        return r;
    if (u == "E0" || u == "E" || u == "E1") {
        m_bEcho = (u == "E1");
        return r;
    }
    if (u == "$QUIT") {
        m_bQuit = true;
        return r;
    }
    if (u == "+CPIN?") {
        if (!Card()) r.final = kNoSim;
        else r.info.push_back("+CPIN: READY");
        return r;
    }
    if (u.rfind("+CFUN", 0) == 0) return Cfun(body.substr(5));
    if (u.rfind("+CSCA", 0) == 0) return Csca(body.substr(5));
    if (u.rfind("+CRSM=", 0) == 0) return Crsm(body.substr(6));
    r.final = "ERROR";
    return r;
}

SimModem::Reply SimModem::Cfun(const std::string& args) {
    Reply r;
    if (args == "?") {
        const SimCard* card = Card();
        r.info.push_back("+CFUN: " + std::to_string(card ? card->nCfun : m_nCfunNoCard));
        return r;
    }
    if (args == "=?") {
        r.info.push_back("+CFUN: (0,1,4),(0,1)");
        return r;
    }
    std::vector<std::string> a = SplitArgs(args.size() > 1 ? args.substr(1) : std::string());
    int fun = -1, rst = 0;
    if (args.empty() || args[0] != '=' || a.size() > 2 || !ToInt(a[0], 255, &fun) ||
        (a.size() == 2 && !ToInt(a[1], 1, &rst))) {
        r.final = kBadParam;
        return r;
    }
    if (fun != 0 && fun != 1 && fun != 4) {
        r.final = kNotSupported;
        return r;
    }
    SimCardLock lock;  // read, change and save as one
    const SimCard* current = Card();
    if (!current) {
        // Without a card there is nothing to keep the state in but this modem.
        m_nCfunNoCard = fun;
        return r;
    }
    SimCard card = *current;
    SetSimRadio(&card, fun);
    if (!SaveSimCard(m_cardPath, card)) r.final = kPhoneFailure;
    m_bCardKept = false;
    return r;
}

SimModem::Reply SimModem::Csca(const std::string& args) {
    Reply r;
    if (args == "=?") return r;
    if (args == "?") {
        const SimCard* card = Card();
        if (!card) r.final = kNoSim;
        else r.info.push_back("+CSCA: \"" + card->smscAddress + "\"," + std::to_string(card->nSmscType));
        return r;
    }
    SimCardLock lock;
    const SimCard* current = Card();
    if (!current) {
        r.final = kNoSim;
        return r;
    }
    if (args.empty() || args[0] != '=') {
        r.final = "ERROR";
        return r;
    }
    std::vector<std::string> a = SplitArgs(args.substr(1));
    bool quoted = false;
    std::string address = Unquote(a[0], &quoted);
    int type = (!address.empty() && address[0] == '+') ? 145 : 129;
    if (!quoted || a.size() > 2 || !IsSimSmscAddress(address) ||
        (a.size() == 2 && !ToInt(a[1], 255, &type))) {
        r.final = kSmsBadParam;
        return r;
    }
    SimCard card = *current;
    SetSimSmsc(&card, address, type);
    if (!SaveSimCard(m_cardPath, card)) r.final = kSmsUnknown;
    m_bCardKept = false;
    return r;
}

SimModem::Reply SimModem::Crsm(const std::string& args) {
    Reply r;
    std::vector<std::string> a = SplitArgs(args);
    int cmd = 0, fileId = 0, p1 = 0, p2 = 0, p3 = 0;
    bool ok = ToInt(a[0], 255, &cmd) && a.size() >= 2 && a.size() <= 7 &&
              ToInt(a[1], 0xFFFF, &fileId);
    if (ok && a.size() >= 3)
        ok = a.size() >= 5 && ToInt(a[2], 255, &p1) && ToInt(a[3], 255, &p2) && ToInt(a[4], 255, &p3);
    std::vector<BYTE> data;
    if (ok && a.size() >= 6) ok = HexDecode(Unquote(a[5], nullptr), false, &data);
    if (!ok) {
        r.final = kBadParam;
        return r;
    }
    // An update reads, changes and saves the card as one.
    std::unique_ptr<SimCardLock> lock;
    if (cmd == 220) lock = std::make_unique<SimCardLock>();
    const SimCard* current = Card();
    if (!current) {
        r.final = kNoSim;
        return r;
    }
    const SimCard& card = *current;
    const SimCardFile* file = FindSimFile(card, static_cast<WORD>(fileId));
    // Status words of TS 51.011 9.4 (2G) and TS 102.221 10.2.1 (USIM).
    if (cmd != 178 && cmd != 192 && cmd != 220) {
        r.info.push_back(CrsmLine(0x6D, 0x00));
        return r;
    }
    if (!file) {
        r.info.push_back(card.bUsim ? CrsmLine(0x6A, 0x82) : CrsmLine(0x94, 0x04));
        return r;
    }
    if (cmd == 192) {
        r.info.push_back(CrsmLine(0x90, 0x00, card.bUsim ? UsimResponse(*file) : GsmResponse(*file)));
        return r;
    }
    if (p2 != 4) {
        r.info.push_back(CrsmLine(0x6B, 0x00));
        return r;
    }
    if (p1 < 1 || p1 > file->cRecords) {
        r.info.push_back(CrsmLine(0x6A, 0x83));
        return r;
    }
    if (p3 != file->cbRecordLength || (cmd == 220 && data.size() != file->cbRecordLength)) {
        r.info.push_back(CrsmLine(0x67, 0x00));
        return r;
    }
    if (cmd == 178) {
        r.info.push_back(CrsmLine(0x90, 0x00, SimRecord(*file, p1)));
        return r;
    }
    SimCard updated = card;
    SetSimRecord(&updated, static_cast<WORD>(fileId), p1, data);
    // 65 81: memory problem, the update did not reach the card.
    r.info.push_back(SaveSimCard(m_cardPath, updated) ? CrsmLine(0x90, 0x00) : CrsmLine(0x65, 0x81));
    m_bCardKept = false;
    return r;
}

const SimCard* SimModem::Card() {
    WIN32_FILE_ATTRIBUTE_DATA now = {};
    bool stamped = !m_cardPath.empty() &&
                   GetFileAttributesExW(m_cardPath.c_str(), GetFileExInfoStandard, &now);
    if (m_bCardKept && stamped && SameStamp(now, m_cardStamp)) return &m_card;
    m_bCardKept = false;
    SimCard fresh;
    {
        SimCardLock lock;
        if (ReadCard(m_cardPath, &fresh) != SimCardLoad::Ok) return nullptr;
    }
    m_card = std::move(fresh);
    m_cardStamp = now;
    m_bCardKept = stamped && AtRest(now.ftLastWriteTime);
    return &m_card;
}

std::wstring SimCardPathFromRegistry(HKEY hRoot, LPCWSTR pszSubKey) {
    const wchar_t kDefault[] = L"\\Windows\\simcard.txt";
    HKEY hKey = nullptr;
    if (RegOpenKeyExW(hRoot, pszSubKey, 0, KEY_QUERY_VALUE, &hKey) != ERROR_SUCCESS)
        return DevicePath(kDefault);
    wchar_t value[MAX_PATH] = {};
    DWORD type = 0, cb = sizeof(value) - sizeof(wchar_t);
    LONG rc = RegQueryValueExW(hKey, L"SimCard", nullptr, &type, reinterpret_cast<BYTE*>(value), &cb);
    RegCloseKey(hKey);
    if (rc == ERROR_FILE_NOT_FOUND) return DevicePath(kDefault);
    if (rc != ERROR_SUCCESS || type != REG_SZ) {
        NKDbgPrintfW(L"[modem]: SimCard value unreadable (error %ld, type %lu); no SIM.\r\n", rc, type);
        return std::wstring();
    }
    value[cb / sizeof(wchar_t)] = L'\0';
    if (!value[0]) return DevicePath(kDefault);
    return DevicePath(value);
}
