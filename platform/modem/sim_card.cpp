// The SIM card text: parsing, and edits that keep the rest of the text.
#include "platform/modem/sim_card.h"

#include "platform/attext/at_text.h"
#include "platform/attext/hex_text.h"
#include "platform/modem/modem_dialect.h"

namespace {


std::vector<std::string> Tokens(const std::string& line) {
    std::vector<std::string> tokens;
    size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
        if (i >= line.size()) break;
        size_t start = i;
        if (line[i] == '"') {
            size_t end = line.find('"', i + 1);
            if (end == std::string::npos) end = line.size() - 1;
            i = end + 1;
        } else {
            while (i < line.size() && line[i] != ' ' && line[i] != '\t') ++i;
        }
        tokens.push_back(line.substr(start, i - start));
    }
    return tokens;
}

bool ParseNumber(const std::string& s, int base, unsigned long max, unsigned long* pValue) {
    std::string t = s;
    if (base == 16 && t.size() > 2 && t[0] == '0' && (t[1] == 'x' || t[1] == 'X')) t = t.substr(2);
    if (t.empty() || t.size() > 8) return false;
    unsigned long v = 0;
    for (char c : t) {
        int d;
        if (c >= '0' && c <= '9') d = c - '0';
        else if (base == 16 && c >= 'a' && c <= 'f') d = c - 'a' + 10;
        else if (base == 16 && c >= 'A' && c <= 'F') d = c - 'A' + 10;
        else return false;
        v = v * base + d;
    }
    if (v > max) return false;
    *pValue = v;
    return true;
}

// A word of the card for an error text: a NUL or another control byte would
// cut or break the trace line the error goes into.
std::string Visible(const std::string& s) {
    std::string out;
    for (char c : s) {
        uint8_t u = static_cast<uint8_t>(c);
        out += u >= 0x20 && u != 0x7F ? std::string(1, c) : "\\x" + HexEncode(&u, 1);
    }
    return out;
}

// The identity lines: a text of printable ASCII, or a number of so many digits.
struct IdentityLine {
    const char* key;
    std::string ModemIdentity::*field;
    size_t nMinDigits, nMaxDigits;  // 0: a text
};

const IdentityLine kIdentityLines[] = {
    {"maker", &ModemIdentity::maker, 0, 0},
    {"model", &ModemIdentity::model, 0, 0},
    {"revision", &ModemIdentity::revision, 0, 0},
    {"imei", &ModemIdentity::imei, 15, 15},  // TS 23.003 6.2.1: 14 digits and a check digit
    {"imsi", &ModemIdentity::imsi, 6, 15},   // TS 23.003 2.2: MCC, MNC and MSIN, at most 15
};

const size_t kMaxIdentityText = 64;

// The value of an identity line, from the words after its keyword; the
// error, or "" when it is good.
std::string IdentityValue(const IdentityLine& id, const std::vector<std::string>& t, std::string* pValue) {
    std::string v;
    for (size_t k = 1; k < t.size(); ++k) v += (k > 1 ? " " : "") + t[k];
    if (t.size() == 2) v = Unquote(v);
    bool ok = !v.empty();
    if (id.nMaxDigits) {
        ok = ok && v.size() >= id.nMinDigits && v.size() <= id.nMaxDigits;
        for (char c : v) ok = ok && c >= '0' && c <= '9';
        if (!ok)
            return std::string(id.key) + " must be " + std::to_string(id.nMinDigits) +
                   (id.nMinDigits == id.nMaxDigits ? "" : " to " + std::to_string(id.nMaxDigits)) + " digits";
    } else {
        ok = ok && v.size() <= kMaxIdentityText;
        for (char c : v) ok = ok && c >= 0x20 && c < 0x7F;
        if (!ok) return std::string(id.key) + " must be 1 to 64 printable characters";
    }
    *pValue = v;
    return "";
}

}  // namespace

bool IsSimSmscAddress(const std::string& a) {
    size_t digits = 0;
    for (size_t i = 0; i < a.size(); ++i) {
        char c = a[i];
        if (c == '+' && i == 0) continue;
        if (!IsAddressDigit(static_cast<unsigned char>(c))) return false;
        ++digits;
    }
    return digits <= kMaxAddressDigits;
}

namespace {

const char* RadioWord(int nCfun) {
    switch (nCfun) {
        case 0: return "off";
        case 4: return "flight";
        default: return "on";
    }
}

std::string RecordLine(int nRecord, const std::vector<uint8_t>& bytes) {
    std::string line = "record " + std::to_string(nRecord) + " ";
    std::string hex = HexEncode(bytes);
    for (size_t i = 0; i < hex.size(); i += 2) {
        if (i) line += ' ';
        line += hex.substr(i, 2);
    }
    return line;
}

void InsertLine(SimCard* card, size_t at, const std::string& text) {
    card->lines.insert(card->lines.begin() + at, text);
    auto shift = [at](int& i) { if (i >= static_cast<int>(at)) ++i; };
    shift(card->iRadioLine);
    shift(card->iSmscLine);
    shift(card->iSimLine);
    shift(card->iDialectLine);
    for (auto& f : card->files) {
        if (f.iFileLine >= at) ++f.iFileLine;
        for (auto& r : f.recordLines)
            if (r.second >= at) ++r.second;
    }
}

bool Fail(std::string* pError, size_t iLine, const std::string& why) {
    if (pError) *pError = "line " + std::to_string(iLine + 1) + ": " + why;
    return false;
}

}  // namespace

bool ParseSimCard(const std::string& text, SimCard* pCard, std::string* pError) {
    SimCard card;
    card.eol = text.find("\r\n") != std::string::npos || text.find('\n') == std::string::npos
                   ? "\r\n" : "\n";
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find('\n', pos);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(pos, end - pos);
        // Every CR at a line's end goes, not just the one of a CR LF: a line
        // kept ending in CR would be written back as a CR LF, and the card
        // read again would be another card (CR LF throughout, one CR less).
        while (!line.empty() && line.back() == '\r') line.pop_back();
        card.lines.push_back(line);
        pos = end + 1;
    }

    SimCardFile* current = nullptr;
    std::vector<std::string> identitiesSeen;
    for (size_t i = 0; i < card.lines.size(); ++i) {
        std::vector<std::string> t = Tokens(card.lines[i]);
        if (t.empty() || t[0][0] == '#') continue;
        std::string key = LowerAscii(t[0]);
        unsigned long v = 0;
        const IdentityLine* id = nullptr;
        for (const auto& e : kIdentityLines)
            if (key == e.key) id = &e;
        if (id) {
            for (const auto& seen : identitiesSeen)
                if (seen == key) return Fail(pError, i, "expected one '" + key + "' line");
            std::string error = IdentityValue(*id, t, &(card.identity.*id->field));
            if (!error.empty()) return Fail(pError, i, error);
            identitiesSeen.push_back(key);
        } else if (key == "radio") {
            if (t.size() != 2 || card.iRadioLine >= 0) return Fail(pError, i, "expected one 'radio on|off|flight'");
            std::string w = LowerAscii(t[1]);
            if (w == "on") card.nCfun = 1;
            else if (w == "off") card.nCfun = 0;
            else if (w == "flight") card.nCfun = 4;
            else return Fail(pError, i, "radio must be on, off or flight");
            card.iRadioLine = static_cast<int>(i);
        } else if (key == "smsc") {
            if (t.size() != 3 || card.iSmscLine >= 0) return Fail(pError, i, "expected one 'smsc <address> <type>'");
            std::string address = Unquote(t[1]);
            if (!IsSimSmscAddress(address)) return Fail(pError, i, "bad service-centre address");
            if (!ParseNumber(t[2], 10, 255, &v)) return Fail(pError, i, "address type must be 0 to 255");
            card.smscAddress = address;
            card.nSmscType = static_cast<int>(v);
            card.iSmscLine = static_cast<int>(i);
        } else if (key == "sim") {
            if (t.size() != 2 || card.iSimLine >= 0) return Fail(pError, i, "expected one 'sim 2G|USIM'");
            std::string w = LowerAscii(t[1]);
            if (w == "2g") card.bUsim = false;
            else if (w == "usim") card.bUsim = true;
            else return Fail(pError, i, "sim must be 2G or USIM");
            card.iSimLine = static_cast<int>(i);
        } else if (key == "dialect") {
            if (t.size() < 2 || card.iDialectLine >= 0) return Fail(pError, i, "expected one 'dialect <name>...'");
            std::string words, bad;
            for (size_t k = 1; k < t.size(); ++k) words += t[k] + " ";
            if (!DialectsFromText(words, &card.dwDialects, &bad))
                return Fail(pError, i, "unknown dialect '" + Visible(bad) + "'");
            card.iDialectLine = static_cast<int>(i);
        } else if (key == "file") {
            unsigned long id = 0, len = 0, count = 0;
            if (t.size() != 6 || LowerAscii(t[2]) != "reclen" || LowerAscii(t[4]) != "records")
                return Fail(pError, i, "expected 'file <id> reclen <n> records <n>'");
            if (!ParseNumber(t[1], 16, 0xFFFF, &id)) return Fail(pError, i, "file id must be 4 hex digits");
            if (!ParseNumber(t[3], 10, 255, &len) || len == 0) return Fail(pError, i, "record length must be 1 to 255");
            if (!ParseNumber(t[5], 10, 254, &count) || count == 0) return Fail(pError, i, "record count must be 1 to 254");
            if (FindSimFile(card, static_cast<uint16_t>(id))) return Fail(pError, i, "file listed twice");
            SimCardFile f;
            f.wFileId = static_cast<uint16_t>(id);
            f.cbRecordLength = static_cast<uint8_t>(len);
            f.cRecords = static_cast<uint8_t>(count);
            f.iFileLine = i;
            card.files.push_back(f);
            current = &card.files.back();
        } else if (key == "record") {
            if (!current) return Fail(pError, i, "record before any file");
            if (t.size() < 3 || !ParseNumber(t[1], 10, 254, &v) || v == 0 || v > current->cRecords)
                return Fail(pError, i, "record number out of the file's range");
            int n = static_cast<int>(v);
            if (current->records.count(n)) return Fail(pError, i, "record listed twice");
            std::string hex;
            for (size_t k = 2; k < t.size(); ++k) hex += t[k];
            std::vector<uint8_t> bytes;
            if (!HexDecode(hex, false, &bytes)) return Fail(pError, i, "record bytes must be hex");
            if (bytes.size() != current->cbRecordLength)
                return Fail(pError, i, "record has " + std::to_string(bytes.size()) +
                                           " bytes, the file's records have " +
                                           std::to_string(current->cbRecordLength));
            current->records[n] = bytes;
            current->recordLines[n] = i;
        } else {
            return Fail(pError, i, "unknown keyword '" + Visible(t[0]) + "'");
        }
    }
    if (pCard) *pCard = std::move(card);
    return true;
}

std::string SimCardText(const SimCard& card) {
    std::string text;
    for (const auto& line : card.lines) text += line + card.eol;
    return text;
}

const SimCardFile* FindSimFile(const SimCard& card, uint16_t wFileId) {
    for (const auto& f : card.files)
        if (f.wFileId == wFileId) return &f;
    return nullptr;
}

std::vector<uint8_t> SimRecord(const SimCardFile& file, int nRecord) {
    auto it = file.records.find(nRecord);
    if (it != file.records.end()) return it->second;
    return std::vector<uint8_t>(file.cbRecordLength, 0xFF);
}

void SetSimRadio(SimCard* pCard, int nCfun) {
    pCard->nCfun = nCfun;
    std::string line = std::string("radio ") + RadioWord(nCfun);
    if (pCard->iRadioLine >= 0) pCard->lines[pCard->iRadioLine] = line;
    else InsertLine(pCard, 0, line), pCard->iRadioLine = 0;
}

void SetSimSmsc(SimCard* pCard, const std::string& address, int nType) {
    pCard->smscAddress = address;
    pCard->nSmscType = nType;
    std::string shown = address.empty() ? std::string("\"\"") : address;
    std::string line = "smsc " + shown + " " + std::to_string(nType);
    if (pCard->iSmscLine >= 0) {
        pCard->lines[pCard->iSmscLine] = line;
    } else {
        size_t at = pCard->iRadioLine >= 0 ? pCard->iRadioLine + 1 : 0;
        InsertLine(pCard, at, line);
        pCard->iSmscLine = static_cast<int>(at);
    }
}

bool SetSimRecord(SimCard* pCard, uint16_t wFileId, int nRecord, const std::vector<uint8_t>& bytes) {
    SimCardFile* file = nullptr;
    for (auto& f : pCard->files)
        if (f.wFileId == wFileId) file = &f;
    if (!file || nRecord < 1 || nRecord > file->cRecords || bytes.size() != file->cbRecordLength)
        return false;
    file->records[nRecord] = bytes;
    std::string line = RecordLine(nRecord, bytes);
    auto at = file->recordLines.find(nRecord);
    if (at != file->recordLines.end()) {
        pCard->lines[at->second] = line;
        return true;
    }
    // Keep the records in order: after the nearest lower record, else after the file line.
    size_t after = file->iFileLine;
    for (const auto& r : file->recordLines)
        if (r.first < nRecord && r.second > after) after = r.second;
    InsertLine(pCard, after + 1, line);
    file->recordLines[nRecord] = after + 1;
    return true;
}

const SimCard* SimCardTextSlot::Card() {
    if (!m_bParsed || *m_pText != m_parsedText) {
        m_parsedText = *m_pText;
        m_bParsed = true;
        SimCard fresh;
        m_bCard = ParseSimCard(m_parsedText, &fresh, nullptr);
        m_card = std::move(fresh);
    }
    return m_bCard ? &m_card : nullptr;
}

bool SimCardTextSlot::Save(const SimCard& card) {
    *m_pText = SimCardText(card);
    return true;
}
