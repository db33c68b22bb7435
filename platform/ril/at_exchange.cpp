// Classification of a modem's lines against the command in flight.
#include "platform/ril/at_exchange.h"

#include "platform/modem/hex_text.h"

#include <cstring>

namespace {

bool StartsWithNoCase(const std::string& s, const std::string& prefix) {
    if (s.size() < prefix.size()) return false;
    for (size_t i = 0; i < prefix.size(); ++i) {
        char a = s[i], b = prefix[i];
        if (a >= 'a' && a <= 'z') a = static_cast<char>(a - 'a' + 'A');
        if (b >= 'a' && b <= 'z') b = static_cast<char>(b - 'a' + 'A');
        if (a != b) return false;
    }
    return true;
}

int ErrorNumber(const std::string& rest) {
    std::string t = TrimBlanks(rest);
    if (t.empty() || t.size() > 5) return -1;
    int v = 0;
    for (char c : t) {
        if (c < '0' || c > '9') return -1;  // verbose text (AT+CMEE=2)
        v = v * 10 + (c - '0');
    }
    return v;
}

struct FinalEntry {
    const char* text;
    AtFinalKind kind;
    bool bHasCode;
};

const FinalEntry kFinals[] = {
    {"OK", AtFinalKind::Ok, false},
    {"ERROR", AtFinalKind::Error, false},
    {"+CME ERROR:", AtFinalKind::CmeError, true},
    {"+CMS ERROR:", AtFinalKind::CmsError, true},
    {"NO CARRIER", AtFinalKind::NoCarrier, false},
    {"BUSY", AtFinalKind::Busy, false},
    {"NO ANSWER", AtFinalKind::NoAnswer, false},
    {"NO DIALTONE", AtFinalKind::NoDialtone, false},
    {"NO DIAL TONE", AtFinalKind::NoDialtone, false},
};

}  // namespace

bool ParseAtFinal(const std::string& raw, AtFinal* pFinal) {
    std::string line = TrimBlanks(raw);
    for (const auto& e : kFinals) {
        bool match = e.bHasCode ? StartsWithNoCase(line, e.text)
                                : (line.size() == strlen(e.text) && StartsWithNoCase(line, e.text));
        if (!match) continue;
        AtFinal f;
        f.kind = e.kind;
        if (e.bHasCode) f.nCode = ErrorNumber(line.substr(strlen(e.text)));
        if (pFinal) *pFinal = f;
        return true;
    }
    return false;
}

void AtExchange::Begin(const std::string& command, const std::string& prefix) {
    m_command = TrimBlanks(command);
    m_prefix = prefix;
    m_reply = AtReply();
    m_bInFlight = true;
}

AtExchange::Use AtExchange::OnLine(const std::string& raw) {
    if (!m_bInFlight) return Use::Unsolicited;
    std::string line = TrimBlanks(raw);
    if (line.size() == m_command.size() && StartsWithNoCase(line, m_command)) return Use::Echo;
    AtFinal final;
    if (ParseAtFinal(line, &final)) {
        m_reply.final = final;
        m_bInFlight = false;
        return Use::Final;
    }
    if (!m_prefix.empty() && StartsWithNoCase(line, m_prefix)) {
        m_reply.lines.push_back(line);
        return Use::Information;
    }
    return Use::Unsolicited;
}
