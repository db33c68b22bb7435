// Classification of a modem's lines against the command in flight.
#include "platform/ril/at_exchange.h"

#include <cstring>

#include "platform/attext/at_text.h"
#include "platform/attext/hex_text.h"

namespace {

struct FinalEntry {
    const char* text;
    AtFinalKind kind;
    bool bHasCode;
    const char* numeric;  // its V.250 numeric form
};

const FinalEntry kFinals[] = {
    {"OK", AtFinalKind::Ok, false, "0"},
    {"ERROR", AtFinalKind::Error, false, "4"},
    {"+CME ERROR:", AtFinalKind::CmeError, true, nullptr},
    {"+CMS ERROR:", AtFinalKind::CmsError, true, nullptr},
    {"NO CARRIER", AtFinalKind::NoCarrier, false, "3"},
    {"BUSY", AtFinalKind::Busy, false, "7"},
    {"NO ANSWER", AtFinalKind::NoAnswer, false, "8"},
    {"NO DIALTONE", AtFinalKind::NoDialtone, false, "6"},
    {"NO DIAL TONE", AtFinalKind::NoDialtone, false, nullptr},
    // Modems' own: Huawei's (also ofono's and Gammu's vendor lists), the
    // Huawei EM770's, the Android emulator's modem and SIM; Motorola's
    // numbered error, and +EXT ERROR, which ofono and Android's
    // reference-ril take as final. Without them a command waits out its
    // time-out for an answer that has come.
    {"COMMAND NOT SUPPORT", AtFinalKind::Unsupported, false, nullptr},
    {"TOO MANY PARAMETERS", AtFinalKind::Unsupported, false, nullptr},
    {"ERROR: UNSUPPORTED", AtFinalKind::Unsupported, false, nullptr},
    {"ERROR: UNSUPPORTED SIM COMMAND", AtFinalKind::Unsupported, false, nullptr},
    {"ERROR: BAD COMMAND", AtFinalKind::Unsupported, false, nullptr},
    {"MODEM ERROR:", AtFinalKind::ModemError, true, nullptr},
    {"+EXT ERROR:", AtFinalKind::ModemError, true, nullptr},
};

// The number of a +CME / +CMS error, given as a number or (AT+CMEE=2) as text.
int ErrorNumber(AtFinalKind kind, const std::string& rest) {
    int v = -1;
    if (ParseDecimal(rest, 99999, &v)) return v;
    if (kind == AtFinalKind::ModemError) return -1;  // no texts known
    return kind == AtFinalKind::CmeError ? CmeErrorCode(rest) : CmsErrorCode(rest);
}

}  // namespace

bool ParseAtFinal(const std::string& raw, bool bNumeric, AtFinal* pFinal) {
    std::string line = TrimBlanks(raw);
    for (const auto& e : kFinals) {
        bool match = e.bHasCode ? StartsWithNoCase(line, e.text)
                                : (line.size() == strlen(e.text) && StartsWithNoCase(line, e.text)) ||
                                      (bNumeric && e.numeric && line == e.numeric);
        if (!match) continue;
        AtFinal f;
        f.kind = e.kind;
        if (e.bHasCode) f.nCode = ErrorNumber(e.kind, line.substr(strlen(e.text)));
        f.text = line;
        if (pFinal) *pFinal = std::move(f);
        return true;
    }
    return false;
}

bool IsCallProgress(AtFinalKind kind) {
    return kind == AtFinalKind::NoCarrier || kind == AtFinalKind::Busy || kind == AtFinalKind::NoAnswer ||
           kind == AtFinalKind::NoDialtone;
}

void AtExchange::Begin(const std::string& command, const std::string& prefix, bool bNumeric) {
    m_command = TrimBlanks(command);
    m_prefix = prefix;
    m_bNumeric = bNumeric;
    m_bCallCommand = StartsWithNoCase(m_command, "ATD") ||
                     (m_command.size() == 3 && StartsWithNoCase(m_command, "ATA"));
    m_reply = AtReply();
    m_bInFlight = true;
}

AtExchange::Use AtExchange::OnLine(const std::string& raw) {
    if (!m_bInFlight) return Use::Unsolicited;
    std::string line = TrimBlanks(raw);
    if (line.size() == m_command.size() && StartsWithNoCase(line, m_command)) return Use::Echo;
    AtFinal final;
    if (ParseAtFinal(line, m_bNumeric, &final)) {
        // A call released while a SIM or SMS command runs does not end it.
        if (IsCallProgress(final.kind) && !m_bCallCommand) return Use::Unsolicited;
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
