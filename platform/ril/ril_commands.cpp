// Radio requests in AT commands (TS 27.007 +CFUN, +CRSM; TS 27.005 +CSCA) and
// the answers built from the modem's replies.
#include "platform/ril/ril_commands.h"

#include <cstdio>
#include <cstring>

#include "platform/attext/at_text.h"
#include "platform/attext/hex_text.h"
#include "platform/ril/svc_ctr_address.h"

namespace {

// An address as a modem gives it: an optional "+", then dial characters. "+"
// alone is international without digits: how an empty one is written with 145.
bool IsAddressText(const std::string& s) {
    // A NUL would end the check early but not the copy that follows it.
    if (s.find('\0') != std::string::npos) return false;
    if (s == "+") return true;
    Text16 w(s.begin(), s.end());
    return RilIsSendableSvcCtrAddress(w.c_str(), w.size() + 1);
}

bool IsUnicodeCharset(TeCharset cs) { return cs == TeCharset::Ucs2 || cs == TeCharset::Hex; }

std::string CscaSetCommand(const std::string& address, int nTypeOctet, TeCharset charset) {
    return "AT+CSCA=\"" + EncodeTeString(address, charset) + "\"," + std::to_string(nTypeOctet);
}

// TS 24.008 10.5.4.7: numbering-plan bits of the type octet, by RIL_NUMPLAN_ value.
const int kNpiOfPlan[] = {0, 1, 3, 4, 8, 9, 10};

uint32_t PlanFromNpi(int npi) {
    for (uint32_t plan = 0; plan < sizeof(kNpiOfPlan) / sizeof(kNpiOfPlan[0]); ++plan)
        if (kNpiOfPlan[plan] == npi) return plan;
    return RIL_NUMPLAN_UNKNOWN;
}

std::vector<uint8_t> HresultBytes(int32_t hr) {
    std::vector<uint8_t> b(sizeof hr);
    memcpy(b.data(), &hr, sizeof hr);
    return b;
}

template <typename T>
std::vector<uint8_t> StructBytes(const T& value) {
    std::vector<uint8_t> b(sizeof(T));
    memcpy(b.data(), &value, sizeof(T));
    return b;
}

// The one information line of a reply; an identical line given again (seen
// from modems and in Gammu's dispatch tests) says nothing new.
const AtReply* OnlyLine(const AtReply& reply) {
    return reply.lines.size() == 1 || RepeatedLine(reply) ? &reply : nullptr;
}

bool IsBusy(const AtFinal& final) {
    return (final.kind == AtFinalKind::CmeError && (final.nCode == 14 || final.nCode == 515)) ||
           (final.kind == AtFinalKind::CmsError && final.nCode == 314);
}

RilAnswer SimAnswer(const RilRequest& request, const AtReply& reply) {
    int sw1 = 0, sw2 = 0;
    std::vector<uint8_t> response;
    if (!OnlyLine(reply) || !ParseCrsmLine(reply.lines[0], &sw1, &sw2, &response))
        return ErrorAnswer(RIL_E_INVALIDRESPONSE);
    if (!IsSimSuccess(sw1, sw2)) return ErrorAnswer(RIL_E_SIMSTATUS(sw1, sw2));
    // A record read that brings fewer or more bytes than asked for is no record.
    if (request.nRecordLength >= 0 && response.size() != static_cast<size_t>(request.nRecordLength))
        return ErrorAnswer(RIL_E_INVALIDRESPONSE);
    if (request.dwSimCommand == RIL_SIMCMD_GETRESPONSE && !response.empty() && response[0] == 0x62) {
        std::vector<uint8_t> gsm;
        if (!ConvertFcpToGsm(response, &gsm)) return ErrorAnswer(RIL_E_INVALIDRESPONSE);
        response = gsm;
    }
    RilAnswer a;
    a.dwCode = RIL_RESULT_OK;
    a.data.assign(RILSIMRESPONSE_HEADER_SIZE, 0);
    uint32_t header[4] = {static_cast<uint32_t>(RILSIMRESPONSE_HEADER_SIZE + response.size()),
                          RIL_PARAM_SR_ALL, static_cast<uint32_t>(sw1), static_cast<uint32_t>(sw2)};
    memcpy(a.data.data(), header, sizeof header);
    a.data.insert(a.data.end(), response.begin(), response.end());
    return a;
}

}  // namespace

int32_t ErrorFromFinal(const AtFinal& final) {
    switch (final.kind) {
        case AtFinalKind::CmeError:
            switch (final.nCode) {
                case 0: return RIL_E_PHONEFAILURE;
                case 3: return RIL_E_OPNOTALLOWED;
                case 4: return RIL_E_OPNOTSUPPORTED;
                case 10: return RIL_E_SIMNOTINSERTED;
                case 11: return RIL_E_SIMPINREQUIRED;
                case 13: return RIL_E_SIMFAILURE;
                case 14: return RIL_E_SIMBUSY;
                case 15: return RIL_E_SIMWRONG;
                case 30: return RIL_E_NOSERVICE;
                default: return RIL_E_UNKNOWN;
            }
        case AtFinalKind::CmsError:
            switch (final.nCode) {
                case 310: return RIL_E_SIMNOTINSERTED;
                case 330: return RIL_E_SMSCADDRUNKNOWN;
                default: return RIL_E_MSGSVCFAILURE;
            }
        case AtFinalKind::Unsupported:
            return RIL_E_OPNOTSUPPORTED;
        default:
            return RIL_E_PHONEFAILURE;
    }
}

RilAnswer ErrorAnswer(int32_t hr) {
    RilAnswer a;
    a.dwCode = RIL_RESULT_ERROR;
    a.data = HresultBytes(hr);
    return a;
}

int32_t BuildGetMsgConfig(RilRequest* pRequest) {
    *pRequest = RilRequest();
    pRequest->kind = RilRequestKind::GetMsgConfig;
    pRequest->command = "AT+CSCA?";
    pRequest->prefix = "+CSCA:";
    return kRilRequestTaken;
}

int32_t BuildSetMsgConfig(const RILMSGCONFIG* pConfig, RilRequest* pRequest) {
    if (!pConfig) return RIL_E_INVALIDARG;
    const RILADDRESS& a = pConfig->raSvcCtrAddress;
    uint32_t type = RIL_ADDRTYPE_UNKNOWN, plan = RIL_NUMPLAN_TELEPHONE;
    // A configuration never read (all zero, as after a failed read) carries
    // only what its caller put in: an address and its type. Sent when it
    // holds an address; an empty one says nothing and sets nothing.
    bool bBare = pConfig->cbSize == 0 && pConfig->dwParams == 0 && a.cbSize == 0 && a.dwParams == 0 &&
                 a.dwNumPlan == 0;
    if (bBare) {
        if (!a.wszAddress[0]) return RIL_E_INVALIDARG;
        type = a.dwType;
    } else {
        if (pConfig->cbSize < sizeof(RILMSGCONFIG) || !(pConfig->dwParams & RIL_PARAM_MC_SVCCTRADDRESS) ||
            !(a.dwParams & RIL_PARAM_A_ADDRESS))
            return RIL_E_INVALIDARG;
        if (a.dwParams & RIL_PARAM_A_TYPE) type = a.dwType;
        if (a.dwParams & RIL_PARAM_A_NUMPLAN) plan = a.dwNumPlan;
    }
    if (type > RIL_ADDRTYPE_ABBREV || plan > RIL_NUMPLAN_ERMES) return RIL_E_INVALIDARG;
    // Only dialling characters go between the quotes of the command.
    if (!RilIsSendableSvcCtrAddress(a.wszAddress)) return RIL_E_INVALIDARG;
    std::string digits;
    for (size_t i = a.wszAddress[0] == '+' ? 1 : 0; a.wszAddress[i]; ++i)
        digits += static_cast<char>(a.wszAddress[i]);
    if (a.wszAddress[0] == '+') type = RIL_ADDRTYPE_INTERNATIONAL;

    *pRequest = RilRequest();
    pRequest->kind = RilRequestKind::SetMsgConfig;
    pRequest->address = (type == RIL_ADDRTYPE_INTERNATIONAL ? "+" : "") + digits;
    pRequest->nTypeOctet = 0x80 | static_cast<int>(type) << 4 | kNpiOfPlan[plan];
    pRequest->command = CscaSetCommand(pRequest->address, pRequest->nTypeOctet, TeCharset::Gsm);
    return kRilRequestTaken;
}

std::string CrsmCommand(const RilSimCmd& c) {
    std::string text = "AT+CRSM=" + std::to_string(c.nCommand);
    if (c.nFileId >= 0) text += "," + std::to_string(c.nFileId);
    if (c.bApdu) text += "," + std::to_string(c.p1) + "," + std::to_string(c.p2) + "," + std::to_string(c.p3);
    if (!c.data.empty() || !c.path.empty()) text += ",\"" + c.data + "\"";
    if (!c.path.empty()) text += ",\"" + c.path + "\"";
    return text;
}

int32_t BuildSimCmd(uint32_t dwCommand, const RILSIMCMDPARAMETERS* pParams, const uint8_t* pbData,
                    uint32_t cbData, RilRequest* pRequest) {
    static const int kCrsm[] = {0, 176, 178, 192, 214, 220, 242};
    if (dwCommand < RIL_SIMCMD_READBINARY || dwCommand > RIL_SIMCMD_STATUS) return RIL_E_INVALIDARG;
    if (cbData > 255 || (cbData && !pbData)) return RIL_E_INVALIDARG;
    RilSimCmd c;
    c.nCommand = kCrsm[dwCommand];
    if (pParams) {
        if (pParams->cbSize < sizeof(RILSIMCMDPARAMETERS)) return RIL_E_INVALIDARG;
        uint32_t p = pParams->dwParams;
        uint32_t apdu = p & (RIL_PARAM_SCP_PARAM1 | RIL_PARAM_SCP_PARAM2 | RIL_PARAM_SCP_PARAM3);
        if (apdu && apdu != (RIL_PARAM_SCP_PARAM1 | RIL_PARAM_SCP_PARAM2 | RIL_PARAM_SCP_PARAM3))
            return RIL_E_INVALIDARG;
        if (apdu && !(p & RIL_PARAM_SCP_FILEID)) return RIL_E_INVALIDARG;
        if (p & RIL_PARAM_SCP_FILEID) {
            if (pParams->dwFileID > 0xFFFF) return RIL_E_INVALIDARG;
            c.nFileId = static_cast<int>(pParams->dwFileID);
        }
        if (apdu) {
            if (pParams->dwParameter1 > 255 || pParams->dwParameter2 > 255 || pParams->dwParameter3 > 255)
                return RIL_E_INVALIDARG;
            c.bApdu = true;
            c.p1 = static_cast<int>(pParams->dwParameter1);
            c.p2 = static_cast<int>(pParams->dwParameter2);
            c.p3 = static_cast<int>(pParams->dwParameter3);
        } else if (cbData) {
            return RIL_E_INVALIDARG;
        }
        if (!(p & RIL_PARAM_SCP_FILEID) && dwCommand != RIL_SIMCMD_STATUS) return RIL_E_INVALIDARG;
    } else if (dwCommand != RIL_SIMCMD_STATUS || cbData) {
        return RIL_E_INVALIDARG;
    }
    if (cbData) c.data = HexEncode(pbData, cbData);
    *pRequest = RilRequest();
    pRequest->kind = RilRequestKind::SimCmd;
    pRequest->command = CrsmCommand(c);
    pRequest->prefix = "+CRSM:";
    pRequest->dwSimCommand = dwCommand;
    if (dwCommand == RIL_SIMCMD_READRECORD && c.bApdu) pRequest->nRecordLength = c.p3;
    pRequest->sim = std::move(c);
    return kRilRequestTaken;
}

int32_t BuildGetEquipmentState(RilRequest* pRequest) {
    *pRequest = RilRequest();
    pRequest->kind = RilRequestKind::GetEquipmentState;
    pRequest->command = "AT+CFUN?";
    pRequest->prefix = "+CFUN:";
    return kRilRequestTaken;
}

int32_t BuildSetEquipmentState(uint32_t dwEqState, RilRequest* pRequest) {
    int cfun = CfunFromEqState(dwEqState);
    if (cfun < 0) return RIL_E_INVALIDARG;
    *pRequest = RilRequest();
    pRequest->kind = RilRequestKind::SetEquipmentState;
    pRequest->command = "AT+CFUN=" + std::to_string(cfun);
    pRequest->nCfun = cfun;
    return kRilRequestTaken;
}

void FitRequestToModem(RilRequest* pRequest, const AtDialect& dialect) {
    if (pRequest->kind == RilRequestKind::SetMsgConfig && IsUnicodeCharset(dialect.charset)) {
        pRequest->command = CscaSetCommand(pRequest->address, pRequest->nTypeOctet, dialect.charset);
    } else if (pRequest->kind == RilRequestKind::SimCmd && dialect.bSimPaths && pRequest->sim.bApdu &&
               pRequest->sim.path.empty() && *MailboxFilePath(pRequest->sim.nFileId)) {
        pRequest->sim.path = MailboxFilePath(pRequest->sim.nFileId);
        pRequest->command = CrsmCommand(pRequest->sim);
    }
}

bool RetryOfSimCmd(const RilRequest& request, const AtReply& reply, RilRequest* pRetry) {
    const RilSimCmd& c = request.sim;
    int sw1 = 0, sw2 = 0;
    if (request.kind != RilRequestKind::SimCmd || !c.bApdu || reply.final.kind != AtFinalKind::Ok ||
        reply.lines.size() != 1 || !ParseCrsmLine(reply.lines[0], &sw1, &sw2, nullptr))
        return false;
    // Wrong length: the card says in SW2 which it wants (TS 51.011 9.4.4, TS 102.221 10.2.1.3).
    bool bLength = c.nCommand == 192 && (sw1 == 0x67 || sw1 == 0x6C) && sw2 != 0 && !c.bLengthRetried;
    // File not found: some modems find a file below the master file only by its path.
    bool bPath = ((sw1 == 0x94 && sw2 == 0x04) || (sw1 == 0x6A && sw2 == 0x82)) && c.path.empty() &&
                 !c.bPathRetried && *MailboxFilePath(c.nFileId);
    if (!bLength && !bPath) return false;
    *pRetry = request;
    if (bLength) {
        pRetry->sim.p3 = sw2;
        pRetry->sim.bLengthRetried = true;
    } else {
        pRetry->sim.path = MailboxFilePath(c.nFileId);
        pRetry->sim.bPathRetried = true;
    }
    pRetry->command = CrsmCommand(pRetry->sim);
    return true;
}

bool RetryOfTransient(const RilRequest& request, const AtReply& reply, bool bFirstSimAccess, RilRequest* pRetry) {
    if (request.nTransientRetries >= kMaxTransientRetries) return false;
    bool bBusy = IsBusy(reply.final);
    int sw1 = 0, sw2 = 0;
    std::vector<uint8_t> data;
    bool bFirstSim = bFirstSimAccess && request.kind == RilRequestKind::SimCmd &&
                     reply.final.kind == AtFinalKind::Ok && reply.lines.size() == 1 &&
                     ParseCrsmLine(reply.lines[0], &sw1, &sw2, &data) && sw1 == 0x6A && sw2 == 0x86 &&
                     data.empty();
    if (!bBusy && !bFirstSim) return false;
    *pRetry = request;
    ++pRetry->nTransientRetries;
    return true;
}

const std::string* RepeatedLine(const AtReply& reply) {
    if (reply.lines.size() < 2) return nullptr;
    for (const std::string& line : reply.lines)
        if (line != reply.lines[0]) return nullptr;
    return &reply.lines[0];
}

RilAnswer AnswerFromReply(const RilRequest& request, const AtReply& reply, const AtDialect& dialect) {
    RilAnswer a;
    switch (reply.final.kind) {
        case AtFinalKind::Ok: break;
        case AtFinalKind::NoCarrier: a.dwCode = RIL_RESULT_NOCARRIER; return a;
        case AtFinalKind::Busy: a.dwCode = RIL_RESULT_BUSY; return a;
        case AtFinalKind::NoAnswer: a.dwCode = RIL_RESULT_NOANSWER; return a;
        case AtFinalKind::NoDialtone: a.dwCode = RIL_RESULT_NODIALTONE; return a;
        default: return ErrorAnswer(ErrorFromFinal(reply.final));
    }
    switch (request.kind) {
        case RilRequestKind::GetMsgConfig: {
            RILMSGCONFIG config;
            if (!OnlyLine(reply) || !ParseCscaLine(reply.lines[0], &config, dialect.charset))
                return ErrorAnswer(RIL_E_INVALIDRESPONSE);
            a.dwCode = RIL_RESULT_OK;
            a.data = StructBytes(config);
            return a;
        }
        case RilRequestKind::SimCmd:
            return SimAnswer(request, reply);
        case RilRequestKind::GetEquipmentState: {
            int cfun = -1;
            if (!OnlyLine(reply) || !ParseCfunLine(reply.lines[0], &cfun))
                return ErrorAnswer(RIL_E_INVALIDRESPONSE);
            RILEQUIPMENTSTATE eq = {};
            eq.cbSize = sizeof eq;
            eq.dwParams = RIL_PARAM_EQUIPMENTSTATE_ALL;
            eq.dwEqState = EqStateFromCfun(cfun);
            eq.dwRadioSupport = cfun == 1 ? RIL_RADIOSUPPORT_ON : RIL_RADIOSUPPORT_OFF;
            eq.dwReadyState = RIL_READYSTATE_NONE;
            a.dwCode = RIL_RESULT_OK;
            a.data = StructBytes(eq);
            return a;
        }
        default:
            a.dwCode = RIL_RESULT_OK;
            return a;
    }
}

int CfunFromAnswer(const RilRequest& request, const RilAnswer& answer) {
    if (answer.dwCode != RIL_RESULT_OK) return -1;
    if (request.kind == RilRequestKind::SetEquipmentState) return request.nCfun;
    if (request.kind == RilRequestKind::GetEquipmentState &&
        answer.data.size() == sizeof(RILEQUIPMENTSTATE)) {
        RILEQUIPMENTSTATE eq;
        memcpy(&eq, answer.data.data(), sizeof eq);
        return CfunFromEqState(eq.dwEqState);
    }
    return -1;
}

bool ParseCscaLine(const std::string& line, RILMSGCONFIG* pConfig, TeCharset charset) {
    if (!StartsWithNoCase(line, "+CSCA:")) return false;
    std::string rest = TrimBlanks(line.substr(6));
    std::string address, tail, decoded;
    if (!rest.empty() && rest[0] == '"') {
        size_t close = rest.find('"', 1);
        if (close == std::string::npos) return false;
        address = rest.substr(1, close - 1);
        tail = TrimBlanks(rest.substr(close + 1));
        // In UCS2 or HEX the address comes as hex ("002B0034..."); a modem that
        // gives it plain all the same is read as it is.
        if (IsUnicodeCharset(charset) && DecodeTeString(address, charset, &decoded) && IsAddressText(decoded))
            address = decoded;
    } else {
        // Without quotes only hex in the set in force (Gammu's test data has a
        // Motorola's "+CSCA: 002B0033...,145"); hex cannot hold a comma.
        size_t comma = rest.find(',');
        tail = comma == std::string::npos ? std::string() : rest.substr(comma);
        std::string hex = TrimBlanks(rest.substr(0, comma));
        if (hex.empty() || !IsUnicodeCharset(charset) || !DecodeTeString(hex, charset, &address)) return false;
    }
    if (!IsAddressText(address)) return false;
    bool plus = !address.empty() && address[0] == '+';
    if (plus) address.erase(0, 1);
    int octet = plus ? 0x91 : 0x81;  // TS 27.005 3.1: 145 with "+", else 129
    if (!tail.empty() && (tail[0] != ',' || !ParseDecimal(tail.substr(1), 255, &octet))) return false;

    RILMSGCONFIG c = {};
    c.cbSize = sizeof c;
    c.dwParams = RIL_PARAM_MC_SVCCTRADDRESS;
    c.raSvcCtrAddress.cbSize = sizeof(RILADDRESS);
    c.raSvcCtrAddress.dwParams = RIL_PARAM_A_ALL;
    int ton = (octet >> 4) & 0x7;
    c.raSvcCtrAddress.dwType = plus ? RIL_ADDRTYPE_INTERNATIONAL
                                    : (ton <= 6 ? static_cast<uint32_t>(ton) : RIL_ADDRTYPE_UNKNOWN);
    c.raSvcCtrAddress.dwNumPlan = PlanFromNpi(octet & 0xF);
    for (size_t i = 0; i < address.size(); ++i)
        c.raSvcCtrAddress.wszAddress[i] = static_cast<Char16>(address[i]);
    if (pConfig) *pConfig = c;
    return true;
}

bool ParseCfunLine(const std::string& line, int* pCfun) {
    if (!StartsWithNoCase(line, "+CFUN:")) return false;
    std::string rest = line.substr(6);
    return ParseDecimal(rest.substr(0, rest.find(',')), 255, pCfun);
}

uint32_t EqStateFromCfun(int nCfun) {
    switch (nCfun) {
        case 0: return RIL_EQSTATE_MINIMUM;
        case 1: return RIL_EQSTATE_FULL;
        case 2: return RIL_EQSTATE_DISABLETX;
        case 3: return RIL_EQSTATE_DISABLERX;
        case 4: return RIL_EQSTATE_DISABLETXANDRX;
        default: return RIL_EQSTATE_UNKNOWN;
    }
}

int CfunFromEqState(uint32_t dwEqState) {
    switch (dwEqState) {
        case RIL_EQSTATE_MINIMUM: return 0;
        case RIL_EQSTATE_FULL: return 1;
        case RIL_EQSTATE_DISABLETX: return 2;
        case RIL_EQSTATE_DISABLERX: return 3;
        case RIL_EQSTATE_DISABLETXANDRX: return 4;
        default: return -1;
    }
}
