// The simulated modem: answers AT command lines (TS 27.007 / 27.005) from the
// SIM card in its slot, with faults that tests can switch on. Used in-process
// by the radio layer's built-in transport and over TCP by tools/modem_server,
// on the device's card file; on a card in memory by tests and fuzzing. Pure:
// the slot does any I/O.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/attext/at_text.h"
#include "platform/modem/modem_dialect.h"
#include "platform/modem/sim_card.h"

struct ModemFaults {
    uint32_t dwDelayMs = 0;  // wait before each answer (applied by the transport)
    bool bSilent = false; // never answers, not even an echo
    bool bError = false;  // answers ERROR to every command
    bool bNoise = false;  // RING, a garbage line and +CREG: 1 around each answer
    bool bEcho = false;   // echoes each command line, as after ATE1
    bool bHangUp = false; // the port closes at the next command (built-in transport only)
    // The port closes once this many more answer bytes have been read; the
    // commands are carried out (built-in transport only).
    uint32_t dwDropAfterBytes = 0;
    // Every command answered with these bytes instead, not carried out
    // (built-in transport only).
    const char* pszAnswer = nullptr;
    bool bCardWriteFails = false;  // the card takes no update, as a full or worn one
    // UPDATE RECORD answered with this status word, the record untouched:
    // 0x6982 security status not satisfied, 0x9804 access conditions not
    // fulfilled (a PIN2-protected file), as real cards refuse.
    uint16_t wUpdateRecordSW = 0;
    // AT+CSCA= answered +CMS ERROR: 500, the service centre untouched.
    bool bSmscRefused = false;
    // Updates (UPDATE RECORD, AT+CSCA=) answered as done but not kept: only
    // reading back tells.
    bool bUpdatesLost = false;
    uint32_t dwDialects = 0;  // kDialect...: a test's dialects, added to the card's
    // The commands that begin with pszScriptedCommand (any case, e.g.
    // "AT+CSCA?") answered with pszScriptedAnswer instead, not carried out,
    // the first dwScriptedTimes of them (0: all) since the faults were set;
    // later ones as usual. Other commands are not touched (built-in
    // transport only).
    const char* pszScriptedCommand = nullptr;
    const char* pszScriptedAnswer = nullptr;
    uint32_t dwScriptedTimes = 0;
};

class SimModem {
public:
    // card: where the SIM card is; null: a modem without a SIM.
    explicit SimModem(std::unique_ptr<SimCardSlot> card) : m_pSlot(std::move(card)) {}

    void SetFaults(const ModemFaults& faults) { m_faults = faults; }
    const ModemFaults& Faults() const { return m_faults; }

    // One command line without its CR. Returns what the modem sends back:
    // the echo, then each information line and the final result, framed as
    // the modem's settings say: verbose (CR LF around each) or numeric (V0),
    // +CME errors numeric, as text or a bare ERROR (AT+CMEE). Empty when
    // silent or when the line is not an AT command.
    std::string Answer(const std::string& line);

    // AT$QUIT was received (the modem server stops on it).
    bool QuitRequested() const { return m_bQuit; }

private:
    struct Reply;
    // The settings a connection starts with, from the dialects.
    void PowerUp();
    Reply Execute(const std::string& body);
    Reply Cfun(const std::string& args);
    Reply Cmee(const std::string& args);
    Reply Cscs(const std::string& args);
    Reply Csca(const std::string& args);
    Reply Crsm(const std::string& args);
    Reply Identify(const std::string& command);
    std::string Info(const std::string& line) const;
    std::string Result(const std::string& text) const;
    std::string FinalText(const Reply& r) const;
    std::string CrsmLine(int sw1, int sw2, const std::vector<uint8_t>& data = {}) const;
    bool Has(uint32_t dwDialect) const { return (m_dwDialects & dwDialect) != 0; }
    // The card as its slot holds it now; null when there is none.
    const SimCard* Card() { return m_pSlot ? m_pSlot->Card() : nullptr; }

    std::unique_ptr<SimCardSlot> m_pSlot;
    const SimCard* m_pCard = nullptr;  // read for the command being answered
    ModemFaults m_faults;
    uint32_t m_dwDialects = 0;  // in force for the command being answered
    bool m_bPoweredUp = false;
    bool m_bEcho = false;
    bool m_bVerbose = true;   // ATV1
    int m_nCmee = 1;          // AT+CMEE: 0 bare ERROR, 1 numeric, 2 text
    TeCharset m_charset = TeCharset::Ira;
    int m_nCfunAtPowerUp = -1;  // reported instead of the card's until AT+CFUN=n
    bool m_bQuit = false;
    int m_nCfunNoCard = 1;  // radio power of a modem without a (readable) card
};
