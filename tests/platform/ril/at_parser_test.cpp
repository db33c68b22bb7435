// The AT line parser, the final-result table and the one-command exchange,
// with a transcript fed whole, byte by byte and split at random.
#include <gtest/gtest.h>

#include <random>

#include "platform/ril/at_exchange.h"
#include "platform/ril/at_line_parser.h"
#include "platform/ril/at_setup.h"

namespace {

std::vector<std::string> Lines(AtLineParser& p, const std::string& bytes) {
    std::vector<std::string> out;
    p.Feed(bytes.data(), bytes.size(), &out);
    return out;
}

TEST(AtLineParser, SplitsOnCrOrLfAndDropsBlankLines) {
    AtLineParser p;
    EXPECT_EQ(Lines(p, "\r\nOK\r\n\r\n+CFUN: 1\n\nRING\r"),
              (std::vector<std::string>{"OK", "+CFUN: 1", "RING"}));
    // A line without its end waits for the rest.
    EXPECT_TRUE(Lines(p, "+CSCA: \"+44").empty());
    EXPECT_EQ(Lines(p, "12\",145\r\n"), (std::vector<std::string>{"+CSCA: \"+4412\",145"}));
}

TEST(AtLineParser, DropsOverlongLineWholeAndGoesOn) {
    AtLineParser p;
    std::string big(AtLineParser::kMaxLine + 10, 'A');
    EXPECT_EQ(Lines(p, big + "\r\nOK\r\n"), (std::vector<std::string>{"OK"}));
    EXPECT_EQ(p.DroppedLines(), 1u);
    // Exactly the limit is still a line.
    std::string edge(AtLineParser::kMaxLine, 'B');
    EXPECT_EQ(Lines(p, edge + "\n"), (std::vector<std::string>{edge}));
}

TEST(AtFinalTable, RecognisesFinalsAndTheirCodes) {
    AtFinal f;
    ASSERT_TRUE(ParseAtFinal("OK", &f));
    EXPECT_EQ(f.kind, AtFinalKind::Ok);
    ASSERT_TRUE(ParseAtFinal("+CME ERROR: 10", &f));
    EXPECT_EQ(f.kind, AtFinalKind::CmeError);
    EXPECT_EQ(f.nCode, 10);
    ASSERT_TRUE(ParseAtFinal("+CMS ERROR: 330 ", &f));
    EXPECT_EQ(f.kind, AtFinalKind::CmsError);
    EXPECT_EQ(f.nCode, 330);
    ASSERT_TRUE(ParseAtFinal("+CME ERROR: SIM not inserted", &f));
    EXPECT_EQ(f.nCode, 10);
    ASSERT_TRUE(ParseAtFinal("NO CARRIER", &f));
    EXPECT_EQ(f.kind, AtFinalKind::NoCarrier);
    EXPECT_FALSE(ParseAtFinal("OKAY", &f));
    EXPECT_FALSE(ParseAtFinal("+CREG: 1", &f));
    EXPECT_FALSE(ParseAtFinal("ERROR 5", &f));

    // Verbose errors (AT+CMEE=2) give the numbers of the numeric form; V.250
    // numeric results count only where the modem may still give them.
    struct Case {
        const char* line;
        bool bNumeric;
        bool bFinal;
        AtFinalKind kind;
        int nCode;
    };
    const Case cases[] = {
        {"+cme error: sim PIN required", false, true, AtFinalKind::CmeError, 11},
        {"+CME ERROR:  SIM failure ", false, true, AtFinalKind::CmeError, 13},
        {"+CME ERROR: something else", false, true, AtFinalKind::CmeError, -1},
        {"+CMS ERROR: SMSC address unknown", false, true, AtFinalKind::CmsError, 330},
        {"0", true, true, AtFinalKind::Ok, -1},
        {"4", true, true, AtFinalKind::Error, -1},
        {"3", true, true, AtFinalKind::NoCarrier, -1},
        {"0", false, false, AtFinalKind::Ok, -1},
        {"2", true, false, AtFinalKind::Ok, -1},  // RING
        {"1", true, false, AtFinalKind::Ok, -1},  // CONNECT: no command of ours dials
    };
    for (const Case& c : cases) {
        AtFinal g;
        ASSERT_EQ(ParseAtFinal(c.line, c.bNumeric, &g), c.bFinal) << c.line;
        if (!c.bFinal) continue;
        EXPECT_EQ(g.kind, c.kind) << c.line;
        EXPECT_EQ(g.nCode, c.nCode) << c.line;
    }
}

TEST(AtExchange, SeparatesEchoInformationUnsolicitedAndFinal) {
    AtExchange x;
    EXPECT_EQ(x.OnLine("OK"), AtExchange::Use::Unsolicited);  // nothing in flight
    x.Begin("AT+CSCA?", "+CSCA:");
    EXPECT_EQ(x.OnLine("AT+CSCA?"), AtExchange::Use::Echo);
    EXPECT_EQ(x.OnLine("RING"), AtExchange::Use::Unsolicited);
    EXPECT_EQ(x.OnLine("+CSCA: \"+441234567890\",145"), AtExchange::Use::Information);
    EXPECT_EQ(x.OnLine("+CRSM: 144,0"), AtExchange::Use::Unsolicited);  // not this command's
    EXPECT_EQ(x.OnLine("OK"), AtExchange::Use::Final);
    EXPECT_FALSE(x.InFlight());
    ASSERT_EQ(x.Reply().lines.size(), 1u);
    EXPECT_EQ(x.Reply().lines[0], "+CSCA: \"+441234567890\",145");

    // A set command has no information lines: any other line is unsolicited.
    x.Begin("AT+CFUN=1", "");
    EXPECT_EQ(x.OnLine("+CFUN: 1"), AtExchange::Use::Unsolicited);
    EXPECT_EQ(x.OnLine("+CME ERROR: 4"), AtExchange::Use::Final);
    EXPECT_EQ(x.Reply().final.nCode, 4);
    EXPECT_TRUE(x.Reply().lines.empty());

    // Call progress ends a dial or answer command only; numeric results
    // only while the modem may give them.
    x.Begin("AT+CRSM=192,28439,0,0,0", "+CRSM:", true);
    EXPECT_EQ(x.OnLine("NO CARRIER"), AtExchange::Use::Unsolicited);
    EXPECT_EQ(x.OnLine("BUSY"), AtExchange::Use::Unsolicited);
    EXPECT_EQ(x.OnLine("3"), AtExchange::Use::Unsolicited);
    EXPECT_EQ(x.OnLine("+crsm: 144,0"), AtExchange::Use::Information);
    EXPECT_EQ(x.OnLine("0"), AtExchange::Use::Final);
    x.Begin("ATD123;", "");
    EXPECT_EQ(x.OnLine("NO CARRIER"), AtExchange::Use::Final);
    EXPECT_EQ(x.Reply().final.kind, AtFinalKind::NoCarrier);
    x.Begin("ATA", "");
    EXPECT_EQ(x.OnLine("NO ANSWER"), AtExchange::Use::Final);
    x.Begin("AT+CFUN?", "+CFUN:");
    EXPECT_EQ(x.OnLine("0"), AtExchange::Use::Unsolicited);
}

// The set-up of a connection against the answers of several modems: the
// commands it sends, in order, and what it learns.
TEST(AtSetup, SendsItsCommandsAndLearnsFromTheAnswers) {
    struct Case {
        const char* what;
        std::vector<std::string> answers;  // final of each command ("-": none came); "+CSCS: ..." an info line
        std::vector<std::string> sent;
        bool bVerbose;
        TeCharset charset;
    };
    const Case cases[] = {
        {"plain", {"OK", "OK", "OK", "OK", "OK"},
         {"ATE0", "ATV1", "ATQ0", "AT+CMEE=1", "AT+CSCS=\"GSM\""}, true, TeCharset::Gsm},
        {"text errors only, IRA only", {"OK", "OK", "OK", "ERROR", "OK", "ERROR", "OK"},
         {"ATE0", "ATV1", "ATQ0", "AT+CMEE=1", "AT+CMEE=2", "AT+CSCS=\"GSM\"", "AT+CSCS=\"IRA\""}, true,
         TeCharset::Ira},
        {"keeps UCS2", {"OK", "ERROR", "OK", "OK", "ERROR", "ERROR", "+CSCS: \"UCS2\""},
         {"ATE0", "ATV1", "ATQ0", "AT+CMEE=1", "AT+CSCS=\"GSM\"", "AT+CSCS=\"IRA\"", "AT+CSCS?"}, false,
         TeCharset::Ucs2},
        {"keeps a set of another name", {"OK", "OK", "OK", "OK", "ERROR", "ERROR", "+CSCS: \"8859-1\""},
         {"ATE0", "ATV1", "ATQ0", "AT+CMEE=1", "AT+CSCS=\"GSM\"", "AT+CSCS=\"IRA\"", "AT+CSCS?"}, true,
         TeCharset::Gsm},
        {"silent", {"-"}, {"ATE0"}, false, TeCharset::Gsm},
        {"stops answering", {"OK", "OK", "-"}, {"ATE0", "ATV1", "ATQ0"}, true, TeCharset::Gsm},
    };
    for (const Case& c : cases) {
        AtSetup setup;
        AtDialect dialect;
        std::vector<std::string> sent;
        for (size_t i = 0; setup.Command() && i < c.answers.size(); ++i) {
            sent.push_back(setup.Command());
            AtReply reply;
            const std::string& a = c.answers[i];
            if (a.rfind("+CSCS:", 0) == 0) reply.lines.push_back(a);
            else if (a != "-") ParseAtFinal(a, &reply.final);
            setup.OnReply(a == "-" ? nullptr : &reply, &dialect);
        }
        EXPECT_EQ(setup.Command(), nullptr) << c.what;
        EXPECT_EQ(sent, c.sent) << c.what;
        EXPECT_EQ(dialect.bVerbose, c.bVerbose) << c.what;
        EXPECT_EQ(dialect.charset, c.charset) << c.what;
    }
}

// What a channel makes of a transcript: each command's reply, in order, and
// the unsolicited lines.
struct Outcome {
    std::vector<std::string> replies;  // "final code | info lines"
    std::vector<std::string> unsolicited;
    bool operator==(const Outcome& o) const { return replies == o.replies && unsolicited == o.unsolicited; }
};

struct Cmd {
    const char* text;
    const char* prefix;
};

const Cmd kCommands[] = {
    {"AT+CSCA?", "+CSCA:"},
    {"AT+CRSM=178,28439,1,4,28", "+CRSM:"},
    {"AT+CRSM=178,28439,9,4,28", "+CRSM:"},
    {"AT+CSCA=\"+4479\",145", ""},
    {"AT+CFUN?", "+CFUN:"},
};

const char kTranscript[] =
    "AT+CSCA?\r\r\n+CSCA: \"+441234567890\",145\r\n\r\nRING\r\n\r\nOK\r\n"
    "\r\n+CREG: 1\r\n"
    "AT+CRSM=178,28439,1,4,28\r\r\n+CRSM: 144,0,\"566F6963656D61696CFFFFFFFFFF0691214365F7FFFFFFFFFFFFFFFF\"\r\n\r\nOK\r\n"
    "\x01\x7f~garbage\r\n"
    "\r\n+CME ERROR: 10\r\n"
    "\n\n\r\n+CMS ERROR: 330\r\n"
    "\r\n+CFUN: 4\r\n\r\n+CREG: 0\r\n\r\nOK\r\n";

Outcome RunTranscript(const std::vector<std::string>& chunks) {
    Outcome out;
    AtLineParser parser;
    AtExchange x;
    size_t next = 0;
    auto begin = [&] {
        if (next < sizeof kCommands / sizeof kCommands[0]) {
            x.Begin(kCommands[next].text, kCommands[next].prefix);
            ++next;
        }
    };
    begin();
    for (const auto& chunk : chunks) {
        std::vector<std::string> lines;
        parser.Feed(chunk.data(), chunk.size(), &lines);
        for (const auto& line : lines) {
            switch (x.OnLine(line)) {
                case AtExchange::Use::Final: {
                    std::string r = std::to_string(static_cast<int>(x.Reply().final.kind)) + " " +
                                    std::to_string(x.Reply().final.nCode) + " |";
                    for (const auto& l : x.Reply().lines) r += " " + l;
                    out.replies.push_back(r);
                    begin();
                    break;
                }
                case AtExchange::Use::Unsolicited: out.unsolicited.push_back(line); break;
                default: break;
            }
        }
    }
    return out;
}

TEST(AtTranscript, SameAnswersWholeByteByByteAndSplitAtRandom) {
    const std::string all(kTranscript);
    Outcome whole = RunTranscript({all});

    std::vector<std::string> expected = {
        "0 -1 | +CSCA: \"+441234567890\",145",
        "0 -1 | +CRSM: 144,0,\"566F6963656D61696CFFFFFFFFFF0691214365F7FFFFFFFFFFFFFFFF\"",
        "2 10 |",
        "3 330 |",
        "0 -1 | +CFUN: 4",
    };
    EXPECT_EQ(whole.replies, expected);
    EXPECT_EQ(whole.unsolicited,
              (std::vector<std::string>{"RING", "+CREG: 1", "\x01\x7f~garbage", "+CREG: 0"}));

    std::vector<std::string> bytes;
    for (char c : all) bytes.emplace_back(1, c);
    EXPECT_EQ(RunTranscript(bytes), whole);

    std::mt19937 rng(20240611);
    for (int round = 0; round < 50; ++round) {
        std::vector<std::string> chunks;
        size_t pos = 0;
        while (pos < all.size()) {
            size_t n = 1 + rng() % 17;
            chunks.push_back(all.substr(pos, n));
            pos += n;
        }
        EXPECT_EQ(RunTranscript(chunks), whole) << "round " << round;
    }
}

}  // namespace
