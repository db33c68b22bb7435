// The AT side of each radio request: the command text it sends, the prefix of
// its information lines, and the answer the result callback gets from the
// modem's reply, in what the connection knows of the modem's dialect. Pure:
// no I/O, no globals.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "platform/ril/at_exchange.h"
#include "platform/ril/at_setup.h"
#include "platform/ril/ril_types.h"
#include "platform/ril/sim_response.h"

enum class RilRequestKind { GetMsgConfig, SetMsgConfig, SimCmd, GetEquipmentState, SetEquipmentState };

// An AT+CRSM command by its fields (TS 27.007 8.18).
struct RilSimCmd {
    int nCommand = 0;     // 176 READ BINARY, 178 READ RECORD, 192 GET RESPONSE, ...
    int nFileId = -1;     // -1: none given
    bool bApdu = false;   // P1, P2, P3 given
    int p1 = 0, p2 = 0, p3 = 0;
    std::string data;     // hex; empty: none
    std::string path;     // <pathid>; empty: none
    bool bLengthRetried = false;  // asked again with the length the card asked for
    bool bPathRetried = false;    // asked again with the file's path
};

struct RilRequest {
    RilRequestKind kind = RilRequestKind::GetMsgConfig;
    std::string command;  // without the CR
    std::string prefix;   // of the information lines; empty when none
    uint32_t dwSimCommand = 0;
    int nCfun = -1;       // the power a set request asks for
    int nRecordLength = -1;  // READ RECORD: the bytes asked for (P3)
    RilSimCmd sim;           // SimCmd
    std::string address;     // SetMsgConfig: the dial string, "+" first when international
    int nTypeOctet = 0;      // SetMsgConfig: its TS 24.008 type octet
    int nTransientRetries = 0;  // asked again after a transient answer
};

struct RilAnswer {
    uint32_t dwCode = RIL_RESULT_ERROR;
    std::vector<uint8_t> data;  // for RIL_RESULT_ERROR: one 32-bit HRESULT
};

// Each fills *pRequest and returns kRilRequestTaken (S_OK), or a negative
// error (an HRESULT) for a request the modem must not see.
int32_t BuildGetMsgConfig(RilRequest* pRequest);
int32_t BuildSetMsgConfig(const RILMSGCONFIG* pConfig, RilRequest* pRequest);
int32_t BuildSimCmd(uint32_t dwCommand, const RILSIMCMDPARAMETERS* pParams, const uint8_t* pbData,
                    uint32_t cbData, RilRequest* pRequest);
int32_t BuildGetEquipmentState(RilRequest* pRequest);
int32_t BuildSetEquipmentState(uint32_t dwEqState, RilRequest* pRequest);

// The command as this modem takes it: the address in its character set, a
// mailbox file with its path where the modem asked for paths.
void FitRequestToModem(RilRequest* pRequest, const AtDialect& dialect);
// The answer to a finished exchange.
RilAnswer AnswerFromReply(const RilRequest& request, const AtReply& reply,
                          const AtDialect& dialect = AtDialect());
// A SIM command to ask once more, below the caller: a GET RESPONSE answered
// 67 xx or 6C xx with the length the card asks for, a mailbox file not found
// (94 04, 6A 82) with its path. False when the reply stands as it is.
bool RetryOfSimCmd(const RilRequest& request, const AtReply& reply, RilRequest* pRetry);
// A transient answer, asked again after kTransientPauseMs, below the caller,
// at most kMaxTransientRetries times: a busy modem or SIM (+CME ERROR: 14,
// 515; +CMS ERROR: 314), and, while bFirstSimAccess (no SIM command of the
// connection answered otherwise yet), 6A 86 with no data, which a Gobi card
// gives its first SIM access. False when the reply stands.
const int kMaxTransientRetries = 3;
const uint32_t kTransientPauseMs = 500;
bool RetryOfTransient(const RilRequest& request, const AtReply& reply, bool bFirstSimAccess, RilRequest* pRetry);
// The line the reply repeats, when it gave one information line more than
// once and nothing else (taken once); null otherwise.
const std::string* RepeatedLine(const AtReply& reply);
RilAnswer ErrorAnswer(int32_t hr);
// The radio power an answer tells of (AT+CFUN value), or -1.
int CfunFromAnswer(const RilRequest& request, const RilAnswer& answer);

// Pieces, for the tests.
std::string CrsmCommand(const RilSimCmd& cmd);
int32_t ErrorFromFinal(const AtFinal& final);
bool ParseCscaLine(const std::string& line, RILMSGCONFIG* pConfig, TeCharset charset = TeCharset::Gsm);
bool ParseCfunLine(const std::string& line, int* pCfun);
uint32_t EqStateFromCfun(int nCfun);
int CfunFromEqState(uint32_t dwEqState);  // -1 when there is none
