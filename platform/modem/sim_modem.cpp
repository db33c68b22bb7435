// The simulated modem's command interpreter: AT, ATE, ATV, ATQ, +CMEE, +CSCS,
// +CFUN, +CPIN, +CSCA, +CRSM, each in the dialects the card or a test asks for.
#include "platform/modem/sim_modem.h"

#include <vector>

#include "platform/attext/hex_text.h"

struct SimModem::Reply {
    std::vector<std::string> info;
    std::string final = "OK";
    int nCme = -1;  // a +CME error instead, written as AT+CMEE says
};

namespace {

// TS 27.007 9.2 / TS 27.005 3.2.5 error numbers the modem gives.
const int kNoSim = 10;
const int kBadParam = 50;
const int kNotSupported = 4;
const int kPhoneFailure = 0;
const char kSmsBadParam[] = "+CMS ERROR: 304";
const char kSmsUnknown[] = "+CMS ERROR: 500";

// ITU V.250 numeric result codes (ATV0).
struct NumericCode {
    const char* text;
    const char* code;
};
const NumericCode kNumericCodes[] = {
    {"OK", "0"}, {"RING", "2"}, {"NO CARRIER", "3"}, {"ERROR", "4"},
};

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

// TS 51.011 9.2.1: the response to SELECT / GET RESPONSE of an EF.
std::vector<uint8_t> GsmResponse(const SimCardFile& f) {
    unsigned size = f.cbRecordLength * f.cRecords;
    return {0x00, 0x00, static_cast<uint8_t>(size >> 8), static_cast<uint8_t>(size),
            static_cast<uint8_t>(f.wFileId >> 8), static_cast<uint8_t>(f.wFileId),
            0x04, 0x00, 0x11, 0x00, 0x44, 0x01, 0x02, 0x01, f.cbRecordLength};
}

// TS 102.221 11.1.1.3: the FCP template of a linear fixed EF.
std::vector<uint8_t> UsimResponse(const SimCardFile& f) {
    unsigned size = f.cbRecordLength * f.cRecords;
    std::vector<uint8_t> body = {
        0x82, 0x05, 0x42, 0x21, 0x00, f.cbRecordLength, f.cRecords,
        0x83, 0x02, static_cast<uint8_t>(f.wFileId >> 8), static_cast<uint8_t>(f.wFileId),
        0x8A, 0x01, 0x05,
        0x8B, 0x03, 0x6F, 0x06, 0x01,
        0x80, 0x02, static_cast<uint8_t>(size >> 8), static_cast<uint8_t>(size),
    };
    std::vector<uint8_t> fcp = {0x62, static_cast<uint8_t>(body.size())};
    fcp.insert(fcp.end(), body.begin(), body.end());
    return fcp;
}

// The identification commands (TS 27.007 5.1-5.4, 5.6; V.250 6.1.3-6.1.6):
// the value alone on one line; the test form answers OK.
struct IdentityCommand {
    const char* name;
    std::string ModemIdentity::*field;
    bool bSim;  // the card's, not the modem's
};

const IdentityCommand kIdentityCommands[] = {
    {"+CGMI", &ModemIdentity::maker, false},    {"+GMI", &ModemIdentity::maker, false},
    {"+CGMM", &ModemIdentity::model, false},    {"+GMM", &ModemIdentity::model, false},
    {"+CGMR", &ModemIdentity::revision, false}, {"+GMR", &ModemIdentity::revision, false},
    {"+CGSN", &ModemIdentity::imei, false},     {"+GSN", &ModemIdentity::imei, false},
    {"+CIMI", &ModemIdentity::imsi, true},
};

// Holds other writers off the card from its read to the save of its change.
class SlotLock {
public:
    explicit SlotLock(SimCardSlot* pSlot) : m_pSlot(pSlot) {
        if (m_pSlot) m_pSlot->Lock();
    }
    ~SlotLock() {
        if (m_pSlot) m_pSlot->Unlock();
    }
    SlotLock(const SlotLock&) = delete;
    SlotLock& operator=(const SlotLock&) = delete;

private:
    SimCardSlot* m_pSlot;
};

}  // namespace

void SimModem::PowerUp() {
    m_bPoweredUp = true;
    m_bEcho = Has(kDialectEcho);
    m_bVerbose = !Has(kDialectNumeric);
    m_nCmee = Has(kDialectBareError) ? 0 : Has(kDialectCmeText) ? 2 : 1;
    m_charset = Has(kDialectUcs2) ? TeCharset::Ucs2 : Has(kDialectHex) ? TeCharset::Hex : TeCharset::Ira;
    m_nCfunAtPowerUp = Has(kDialectCfun4) ? 4 : -1;
}

std::string SimModem::Info(const std::string& line) const {
    return m_bVerbose ? "\r\n" + line + "\r\n" : line + "\r\n";
}

std::string SimModem::Result(const std::string& text) const {
    if (m_bVerbose) return "\r\n" + text + "\r\n";
    for (const auto& n : kNumericCodes)
        if (text == n.text) return std::string(n.code) + "\r";
    return text + "\r\n";  // extended results (+CME ERROR) stay text
}

std::string SimModem::FinalText(const Reply& r) const {
    if (r.nCme < 0) return r.final;
    if (m_nCmee == 0) return "ERROR";
    const char* text = CmeErrorText(r.nCme);
    return "+CME ERROR: " + (m_nCmee == 2 && text ? std::string(text) : std::to_string(r.nCme));
}

std::string SimModem::CrsmLine(int sw1, int sw2, const std::vector<uint8_t>& data) const {
    std::string line = "+CRSM: " + std::to_string(sw1) + "," + std::to_string(sw2);
    if (!data.empty())
        line += Has(kDialectCrsmUnquoted) ? "," + HexEncode(data) : ",\"" + HexEncode(data) + "\"";
    return line;
}

std::string SimModem::Answer(const std::string& raw) {
    if (m_faults.bSilent) return std::string();
    m_pCard = Card();
    m_dwDialects = m_faults.dwDialects | (m_pCard ? m_pCard->dwDialects : 0);
    if (!m_bPoweredUp) PowerUp();
    std::string out;
    if (m_bEcho || m_faults.bEcho) out += raw + "\r";
    std::string line = TrimBlanks(raw);
    if (line.size() < 2 || !StartsWithNoCase(line, "AT")) return out;
    if (m_faults.bNoise) out += Result("RING") + Info("\x01\x7F~#!garbage");
    Reply r;
    if (m_faults.bError) r.final = "ERROR";
    else r = Execute(line.substr(2));
    // A call released meanwhile: the line comes between a command and its answer.
    if (Has(kDialectNoCarrier)) out += Result("NO CARRIER");
    for (const auto& info : r.info) out += Info(info);
    if (m_faults.bNoise) out += Info("+CREG: 1");
    out += Result(FinalText(r));
    return out;
}

SimModem::Reply SimModem::Execute(const std::string& body) {
    std::string u = UpperAscii(body);
    Reply r;
    if (u.empty() || u == "Z" || u == "&F" || u == "Q0") return r;
    if (u == "V" || u == "V0" || u == "V1") {
        // The result of ATV itself already comes in the new form.
        m_bVerbose = (u == "V1");
        return r;
    }
    if (u == "E0" || u == "E" || u == "E1") {
        m_bEcho = (u == "E1");
        return r;
    }
    if (u == "$QUIT") {
        m_bQuit = true;
        return r;
    }
    if (u == "+CPIN?") {
        if (!m_pCard) r.nCme = kNoSim;
        else r.info.push_back("+CPIN: READY");
        return r;
    }
    if (u == "I" || u == "I0" || u[0] == '+') {
        Reply id = Identify(u);
        if (id.final != "ERROR") return id;
    }
    if (u.rfind("+CMEE", 0) == 0) return Cmee(u.substr(5));
    if (u.rfind("+CSCS", 0) == 0) return Cscs(body.substr(5));
    if (u.rfind("+CFUN", 0) == 0) return Cfun(body.substr(5));
    if (u.rfind("+CSCA", 0) == 0) return Csca(body.substr(5));
    if (u.rfind("+CRSM=", 0) == 0) return Crsm(body.substr(6));
    r.final = "ERROR";
    return r;
}

SimModem::Reply SimModem::Cmee(const std::string& args) {
    Reply r;
    int n = -1;
    if (args == "?") {
        r.info.push_back("+CMEE: " + std::to_string(m_nCmee));
    } else if (args == "=?") {
        r.info.push_back(Has(kDialectCmeText) ? "+CMEE: (0,2)" : "+CMEE: (0-2)");
    } else if (args.empty() || args[0] != '=' || !ParseDecimal(args.substr(1), 2, &n)) {
        r.nCme = kBadParam;
    } else if (n == 1 && Has(kDialectCmeText)) {
        r.nCme = kNotSupported;
    } else {
        m_nCmee = n;
    }
    return r;
}

SimModem::Reply SimModem::Cscs(const std::string& args) {
    Reply r;
    bool keep = Has(kDialectKeepCharset);
    TeCharset cs = TeCharset::Gsm;
    if (args == "?") {
        r.info.push_back(std::string("+CSCS: \"") + CharsetName(m_charset) + "\"");
    } else if (args == "=?") {
        r.info.push_back(keep ? "+CSCS: (\"UCS2\",\"HEX\")" : "+CSCS: (\"GSM\",\"IRA\",\"UCS2\",\"HEX\")");
    } else if (args.empty() || args[0] != '=' || !CharsetFromName(args.substr(1), &cs) ||
               (keep && (cs == TeCharset::Gsm || cs == TeCharset::Ira))) {
        r.nCme = kNotSupported;
    } else {
        m_charset = cs;
    }
    return r;
}

SimModem::Reply SimModem::Cfun(const std::string& args) {
    Reply r;
    if (args == "?") {
        int cfun = m_nCfunAtPowerUp >= 0 ? m_nCfunAtPowerUp : m_pCard ? m_pCard->nCfun : m_nCfunNoCard;
        r.info.push_back("+CFUN: " + std::to_string(cfun));
        return r;
    }
    if (args == "=?") {
        r.info.push_back("+CFUN: (0,1,4),(0,1)");
        return r;
    }
    std::vector<std::string> a = SplitArgs(args.size() > 1 ? args.substr(1) : std::string());
    int fun = -1, rst = 0;
    if (args.empty() || args[0] != '=' || a.size() > 2 || !ParseDecimal(a[0], 255, &fun) ||
        (a.size() == 2 && !ParseDecimal(a[1], 1, &rst))) {
        r.nCme = kBadParam;
        return r;
    }
    if (fun != 0 && fun != 1 && fun != 4) {
        r.nCme = kNotSupported;
        return r;
    }
    m_nCfunAtPowerUp = -1;
    SlotLock lock(m_pSlot.get());  // read, change and save as one
    const SimCard* current = Card();
    if (!current) {
        // Without a card there is nothing to keep the state in but this modem.
        m_nCfunNoCard = fun;
        return r;
    }
    SimCard card = *current;
    SetSimRadio(&card, fun);
    if (m_faults.bCardWriteFails || !m_pSlot->Save(card)) r.nCme = kPhoneFailure;
    return r;
}

SimModem::Reply SimModem::Csca(const std::string& args) {
    Reply r;
    if (args == "=?") return r;
    if (args == "?") {
        if (!m_pCard) r.nCme = kNoSim;
        else
            r.info.push_back("+CSCA: \"" + EncodeTeString(m_pCard->smscAddress, m_charset) + "\"," +
                             std::to_string(m_pCard->nSmscType));
        return r;
    }
    SlotLock lock(m_pSlot.get());
    const SimCard* current = Card();
    if (!current) {
        r.nCme = kNoSim;
        return r;
    }
    if (args.empty() || args[0] != '=') {
        r.final = "ERROR";
        return r;
    }
    std::vector<std::string> a = SplitArgs(args.substr(1));
    bool quoted = false;
    std::string text = Unquote(a[0], &quoted), address;
    bool good = DecodeTeString(text, m_charset, &address) && IsSimSmscAddress(address);
    // Many modems take a number in plain dial characters whatever the set,
    // and AT clients (Gammu in HEX) send it so: hex that is no address is
    // read as it stands.
    if (!good && (m_charset == TeCharset::Ucs2 || m_charset == TeCharset::Hex)) {
        address = text;
        good = IsSimSmscAddress(address);
    }
    int type = (!address.empty() && address[0] == '+') ? 145 : 129;
    if (!quoted || !good || a.size() > 2 || (a.size() == 2 && !ParseDecimal(a[1], 255, &type))) {
        r.final = kSmsBadParam;
        return r;
    }
    if (m_faults.bSmscRefused) {
        r.final = kSmsUnknown;
        return r;
    }
    if (m_faults.bUpdatesLost) return r;
    SimCard card = *current;
    SetSimSmsc(&card, address, type);
    if (m_faults.bCardWriteFails || !m_pSlot->Save(card)) r.final = kSmsUnknown;
    return r;
}

SimModem::Reply SimModem::Crsm(const std::string& args) {
    Reply r;
    std::vector<std::string> a = SplitArgs(args);
    int cmd = 0, fileId = 0, p1 = 0, p2 = 0, p3 = 0;
    bool ok = ParseDecimal(a[0], 255, &cmd) && a.size() >= 2 && a.size() <= 7 &&
              ParseDecimal(a[1], 0xFFFF, &fileId);
    bool apdu = a.size() >= 5;
    if (ok && a.size() >= 3)
        ok = apdu && ParseDecimal(a[2], 255, &p1) && ParseDecimal(a[3], 255, &p2) &&
             ParseDecimal(a[4], 255, &p3);
    std::vector<uint8_t> data;
    if (ok && a.size() >= 6) ok = HexDecode(Unquote(a[5], nullptr), false, &data);
    std::string path = a.size() >= 7 ? UpperAscii(Unquote(a[6], nullptr)) : std::string();
    if (!ok) {
        r.nCme = kBadParam;
        return r;
    }
    // An update reads, changes and saves the card as one.
    SlotLock lock(cmd == 220 ? m_pSlot.get() : nullptr);
    const SimCard* current = cmd == 220 ? Card() : m_pCard;
    if (!current) {
        r.nCme = kNoSim;
        return r;
    }
    const SimCard& card = *current;
    const SimCardFile* file = FindSimFile(card, static_cast<uint16_t>(fileId));
    // A path given must lead to the file; some modems find a file only by it.
    std::string where = MailboxFilePath(fileId);
    if (file && !where.empty() && (path.empty() ? Has(kDialectPathOnly) : path != where)) file = nullptr;
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
        std::vector<uint8_t> response = card.bUsim ? UsimResponse(*file) : GsmResponse(*file);
        // A card given the APDU as it stands asks for the length it wants.
        if (Has(kDialectGetResponse67) && apdu && p3 != static_cast<int>(response.size()))
            r.info.push_back(CrsmLine(card.bUsim ? 0x6C : 0x67, static_cast<int>(response.size())));
        else
            r.info.push_back(CrsmLine(0x90, 0x00, response));
        return r;
    }
    if (p2 != 4) {
        r.info.push_back(CrsmLine(0x6B, 0x00));
        return r;
    }
    if (p1 < 1 || p1 > file->cRecords) {
        // 2G: out of range (invalid address); USIM: record not found.
        r.info.push_back(card.bUsim ? CrsmLine(0x6A, 0x83) : CrsmLine(0x94, 0x02));
        return r;
    }
    if (p3 != file->cbRecordLength || (cmd == 220 && data.size() != file->cbRecordLength)) {
        r.info.push_back(CrsmLine(0x67, 0x00));
        return r;
    }
    if (cmd == 178) {
        r.info.push_back(Has(kDialectRead9F) ? CrsmLine(0x9F, file->cbRecordLength, SimRecord(*file, p1))
                                             : CrsmLine(0x90, 0x00, SimRecord(*file, p1)));
        return r;
    }
    if (Has(kDialectMailboxLocked) && *MailboxFilePath(fileId)) {
        r.info.push_back(card.bUsim ? CrsmLine(0x69, 0x82) : CrsmLine(0x98, 0x04));
        return r;
    }
    if (m_faults.wUpdateRecordSW) {
        r.info.push_back(CrsmLine(m_faults.wUpdateRecordSW >> 8, m_faults.wUpdateRecordSW & 0xFF));
        return r;
    }
    if (m_faults.bUpdatesLost) {
        r.info.push_back(CrsmLine(0x90, 0x00));
        return r;
    }
    SimCard updated = card;
    SetSimRecord(&updated, static_cast<uint16_t>(fileId), p1, data);
    bool saved = !m_faults.bCardWriteFails && m_pSlot->Save(updated);
    // Memory problem, the update did not reach the card: 92 40 (2G), 65 81 (USIM).
    if (!saved) r.info.push_back(card.bUsim ? CrsmLine(0x65, 0x81) : CrsmLine(0x92, 0x40));
    else r.info.push_back(CrsmLine(0x90, 0x00));
    return r;
}

SimModem::Reply SimModem::Identify(const std::string& u) {
    Reply r;
    const ModemIdentity& id = m_pCard ? m_pCard->identity : ModemIdentity();
    if (u == "I" || u == "I0") {
        // V.250 leaves ATI's text to the maker; this is how many modems write it.
        r.info = {"Manufacturer: " + id.maker, "Model: " + id.model, "Revision: " + id.revision, "IMEI: " + id.imei};
        return r;
    }
    for (const auto& c : kIdentityCommands) {
        if (u == std::string(c.name) + "=?") return r;
        if (u != c.name) continue;
        if (c.bSim && !m_pCard) r.nCme = kNoSim;
        else r.info.push_back(id.*c.field);
        return r;
    }
    r.final = "ERROR";
    return r;
}
