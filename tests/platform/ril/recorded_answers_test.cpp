// Answers recorded from real modems and peers' simulators, each fed whole,
// byte by byte and split at random through the line parser and the exchange
// to the answer the radio layer gives (or its asking again). Where each was
// recorded is said beside it.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <random>

#include "platform/attext/hex_text.h"
#include "platform/ril/at_line_parser.h"
#include "platform/ril/ril_commands.h"

namespace {

RilRequest GetMsgConfig() {
    RilRequest r;
    BuildGetMsgConfig(&r);
    return r;
}

RilRequest SetMsgConfig() {
    RILMSGCONFIG c = {};
    c.raSvcCtrAddress.dwType = RIL_ADDRTYPE_INTERNATIONAL;
    Copy16(c.raSvcCtrAddress.wszAddress, T16("4479"));
    RilRequest r;
    BuildSetMsgConfig(&c, &r);
    return r;
}

RilRequest GetResponse() {
    RILSIMCMDPARAMETERS p = {sizeof p, RIL_PARAM_SCP_ALL, 0x6F17, 0, 0, 0};
    RilRequest r;
    BuildSimCmd(RIL_SIMCMD_GETRESPONSE, &p, nullptr, 0, &r);
    return r;
}

RilRequest ReadRecord() {
    RILSIMCMDPARAMETERS p = {sizeof p, RIL_PARAM_SCP_ALL, 0x6F17, 1, 4, 2};
    RilRequest r;
    BuildSimCmd(RIL_SIMCMD_READRECORD, &p, nullptr, 0, &r);
    return r;
}

// A command the radio layer never sends, for an answer recorded to it.
RilRequest Other(const char* command, const char* prefix) {
    RilRequest r;
    r.kind = RilRequestKind::SetEquipmentState;
    r.command = command;
    r.prefix = prefix;
    return r;
}

struct Recorded {
    const char* what;
    RilRequest (*request)();
    const char* bytes;  // the modem's, after the command went out
    TeCharset charset;
    bool bFirstSimAccess;
    const char* outcome;  // "again [final or line]", "ok ...", "error 0x..."
};

// What one command makes of the bytes: asked again, or its answer.
std::string Outcome(const Recorded& r, const std::vector<std::string>& chunks) {
    RilRequest request = r.request();
    AtLineParser parser;
    AtExchange x;
    x.Begin(request.command, request.prefix);
    for (const std::string& chunk : chunks) {
        std::vector<std::string> lines;
        parser.Feed(chunk.data(), chunk.size(), &lines);
        for (const std::string& line : lines) x.OnLine(line);
    }
    if (x.InFlight()) return "no final result";
    const AtReply& reply = x.Reply();
    RilRequest again;
    if (RetryOfTransient(request, reply, r.bFirstSimAccess, &again))
        return "again [" + (reply.final.kind == AtFinalKind::Ok ? reply.lines[0] : reply.final.text) + "]";
    AtDialect dialect;
    dialect.charset = r.charset;
    RilAnswer a = AnswerFromReply(request, reply, dialect);
    char hr[16] = "";
    if (a.dwCode != RIL_RESULT_OK) {
        int32_t e = 0;
        if (a.data.size() == sizeof e) memcpy(&e, a.data.data(), sizeof e);
        snprintf(hr, sizeof hr, "0x%08X", static_cast<unsigned>(e));
        return std::string("error ") + hr;
    }
    if (request.kind == RilRequestKind::GetMsgConfig) {
        RILMSGCONFIG c;
        memcpy(&c, a.data.data(), sizeof c);
        std::string digits;
        for (const Char16* p = c.raSvcCtrAddress.wszAddress; *p; ++p) digits += static_cast<char>(*p);
        return "ok type " + std::to_string(c.raSvcCtrAddress.dwType) + " " + digits;
    }
    return "ok " + HexEncode(a.data.data() + RILSIMRESPONSE_HEADER_SIZE, a.data.size() - RILSIMRESPONSE_HEADER_SIZE);
}

const Recorded kRecorded[] = {
    // Huawei's answer to a command it lacks: ofono, plugins/huawei.c (its
    // extra terminator); Gammu, libgammu/protocol/at/at.c ("Huawei").
    {"Huawei: COMMAND NOT SUPPORT", GetMsgConfig, "\r\nCOMMAND NOT SUPPORT\r\n", TeCharset::Gsm, false,
     "error 0x81000003"},
    // The Huawei EM770's second terminator: ofono, plugins/em770.c.
    {"Huawei EM770: TOO MANY PARAMETERS", SetMsgConfig, "\r\nTOO MANY PARAMETERS\r\n", TeCharset::Gsm, false,
     "error 0x81000003"},
    // Motorola A1200: Gammu, libgammu/protocol/at/at.c ("MODEM ERROR:").
    {"Motorola: MODEM ERROR: 5", GetMsgConfig, "\r\nMODEM ERROR: 5\r\n", TeCharset::Gsm, false,
     "error 0x81000001"},
    // The Android emulator's modem to a command it lacks, and its SIM to an
    // unknown one: aosp-mirror/platform_external_qemu,
    // android/android-emu/android/telephony/modem.c and
    // android/telephony/sim_card.c.
    {"Android emulator: ERROR: UNSUPPORTED", GetMsgConfig, "\r\nERROR: UNSUPPORTED\r\n", TeCharset::Gsm, false,
     "error 0x81000003"},
    {"Android emulator SIM: ERROR: BAD COMMAND", GetResponse, "\r\nERROR: BAD COMMAND\r\n", TeCharset::Gsm, false,
     "error 0x81000003"},
    // Busy, with the command echoed twice: Gammu, tests/at-dispatch.c (to
    // AT+CSQ; the recording ends without the line's CR LF).
    {"busy: +CME ERROR: 515 after a double echo", [] { return Other("AT+CSQ", "+CSQ:"); },
     "AT+CSQ\r\nAT+CSQ\r\n+CME ERROR: 515\r\n", TeCharset::Gsm, false, "again [+CME ERROR: 515]"},
    // Its text, Wavecom's, which Gammu takes for busy: libgammu/phone/at/at-error.c.
    {"busy as text", GetMsgConfig, "\r\n+CME ERROR: Please wait, init or command processing in progress.\r\n",
     TeCharset::Gsm, false, "again [+CME ERROR: Please wait, init or command processing in progress.]"},
    {"SIM busy as text (TS 27.007 9.2)", ReadRecord, "\r\n+CME ERROR: SIM busy\r\n", TeCharset::Gsm, false,
     "again [+CME ERROR: SIM busy]"},
    // A Gobi card's first SIM access: ModemManager, src/mm-base-sim.c
    // (asked once more there). Later the same status word stands.
    {"Gobi: first +CRSM: 106,134,\"\"", GetResponse, "\r\n+CRSM: 106,134,\"\"\r\n\r\nOK\r\n", TeCharset::Gsm, true,
     "again [+CRSM: 106,134,\"\"]"},
    {"Gobi: a later 6A 86", GetResponse, "\r\n+CRSM: 106,134,\"\"\r\n\r\nOK\r\n", TeCharset::Gsm, false,
     "error 0x81016A86"},
    // A Motorola's address in UCS2 without quotes: Gammu, tests/at-parser.c.
    // Decided by the set in force; in HEX or GSM these are no address.
    {"UCS2 address without quotes", GetMsgConfig, "\r\n+CSCA: 002B003300380030003600330039003000310030003000300030,145\r\n\r\nOK\r\n",
     TeCharset::Ucs2, false, "ok type 1 380639010000"},
    {"the same in HEX", GetMsgConfig, "\r\n+CSCA: 002B003300380030003600330039003000310030003000300030,145\r\n\r\nOK\r\n",
     TeCharset::Hex, false, "error 0x8100000F"},
    {"the same in GSM", GetMsgConfig, "\r\n+CSCA: 002B003300380030003600330039003000310030003000300030,145\r\n\r\nOK\r\n",
     TeCharset::Gsm, false, "error 0x8100000F"},
    // An information line given twice before OK, as Gammu's dispatch tests
    // have +CPMS (tests/at-dispatch.c): one line; two different ones are
    // no answer.
    {"+CSCA twice", GetMsgConfig, "\r\n+CSCA: \"+441234567890\",145\r\n\r\n+CSCA: \"+441234567890\",145\r\n\r\nOK\r\n",
     TeCharset::Gsm, false, "ok type 1 441234567890"},
    {"+CRSM twice", ReadRecord, "\r\n+CRSM: 144,0,\"0691\"\r\n\r\n+CRSM: 144,0,\"0691\"\r\n\r\nOK\r\n",
     TeCharset::Gsm, false, "ok 0691"},
    {"two different +CSCA", GetMsgConfig, "\r\n+CSCA: \"+441234567890\",145\r\n\r\n+CSCA: \"+4479\",145\r\n\r\nOK\r\n",
     TeCharset::Gsm, false, "error 0x8100000F"},
};

TEST(RecordedAnswers, SameOutcomeWholeByteByByteAndSplitAtRandom) {
    std::mt19937 rng(20240723);
    for (const Recorded& r : kRecorded) {
        SCOPED_TRACE(r.what);
        const std::string all(r.bytes);
        EXPECT_EQ(Outcome(r, {all}), r.outcome);
        std::vector<std::string> bytes;
        for (char c : all) bytes.emplace_back(1, c);
        EXPECT_EQ(Outcome(r, bytes), r.outcome);
        for (int round = 0; round < 20; ++round) {
            std::vector<std::string> chunks;
            for (size_t pos = 0; pos < all.size();) {
                size_t n = 1 + rng() % 9;
                chunks.push_back(all.substr(pos, n));
                pos += n;
            }
            EXPECT_EQ(Outcome(r, chunks), r.outcome) << "round " << round;
        }
    }
}

// The table of modems' own final results: each ends a command, with the
// RIL error of its kind; other lines like them do not.
TEST(RecordedAnswers, ModemsOwnFinalResults) {
    struct Case {
        const char* line;
        bool bFinal;
        AtFinalKind kind;
        int nCode;
    };
    const Case cases[] = {
        {"command not support", true, AtFinalKind::Unsupported, -1},
        {"MODEM ERROR: 17 ", true, AtFinalKind::ModemError, 17},
        {"MODEM ERROR: x", true, AtFinalKind::ModemError, -1},
        // ofono, gatchat/gatchat.c, and Android's reference-ril/atchannel.c take it as final.
        {"+EXT ERROR: 2", true, AtFinalKind::ModemError, 2},
        {"ERROR: UNSUPPORTED SIM COMMAND", true, AtFinalKind::Unsupported, -1},
        {"COMMAND NOT SUPPORTED", false, AtFinalKind::Ok, -1},
        {"ERROR: SOMETHING", false, AtFinalKind::Ok, -1},
        {"MODEM ERROR", false, AtFinalKind::Ok, -1},
    };
    for (const Case& c : cases) {
        AtFinal f;
        ASSERT_EQ(ParseAtFinal(c.line, &f), c.bFinal) << c.line;
        if (!c.bFinal) continue;
        EXPECT_EQ(f.kind, c.kind) << c.line;
        EXPECT_EQ(f.nCode, c.nCode) << c.line;
    }
    // A vendor's numbered error is no +CME error of that number.
    AtFinal f;
    ParseAtFinal("MODEM ERROR: 14", &f);
    EXPECT_EQ(ErrorFromFinal(f), RIL_E_PHONEFAILURE);
}

// Asking again comes to an end, keeps the command, and takes only what is
// busy everywhere: a +CMS 515 means other things to Siemens, Quectel, Telit.
TEST(RecordedAnswers, TransientAnswersAreAskedAgainAFewTimes) {
    AtReply busy;
    ParseAtFinal("+CME ERROR: 515", &busy.final);
    RilRequest r = GetMsgConfig(), again;
    int tries = 1;
    while (RetryOfTransient(r, busy, false, &again)) {
        EXPECT_EQ(again.command, r.command);
        r = again;
        ++tries;
    }
    EXPECT_EQ(tries, kMaxTransientRetries + 1);

    const std::pair<const char*, bool> finals[] = {
        {"+CMS ERROR: 515", false}, {"+CME ERROR: 13", false}, {"ERROR", false},
        {"+CMS ERROR: 314", true},  // TS 27.005 3.2.5: SIM busy
        {"+CME ERROR: 14", true},
    };
    for (const auto& f : finals) {
        AtReply reply;
        ParseAtFinal(f.first, &reply.final);
        EXPECT_EQ(RetryOfTransient(GetMsgConfig(), reply, true, &again), f.second) << f.first;
    }
    // 6A 86 with data, or to a command that is no SIM access, stands.
    AtReply withData;
    withData.lines = {"+CRSM: 106,134,\"00\""};
    EXPECT_FALSE(RetryOfTransient(GetResponse(), withData, true, &again));
    withData.lines = {"+CRSM: 106,134"};
    EXPECT_TRUE(RetryOfTransient(GetResponse(), withData, true, &again));
    EXPECT_FALSE(RetryOfTransient(GetMsgConfig(), withData, true, &again));
}

}  // namespace
