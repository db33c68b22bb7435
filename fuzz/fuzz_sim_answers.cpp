// The answer parsers of the RIL over any text: a USIM FCP template to the 2G
// layout, +CRSM, +CSCA in each character set, +CFUN, and whole replies to
// each request (AnswerFromReply, RetryOfSimCmd, RetryOfTransient; parameter
// bit 0x80: the connection's first SIM access). What a parser reads, written
// back in the modem's plain form, reads the same again; answers have the
// sizes the RIL's callers rely on; asking again comes to an end.
// Input: what to parse (byte % 5), a parameter byte, the text or bytes.
#include <cstring>

#include "fuzz/fuzz_support.h"
#include "platform/attext/at_text.h"
#include "platform/attext/hex_text.h"
#include "platform/ril/ril_commands.h"
#include "platform/ril/sim_response.h"
#include "platform/ril/svc_ctr_address.h"

namespace {

// TS 24.008 numbering-plan bits by RIL_NUMPLAN_ value.
const int kNpiOfPlan[] = {0, 1, 3, 4, 8, 9, 10};

void Fcp(const std::string& text) {
    std::vector<uint8_t> fcp(text.begin(), text.end()), gsm;
    bool ok = ConvertFcpToGsm(fcp, &gsm);
    QX_FUZZ_CHECK(ConvertFcpToGsm(fcp, nullptr) == ok, "the same verdict without a target");
    if (ok) QX_FUZZ_CHECK(gsm.size() == 15, "the 2G GET RESPONSE layout has 15 bytes");
}

void Crsm(const std::string& line) {
    int sw1 = -1, sw2 = -1, bare1 = -1, bare2 = -1;
    std::vector<uint8_t> response;
    bool ok = ParseCrsmLine(line, &sw1, &sw2, &response);
    bool okBare = ParseCrsmLine(line, &bare1, &bare2, nullptr);
    if (!ok) return;
    QX_FUZZ_CHECK(okBare && bare1 == sw1 && bare2 == sw2, "status words alone read as with the response");
    QX_FUZZ_CHECK(sw1 >= 0 && sw1 <= 255 && sw2 >= 0 && sw2 <= 255, "status words are bytes");
    std::string again = "+CRSM: " + std::to_string(sw1) + "," + std::to_string(sw2);
    if (!response.empty()) again += ",\"" + HexEncode(response) + "\"";
    int a1 = -1, a2 = -1;
    std::vector<uint8_t> r2;
    QX_FUZZ_CHECK(ParseCrsmLine(again, &a1, &a2, &r2) && a1 == sw1 && a2 == sw2 && r2 == response,
                  "written back, it reads the same");
}

void Csca(const std::string& line, TeCharset charset) {
    RILMSGCONFIG c;
    if (!ParseCscaLine(line, &c, charset)) return;
    const RILADDRESS& a = c.raSvcCtrAddress;
    QX_FUZZ_CHECK(c.cbSize == sizeof c && a.cbSize == sizeof a, "structure sizes");
    QX_FUZZ_CHECK(a.dwType <= RIL_ADDRTYPE_ABBREV && a.dwNumPlan <= RIL_NUMPLAN_ERMES, "type and plan in range");
    size_t len = 0;
    while (len < MAXLENGTH_ADDRESS && a.wszAddress[len]) ++len;
    QX_FUZZ_CHECK(len <= 20, "at most twenty digits, terminated");
    std::string address;
    for (size_t i = 0; i < len; ++i) {
        Char16 ch = a.wszAddress[i];
        QX_FUZZ_CHECK(ch != '+' && ch < 0x80, "digits only, the plus is the type");
        address += static_cast<char>(ch);
    }
    QX_FUZZ_CHECK(RilIsSendableSvcCtrAddress(a.wszAddress), "what is read can be sent back");
    // The type as its octet, without the "+": TON and NPI say it all.
    int octet = 0x80 | static_cast<int>(a.dwType) << 4 | kNpiOfPlan[a.dwNumPlan];
    std::string again = "+CSCA: \"" + EncodeTeString(address, charset) + "\"," + std::to_string(octet);
    RILMSGCONFIG c2;
    QX_FUZZ_CHECK(ParseCscaLine(again, &c2, charset) && memcmp(&c, &c2, sizeof c) == 0,
                  "written back, it reads the same");
}

void Cfun(const std::string& line) {
    int cfun = -1;
    if (!ParseCfunLine(line, &cfun)) return;
    QX_FUZZ_CHECK(cfun >= 0 && cfun <= 255, "a power value is a byte");
    int again = -1;
    QX_FUZZ_CHECK(ParseCfunLine("+CFUN: " + std::to_string(cfun), &again) && again == cfun, "reads the same");
}

// A request of each kind, as the program makes them.
bool BuildRequest(uint8_t which, RilRequest* pRequest) {
    RILSIMCMDPARAMETERS p = {sizeof p, RIL_PARAM_SCP_ALL, 0x6F17, 1, 4, 28};
    switch (which % 8) {
        case 0: return BuildGetMsgConfig(pRequest) == kRilRequestTaken;
        case 1: {
            RILMSGCONFIG c = {};
            c.raSvcCtrAddress.dwType = RIL_ADDRTYPE_INTERNATIONAL;
            Copy16(c.raSvcCtrAddress.wszAddress, T16("441234567890"));
            return BuildSetMsgConfig(&c, pRequest) == kRilRequestTaken;
        }
        case 2: return BuildSimCmd(RIL_SIMCMD_READRECORD, &p, nullptr, 0, pRequest) == kRilRequestTaken;
        case 3:
            p.dwFileID = 0x6FC7;
            p.dwParameter1 = p.dwParameter2 = p.dwParameter3 = 0;
            return BuildSimCmd(RIL_SIMCMD_GETRESPONSE, &p, nullptr, 0, pRequest) == kRilRequestTaken;
        case 4: {
            uint8_t record[28];
            memset(record, 0xFF, sizeof record);
            return BuildSimCmd(RIL_SIMCMD_UPDATERECORD, &p, record, sizeof record, pRequest) == kRilRequestTaken;
        }
        case 5: return BuildGetEquipmentState(pRequest) == kRilRequestTaken;
        case 6: return BuildSetEquipmentState(RIL_EQSTATE_FULL, pRequest) == kRilRequestTaken;
        default:
            p.dwParams = RIL_PARAM_SCP_FILEID;
            return BuildSimCmd(RIL_SIMCMD_GETRESPONSE, &p, nullptr, 0, pRequest) == kRilRequestTaken;
    }
}

void Reply(uint8_t param, const std::string& text) {
    RilRequest request;
    QX_FUZZ_CHECK(BuildRequest(param, &request), "the program's requests are taken");
    AtDialect dialect;
    dialect.charset = static_cast<TeCharset>((param >> 3) & 3);
    dialect.bSimPaths = param & 0x20;
    FitRequestToModem(&request, dialect);

    // Lines of the text; the last one ends the reply when it is a final result.
    AtReply reply;
    size_t pos = 0;
    while (pos <= text.size()) {
        size_t end = text.find('\n', pos);
        if (end == std::string::npos) end = text.size();
        reply.lines.push_back(text.substr(pos, end - pos));
        pos = end + 1;
    }
    if (ParseAtFinal(reply.lines.back(), (param & 0x40) != 0, &reply.final)) reply.lines.pop_back();

    RilAnswer answer = AnswerFromReply(request, reply, dialect);
    int32_t hr = 0;
    switch (answer.dwCode) {
        case RIL_RESULT_OK:
            if (request.kind == RilRequestKind::GetMsgConfig) {
                QX_FUZZ_CHECK(answer.data.size() == sizeof(RILMSGCONFIG), "a whole RILMSGCONFIG");
            } else if (request.kind == RilRequestKind::GetEquipmentState) {
                QX_FUZZ_CHECK(answer.data.size() == sizeof(RILEQUIPMENTSTATE), "a whole RILEQUIPMENTSTATE");
            } else if (request.kind == RilRequestKind::SimCmd) {
                uint32_t cb = 0;
                QX_FUZZ_CHECK(answer.data.size() >= RILSIMRESPONSE_HEADER_SIZE, "a RILSIMRESPONSE header");
                memcpy(&cb, answer.data.data(), sizeof cb);
                QX_FUZZ_CHECK(cb == answer.data.size(), "cbSize is the answer's size");
                if (request.nRecordLength >= 0)
                    QX_FUZZ_CHECK(cb == RILSIMRESPONSE_HEADER_SIZE + static_cast<uint32_t>(request.nRecordLength),
                                  "a record read brings the record asked for");
            } else {
                QX_FUZZ_CHECK(answer.data.empty(), "a set request answers no data");
            }
            break;
        case RIL_RESULT_ERROR:
            QX_FUZZ_CHECK(answer.data.size() == sizeof hr, "an error carries one HRESULT");
            memcpy(&hr, answer.data.data(), sizeof hr);
            QX_FUZZ_CHECK(hr < 0, "an error HRESULT is a failure");
            break;
        default:
            QX_FUZZ_CHECK(IsCallProgress(reply.final.kind) && answer.data.empty(), "only call progress else");
    }

    // Asked again at most twice: once for the length, once for the path.
    RilRequest current = request, again;
    int retries = 0;
    while (RetryOfSimCmd(current, reply, &again)) {
        QX_FUZZ_CHECK(++retries <= 2 && again.command != current.command, "asking again comes to an end");
        current = again;
    }
    // A transient answer: the same command again, a few times at most.
    current = request;
    retries = 0;
    while (RetryOfTransient(current, reply, (param & 0x80) != 0, &again)) {
        QX_FUZZ_CHECK(++retries <= kMaxTransientRetries && again.command == current.command,
                      "asking again after a pause comes to an end");
        current = again;
    }
    QX_FUZZ_CHECK(retries == 0 || answer.dwCode != RIL_RESULT_OK, "only a failing answer is asked again");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzBytes in(data, size);
    uint8_t which = in.Byte();
    uint8_t param = in.Byte();
    std::string text = in.Rest();
    switch (which % 5) {
        case 0: Fcp(text); break;
        case 1: Crsm(text); break;
        case 2: Csca(text, static_cast<TeCharset>(param & 3)); break;
        case 3: Cfun(text); break;
        default: Reply(param, text);
    }
    return 0;
}
