// One AT command in flight: which line of the modem's output is the echo, an
// information line of the answer, the final result or an unsolicited line.
// Pure: no I/O, no globals.
#pragma once
#include <string>
#include <vector>

enum class AtFinalKind { Ok, Error, CmeError, CmsError, NoCarrier, Busy, NoAnswer, NoDialtone };

struct AtFinal {
    AtFinalKind kind = AtFinalKind::Ok;
    int nCode = -1;  // the +CME / +CMS error number; -1 when absent or verbose
};

// The table of final result lines (TS 27.007 5.7, 9.2; TS 27.005 3.2.5).
// False for any other line.
bool ParseAtFinal(const std::string& line, AtFinal* pFinal);

struct AtReply {
    AtFinal final;
    std::vector<std::string> lines;  // information lines that carry the expected prefix
};

class AtExchange {
public:
    enum class Use { Echo, Information, Final, Unsolicited };

    // prefix: how the command's information lines begin ("+CSCA:"); empty
    // when the command has none, so that every other line is unsolicited.
    void Begin(const std::string& command, const std::string& prefix);
    // Classifies one line; a Final ends the exchange and fills Reply().
    Use OnLine(const std::string& line);
    bool InFlight() const { return m_bInFlight; }
    const AtReply& Reply() const { return m_reply; }
    // The command timed out or the port closed: later lines are unsolicited.
    void Abort() { m_bInFlight = false; }

private:
    std::string m_command;
    std::string m_prefix;
    bool m_bInFlight = false;
    AtReply m_reply;
};
