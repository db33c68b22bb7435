// One AT command in flight: which line of the modem's output is the echo, an
// information line of the answer, the final result or an unsolicited line.
// Pure: no I/O, no globals.
#pragma once
#include <string>
#include <vector>

// Unsupported and ModemError: final results of the modem's own, outside
// TS 27.007 (a vendor's "command not supported", a numbered error).
enum class AtFinalKind { Ok, Error, CmeError, CmsError, NoCarrier, Busy, NoAnswer, NoDialtone, Unsupported, ModemError };

struct AtFinal {
    AtFinalKind kind = AtFinalKind::Ok;
    int nCode = -1;  // the +CME / +CMS / modem error number; -1 when absent or an unknown text
    std::string text;  // the line, without blanks around it, for the trace
};

// The table of final result lines (TS 27.007 5.7, 9.2; TS 27.005 3.2.5); with
// bNumeric also the numeric result codes of ITU V.250 (ATV0): 0 OK, 3 NO
// CARRIER, 4 ERROR, 6 NO DIALTONE, 7 BUSY, 8 NO ANSWER. A verbose +CME or +CMS
// error (AT+CMEE=2) gives the number of its numeric form. Also the final
// results real modems send of their own (docs/modem.md lists them and where
// each was recorded). False for any other line.
bool ParseAtFinal(const std::string& line, bool bNumeric, AtFinal* pFinal);
inline bool ParseAtFinal(const std::string& line, AtFinal* pFinal) { return ParseAtFinal(line, false, pFinal); }
// NO CARRIER, BUSY, NO ANSWER, NO DIALTONE: final results of a dial or answer
// command only (V.250 6.3.1, 6.3.5); during any other they tell of a call.
bool IsCallProgress(AtFinalKind kind);

struct AtReply {
    AtFinal final;
    std::vector<std::string> lines;  // information lines that carry the expected prefix
};

class AtExchange {
public:
    enum class Use { Echo, Information, Final, Unsolicited };

    // prefix: how the command's information lines begin ("+CSCA:"); empty
    // when the command has none, so that every other line is unsolicited.
    // bNumeric: the modem may still give numeric result codes (before ATV1).
    void Begin(const std::string& command, const std::string& prefix, bool bNumeric = false);
    // Classifies one line; a Final ends the exchange and fills Reply().
    Use OnLine(const std::string& line);
    bool InFlight() const { return m_bInFlight; }
    const AtReply& Reply() const { return m_reply; }
    // The command timed out or the port closed: later lines are unsolicited.
    void Abort() { m_bInFlight = false; }

private:
    std::string m_command;
    std::string m_prefix;
    bool m_bNumeric = false;
    bool m_bCallCommand = false;  // ATD or ATA: call progress ends it
    bool m_bInFlight = false;
    AtReply m_reply;
};
