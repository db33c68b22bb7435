// What the radio layer knows of the modem on one connection, and the set-up
// that learns it when the connection opens: ATE0, ATV1, ATQ0, AT+CMEE=1 (else
// =2), AT+CSCS="GSM" (else "IRA", else AT+CSCS? for the set the modem keeps),
// as modem managers open a modem. A refusal is borne; the first command that
// gets no final result at all ends the set-up (a silent modem is not asked
// again and again). Pure: no I/O, no globals.
#pragma once
#include "platform/attext/at_text.h"
#include "platform/ril/at_exchange.h"

struct AtDialect {
    bool bVerbose = false;  // ATV1 was taken: a bare "0" or "4" is no result any more
    TeCharset charset = TeCharset::Gsm;  // of string parameters (the +CSCA address)
    bool bSimPaths = false;  // the mailbox files answer only when given their path
    bool bSimAnswered = false;  // a SIM command had an answer other than a transient one
};

class AtSetup {
public:
    // The command to send now, and the prefix of its information lines;
    // null when the set-up is over.
    const char* Command() const;
    const char* Prefix() const;
    // The outcome of Command(): its reply, or null when none came (no answer
    // in time, port closed). Notes what it tells in *pDialect.
    void OnReply(const AtReply* reply, AtDialect* pDialect);

private:
    int m_step = 0;
};
