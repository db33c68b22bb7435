// The simulated modem: answers AT command lines (TS 27.007 / 27.005) from a
// SIM card file, with faults that tests can switch on. Used in-process by the
// radio layer's built-in transport and over TCP by tools/modem_server.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "platform/modem/at_text.h"
#include "platform/modem/modem_dialect.h"
#include "platform/modem/sim_card.h"

struct ModemFaults {
    DWORD dwDelayMs = 0;  // wait before each answer (applied by the transport)
    bool bSilent = false; // never answers, not even an echo
    bool bError = false;  // answers ERROR to every command
    bool bNoise = false;  // RING, a garbage line and +CREG: 1 around each answer
    bool bEcho = false;   // echoes each command line, as after ATE1
    bool bHangUp = false; // the port closes at the next command (built-in transport only)
    // The port closes once this many more answer bytes have been read; the
    // commands are carried out (built-in transport only).
    DWORD dwDropAfterBytes = 0;
    // Every command answered with these bytes instead, not carried out
    // (built-in transport only).
    const char* pszAnswer = nullptr;
    bool bCardWriteFails = false;  // the card takes no update, as a full or worn one
    DWORD dwDialects = 0;  // kDialect...: a test's dialects, added to the card's
};

class SimModem {
public:
    // cardPath: Win32 path of the card file; empty: a modem without a SIM.
    explicit SimModem(std::wstring cardPath);

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
    std::string Info(const std::string& line) const;
    std::string Result(const std::string& text) const;
    std::string FinalText(const Reply& r) const;
    std::string CrsmLine(int sw1, int sw2, const std::vector<BYTE>& data = {}) const;
    bool Has(DWORD dwDialect) const { return (m_dwDialects & dwDialect) != 0; }
    // The card as its file holds it now; null when missing or malformed.
    const SimCard* Card();

    std::wstring m_cardPath;
    // The card last read, used again while its file is unchanged.
    SimCard m_card;
    WIN32_FILE_ATTRIBUTE_DATA m_cardStamp = {};
    bool m_bCardKept = false;
    std::string m_lastCardError;  // traced once, not at every command
    const SimCard* m_pCard = nullptr;  // read for the command being answered
    ModemFaults m_faults;
    DWORD m_dwDialects = 0;  // in force for the command being answered
    bool m_bPoweredUp = false;
    bool m_bEcho = false;
    bool m_bVerbose = true;   // ATV1
    int m_nCmee = 1;          // AT+CMEE: 0 bare ERROR, 1 numeric, 2 text
    TeCharset m_charset = TeCharset::Ira;
    int m_nCfunAtPowerUp = -1;  // reported instead of the card's until AT+CFUN=n
    bool m_bQuit = false;
    int m_nCfunNoCard = 1;  // radio power of a modem without a (readable) card
};

// The card of the emulated device: the device path in REG_SZ "SimCard" under
// the given key (HKLM "Drivers\BuiltIn\RIL" on the device), else
// "\Windows\simcard.txt"; as a Win32 path. Empty (no card) when the value has
// the wrong type.
std::wstring SimCardPathFromRegistry(HKEY hRoot, LPCWSTR pszSubKey);
