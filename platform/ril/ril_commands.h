// The AT side of each radio request: the command text it sends, the prefix of
// its information lines, and the answer the result callback gets from the
// modem's reply. Pure: no I/O, no globals.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "platform/ril/at_exchange.h"
#include "platform/ril/ril.h"
#include "platform/ril/sim_response.h"

enum class RilRequestKind { GetMsgConfig, SetMsgConfig, SimCmd, GetEquipmentState, SetEquipmentState };

struct RilRequest {
    RilRequestKind kind = RilRequestKind::GetMsgConfig;
    std::string command;  // without the CR
    std::string prefix;   // of the information lines; empty when none
    DWORD dwSimCommand = 0;
    int nCfun = -1;       // the power a set request asks for
    int nRecordLength = -1;  // READ RECORD: the bytes asked for (P3)
};

struct RilAnswer {
    DWORD dwCode = RIL_RESULT_ERROR;
    std::vector<BYTE> data;  // for RIL_RESULT_ERROR: one HRESULT
};

// Each fills *pRequest and returns S_OK, or a negative error for a request
// the modem must not see.
HRESULT BuildGetMsgConfig(RilRequest* pRequest);
HRESULT BuildSetMsgConfig(const RILMSGCONFIG* pConfig, RilRequest* pRequest);
HRESULT BuildSimCmd(DWORD dwCommand, const RILSIMCMDPARAMETERS* pParams, const BYTE* pbData,
                    DWORD cbData, RilRequest* pRequest);
HRESULT BuildGetEquipmentState(RilRequest* pRequest);
HRESULT BuildSetEquipmentState(DWORD dwEqState, RilRequest* pRequest);

// The answer to a finished exchange.
RilAnswer AnswerFromReply(const RilRequest& request, const AtReply& reply);
RilAnswer ErrorAnswer(HRESULT hr);
// The radio power an answer tells of (AT+CFUN value), or -1.
int CfunFromAnswer(const RilRequest& request, const RilAnswer& answer);

// Pieces, for the tests.
HRESULT ErrorFromFinal(const AtFinal& final);
bool ParseCscaLine(const std::string& line, RILMSGCONFIG* pConfig);
bool ParseCfunLine(const std::string& line, int* pCfun);
DWORD EqStateFromCfun(int nCfun);
int CfunFromEqState(DWORD dwEqState);  // -1 when there is none
