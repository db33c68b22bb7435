// The RIL against the simulated modem: requests built with the Build*
// functions from the fuzzer's parameters go, as the RIL sends them, to a
// SimModem on a card in memory; the modem's output, split at random, goes
// through AtLineParser and AtExchange (asked again where the RIL asks again)
// and AnswerFromReply. Every answer agrees with the card: the service centre
// read is the card's, a READ RECORD brings the card's record, a GET RESPONSE
// the file's record length and size, the power the card's radio; what a
// request sets is on the card afterwards, and reads back as set. In each
// dialect of modem_dialect.h, with and without the RIL's own set-up.
// Input: the card (radio, service centre, type, SIM type, dialects, files
// and records), the set-up and faults byte, a split seed, then requests.
#include <algorithm>
#include <cstring>

#include "fuzz/fuzz_support.h"
#include "platform/attext/hex_text.h"
#include "platform/modem/sim_modem.h"
#include "platform/ril/at_setup.h"
#include "platform/ril/ril_commands.h"

namespace {

const char kDialChars[] = "0123456789*#abcABC";
const uint32_t kAllDialects = (kDialectPathOnly << 1) - 1;
const int kNpiOfPlan[] = {0, 1, 3, 4, 8, 9, 10};
const size_t kMaxRequests = 12;

// QX_FUZZ_TRACE=1: the card and each exchange on standard error, to read a finding.
bool Tracing() {
    static const bool bTrace = getenv("QX_FUZZ_TRACE") != nullptr;
    return bTrace;
}

std::string Digits(FuzzBytes* in, size_t n) {
    std::string s;
    while (n--) s += kDialChars[in->Byte() % (sizeof kDialChars - 1)];
    return s;
}

// A card in the card format, from the fuzzer's bytes.
std::string MakeCard(FuzzBytes* in) {
    static const char* const kRadio[] = {"off", "on", "flight"};
    std::string text = std::string("radio ") + kRadio[in->Byte() % 3] + "\n";
    uint8_t smsc = in->Byte();
    std::string address = (smsc & 1 ? "+" : "") + Digits(in, (smsc >> 1) % 21);
    text += "smsc " + (address.empty() ? std::string("\"\"") : address) + " " + std::to_string(in->Byte()) + "\n";
    text += in->Byte() & 1 ? "sim USIM\n" : "sim 2G\n";
    uint32_t dialects = in->Word() & kAllDialects;
    if (dialects) text += "dialect " + DialectNames(dialects) + "\n";
    std::vector<uint16_t> ids;
    for (int nFiles = in->Byte() % 4; nFiles; --nFiles) {
        uint8_t pick = in->Byte();
        uint16_t id = pick % 3 == 0 ? 0x6F17 : pick % 3 == 1 ? 0x6FC7 : in->Word();
        int reclen = 1 + in->Byte() % 255;
        int records = 1 + in->Byte() % 254;
        if (std::find(ids.begin(), ids.end(), id) != ids.end()) continue;
        ids.push_back(id);
        char line[64];
        snprintf(line, sizeof line, "file %04X reclen %d records %d\n", id, reclen, records);
        text += line;
        std::vector<int> listed;
        for (int nRecords = in->Byte() % 4; nRecords; --nRecords) {
            int k = 1 + in->Byte() % records;
            std::vector<uint8_t> bytes;
            for (int i = 0; i < reclen; ++i) bytes.push_back(in->Byte());
            if (std::find(listed.begin(), listed.end(), k) != listed.end()) continue;
            listed.push_back(k);
            text += "record " + std::to_string(k) + " " + HexEncode(bytes) + "\n";
        }
    }
    return text;
}

// The card as its text stands; read again only when the text changed.
const SimCard& ReadCard(const std::string& text) {
    static std::string s_text;
    static SimCard s_card;
    static bool s_bRead = false;
    if (!s_bRead || text != s_text) {
        std::string error;
        SimCard card;
        bool ok = ParseSimCard(text, &card, &error);
        if (!ok) fprintf(stderr, "card: %s\n", error.c_str());
        QX_FUZZ_CHECK(ok, "the card reads");
        s_text = text;
        s_card = std::move(card);
        s_bRead = true;
    }
    return s_card;
}

// The RIL's side of one connection to the modem, as ril_session.cpp and
// at_channel.cpp run it, without threads or time.
class Connection {
public:
    Connection(std::string* pCard, const ModemFaults& faults, uint32_t seed)
        : m_modem(std::make_unique<SimCardTextSlot>(pCard)), m_rng(seed) {
        m_modem.SetFaults(faults);
    }

    // The set-up; every command gets a final result.
    void SetUp() {
        AtSetup setup;
        while (const char* command = setup.Command()) {
            RilRequest r;
            r.command = command;
            r.prefix = setup.Prefix();
            AtReply reply;
            QX_FUZZ_CHECK(Exchange(r, &reply), "every set-up command gets its final result");
            setup.OnReply(&reply, &m_dialect);
        }
    }

    // A request as the RIL sends it, asked again where the RIL asks again.
    RilAnswer Send(RilRequest request) {
        AtReply reply;
        for (;;) {
            FitRequestToModem(&request, m_dialect);
            QX_FUZZ_CHECK(Exchange(request, &reply), "every request gets its final result");
            RilRequest again;
            if (RetryOfTransient(request, reply, !m_dialect.bSimAnswered, &again)) {
                request = std::move(again);
                continue;
            }
            if (request.kind == RilRequestKind::SimCmd) m_dialect.bSimAnswered = true;
            if (!RetryOfSimCmd(request, reply, &again)) break;
            if (again.sim.bPathRetried) m_dialect.bSimPaths = true;
            request = std::move(again);
        }
        return AnswerFromReply(request, reply, m_dialect);
    }

    const AtDialect& Dialect() const { return m_dialect; }

private:
    bool Exchange(const RilRequest& request, AtReply* pReply) {
        m_exchange.Begin(request.command, request.prefix, !m_dialect.bVerbose);
        std::string out = m_modem.Answer(request.command);
        if (Tracing()) fprintf(stderr, "> %s\n< %s\n", request.command.c_str(), out.c_str());
        bool final = false;
        for (const std::string& line : FeedInChunks(&m_parser, out, &m_rng, 1 + m_rng.Next() % 48)) {
            QX_FUZZ_CHECK(!final, "nothing follows the final result");
            if (m_exchange.OnLine(line) == AtExchange::Use::Final) final = true;
        }
        *pReply = m_exchange.Reply();
        return final;
    }

    SimModem m_modem;
    AtLineParser m_parser;
    AtExchange m_exchange;
    AtDialect m_dialect;
    SplitRng m_rng;
};

class Session {
public:
    Session(std::string* pCard, const ModemFaults& faults, uint32_t seed)
        : m_pCard(pCard), m_link(pCard, faults, seed), m_bWriteFails(faults.bCardWriteFails) {
        const SimCard& card = ReadCard(*pCard);
        m_dwDialects = card.dwDialects;
        m_nCfunOverride = (m_dwDialects & kDialectCfun4) ? 4 : -1;
    }

    void SetUp() {
        m_link.SetUp();
        // What the set-up learns is what the modem does.
        TeCharset kept = (m_dwDialects & kDialectUcs2)  ? TeCharset::Ucs2
                         : (m_dwDialects & kDialectHex) ? TeCharset::Hex
                                                        : TeCharset::Ira;
        QX_FUZZ_CHECK(m_link.Dialect().bVerbose, "the modem takes ATV1");
        QX_FUZZ_CHECK(m_link.Dialect().charset == ((m_dwDialects & kDialectKeepCharset) ? kept : TeCharset::Gsm),
                      "the set-up learns the modem's character set");
    }

    RILMSGCONFIG GetMsgConfig() {
        const SimCard& card = ReadCard(*m_pCard);
        RilRequest r;
        BuildGetMsgConfig(&r);
        RilAnswer a = m_link.Send(r);
        QX_FUZZ_CHECK(a.dwCode == RIL_RESULT_OK, "the card's service centre is read");
        RILMSGCONFIG c;
        QX_FUZZ_CHECK(a.data.size() == sizeof c, "a whole RILMSGCONFIG");
        memcpy(&c, a.data.data(), sizeof c);
        bool plus = !card.smscAddress.empty() && card.smscAddress[0] == '+';
        std::string digits = card.smscAddress.substr(plus ? 1 : 0);
        uint32_t ton = (card.nSmscType >> 4) & 7;
        int npi = card.nSmscType & 0xF;
        uint32_t plan = RIL_NUMPLAN_UNKNOWN;
        for (uint32_t p = 0; p < 7; ++p)
            if (kNpiOfPlan[p] == npi) plan = p;
        QX_FUZZ_CHECK(Text16(c.raSvcCtrAddress.wszAddress) == Text16(digits.begin(), digits.end()),
                      "the address is the card's");
        QX_FUZZ_CHECK(c.raSvcCtrAddress.dwType == (plus ? RIL_ADDRTYPE_INTERNATIONAL : ton <= 6 ? ton : 0u),
                      "the type is the card's");
        QX_FUZZ_CHECK(c.raSvcCtrAddress.dwNumPlan == plan, "the numbering plan is the card's");
        return c;
    }

    void SetMsgConfig(FuzzBytes* in) {
        uint8_t shape = in->Byte();
        RILMSGCONFIG c = {};
        if (!(shape & 1)) {  // as read; else all zero but type and address, as never read
            c.cbSize = sizeof c;
            c.dwParams = RIL_PARAM_MC_SVCCTRADDRESS;
            c.raSvcCtrAddress.cbSize = sizeof(RILADDRESS);
            c.raSvcCtrAddress.dwParams = RIL_PARAM_A_ALL;
            c.raSvcCtrAddress.dwNumPlan = (shape >> 1) % 8;
        }
        c.raSvcCtrAddress.dwType = (shape >> 4) % 8;
        std::string address = (shape & 0x80 ? "+" : "") + Digits(in, in->Byte() % 22);
        for (size_t i = 0; i < address.size(); ++i) c.raSvcCtrAddress.wszAddress[i] = address[i];
        RilRequest r;
        if (BuildSetMsgConfig(&c, &r) != kRilRequestTaken) return;  // never sent

        SimCard before = ReadCard(*m_pCard);
        RilAnswer a = m_link.Send(r);
        const SimCard& after = ReadCard(*m_pCard);
        if (m_bWriteFails) {
            QX_FUZZ_CHECK(a.dwCode == RIL_RESULT_ERROR, "a write the card cannot take fails");
            QX_FUZZ_CHECK(after.smscAddress == before.smscAddress && after.nSmscType == before.nSmscType,
                          "and leaves the card");
            return;
        }
        QX_FUZZ_CHECK(a.dwCode == RIL_RESULT_OK, "the service centre is set");
        QX_FUZZ_CHECK(after.smscAddress == r.address && after.nSmscType == r.nTypeOctet, "as asked, on the card");
        // Read back as set: the digits, the type ("+" is international) and the plan.
        RILMSGCONFIG read = GetMsgConfig();
        bool plus = address[0] == '+';
        Text16 digits(address.begin() + (plus ? 1 : 0), address.end());
        QX_FUZZ_CHECK(Text16(read.raSvcCtrAddress.wszAddress) == digits, "the digits read back as set");
        QX_FUZZ_CHECK(read.raSvcCtrAddress.dwType == (plus ? RIL_ADDRTYPE_INTERNATIONAL : c.raSvcCtrAddress.dwType),
                      "the type reads back as set");
        QX_FUZZ_CHECK(read.raSvcCtrAddress.dwNumPlan ==
                          (c.cbSize ? c.raSvcCtrAddress.dwNumPlan : RIL_NUMPLAN_TELEPHONE),
                      "the plan reads back as set");
    }

    void GetEquipmentState() {
        const SimCard& card = ReadCard(*m_pCard);
        RilRequest r;
        BuildGetEquipmentState(&r);
        RilAnswer a = m_link.Send(r);
        QX_FUZZ_CHECK(a.dwCode == RIL_RESULT_OK, "the power is read");
        QX_FUZZ_CHECK(CfunFromAnswer(r, a) == (m_nCfunOverride >= 0 ? m_nCfunOverride : card.nCfun),
                      "the power is the card's radio (cfun4: flight until set)");
    }

    void SetEquipmentState(uint8_t state) {
        RilRequest r;
        if (BuildSetEquipmentState(state % 6, &r) != kRilRequestTaken) return;
        SimCard before = ReadCard(*m_pCard);
        RilAnswer a = m_link.Send(r);
        const SimCard& after = ReadCard(*m_pCard);
        bool taken = r.nCfun == 0 || r.nCfun == 1 || r.nCfun == 4;  // the modem's powers
        if (taken) m_nCfunOverride = -1;
        if (!taken || m_bWriteFails) {
            QX_FUZZ_CHECK(a.dwCode == RIL_RESULT_ERROR, "a power the modem does not take fails");
            QX_FUZZ_CHECK(after.nCfun == before.nCfun, "and leaves the card");
            return;
        }
        QX_FUZZ_CHECK(a.dwCode == RIL_RESULT_OK && after.nCfun == r.nCfun, "the power is set on the card");
        QX_FUZZ_CHECK(CfunFromAnswer(r, a) == r.nCfun, "the answer tells the power set");
    }

    void SimCmd(uint8_t kind, FuzzBytes* in) {
        SimCard before = ReadCard(*m_pCard);
        uint8_t pick = in->Byte();
        uint16_t id = pick % 4 < before.files.size() ? before.files[pick % 4].wFileId
                      : pick & 0x10                   ? 0x6F17
                      : pick & 0x20                   ? 0x6FC7
                                                      : in->Word();
        const SimCardFile* file = FindSimFile(before, id);
        uint8_t reclen = file ? file->cbRecordLength : 28;
        uint8_t records = file ? file->cRecords : 4;
        uint8_t shape = in->Byte();
        RILSIMCMDPARAMETERS p = {sizeof p, RIL_PARAM_SCP_ALL, id, 0, 0, 0};
        std::vector<uint8_t> data;
        uint32_t dwCommand = RIL_SIMCMD_GETRESPONSE;
        if (kind == 0) {
            if (shape & 1) p.dwParams = RIL_PARAM_SCP_FILEID;
            p.dwParameter3 = shape & 2 ? in->Byte() : 0;
        } else {
            dwCommand = kind == 1 ? RIL_SIMCMD_READRECORD : RIL_SIMCMD_UPDATERECORD;
            p.dwParameter1 = in->Byte() % (records + 2u);
            p.dwParameter2 = shape & 1 ? in->Byte() : 4;
            p.dwParameter3 = shape & 2 ? in->Byte() : reclen;
            if (kind == 2) {
                size_t cb = shape & 4 ? in->Byte() : p.dwParameter3;
                for (size_t i = 0; i < cb; ++i) data.push_back(in->Byte());
            }
        }
        RilRequest r;
        QX_FUZZ_CHECK(BuildSimCmd(dwCommand, &p, data.data(), static_cast<uint32_t>(data.size()), &r) ==
                          kRilRequestTaken,
                      "the program's SIM commands are taken");
        RilAnswer a = m_link.Send(r);
        const SimCard& after = ReadCard(*m_pCard);

        // 27.007 puts the path after P1-P3: a modem that finds the mailbox
        // files only by path cannot be given it without them.
        bool reachable = file && !((m_dwDialects & kDialectPathOnly) && *MailboxFilePath(id) &&
                                   !(p.dwParams & RIL_PARAM_SCP_PARAM1));
        std::vector<uint8_t> response;
        if (a.dwCode == RIL_RESULT_OK) {
            QX_FUZZ_CHECK(a.data.size() >= RILSIMRESPONSE_HEADER_SIZE, "a RILSIMRESPONSE");
            response.assign(a.data.begin() + RILSIMRESPONSE_HEADER_SIZE, a.data.end());
        }
        if (kind == 0) {
            QX_FUZZ_CHECK((a.dwCode == RIL_RESULT_OK) == reachable, "GET RESPONSE answers for a file on the card");
            if (!reachable) return;
            unsigned size = file->cbRecordLength * file->cRecords;
            QX_FUZZ_CHECK(response.size() == 15, "the 2G layout");
            QX_FUZZ_CHECK(response[14] == file->cbRecordLength, "the file's record length");
            QX_FUZZ_CHECK((response[2] << 8 | response[3]) == static_cast<int>(size), "the file's size");
            QX_FUZZ_CHECK((response[4] << 8 | response[5]) == id, "the file's id");
            QX_FUZZ_CHECK(response[13] == 0x01, "linear fixed");
            return;
        }
        bool fits = reachable && p.dwParameter2 == 4 && p.dwParameter1 >= 1 && p.dwParameter1 <= file->cRecords &&
                    p.dwParameter3 == file->cbRecordLength;
        if (kind == 1) {
            QX_FUZZ_CHECK((a.dwCode == RIL_RESULT_OK) == fits, "READ RECORD answers for a record on the card");
            if (fits)
                QX_FUZZ_CHECK(response == SimRecord(*file, p.dwParameter1), "the card's record bytes");
            return;
        }
        bool written = fits && data.size() == file->cbRecordLength && !m_bWriteFails;
        QX_FUZZ_CHECK((a.dwCode == RIL_RESULT_OK) == written, "UPDATE RECORD succeeds when the card takes it");
        const SimCardFile* now = FindSimFile(after, id);
        if (written) {
            QX_FUZZ_CHECK(SimRecord(*now, p.dwParameter1) == data, "the record is on the card");
            return;
        }
        if (file)
            QX_FUZZ_CHECK(now->records == file->records, "a failed update leaves the card");
    }

private:
    std::string* m_pCard;
    Connection m_link;
    bool m_bWriteFails;
    uint32_t m_dwDialects = 0;
    int m_nCfunOverride = -1;  // cfun4: what the modem reports until a power is set
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzBytes in(data, size);
    std::string card = MakeCard(&in);
    if (Tracing()) fprintf(stderr, "card:\n%s", card.c_str());
    ReadCard(card);
    uint8_t mode = in.Byte();
    ModemFaults faults;
    faults.bEcho = mode & 2;
    faults.bNoise = mode & 4;
    faults.bCardWriteFails = mode & 8;
    uint32_t seed = in.Dword();
    Session session(&card, faults, seed);

    // Without its set-up the RIL reads addresses as GSM: a modem that starts
    // in UCS2 or HEX is always set up first, as every connection is.
    uint32_t dialects = ReadCard(card).dwDialects;
    if ((mode & 1) || (dialects & (kDialectUcs2 | kDialectHex))) session.SetUp();

    for (size_t n = 0; n < kMaxRequests && !in.Empty(); ++n) {
        uint8_t kind = in.Byte();
        switch (kind % 7) {
            case 0: session.GetMsgConfig(); break;
            case 1: session.SetMsgConfig(&in); break;
            case 2: session.GetEquipmentState(); break;
            case 3: session.SetEquipmentState(in.Byte()); break;
            default: session.SimCmd(kind % 7 - 4, &in);
        }
    }
    return 0;
}
