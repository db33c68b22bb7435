// The SIM card file and the simulated modem's answers, without the RIL.
#include <gtest/gtest.h>

#include "platform/modem/sim_card.h"
#include "platform/modem/sim_modem.h"

namespace {

const char kCard[] =
    "# test card\n"
    "radio on\n"
    "smsc +441234567890 145\n"
    "sim 2G\n"
    "\n"
    "file 6F17 reclen 28 records 4\n"
    "record 1 56 6F 69 63 65 6D 61 69 6C FF FF FF FF FF 06 91 21 43 65 F7 FF FF FF FF FF FF FF FF\n"
    "record 3 FFFFFFFFFFFFFFFFFFFFFFFFFFFF0281F1FFFFFFFFFFFFFFFFFFFFFF\n"
    "# mailbox file of the USIM\n"
    "file 6FC7 reclen 28 records 2\n";

std::string Record1Hex() { return "566F6963656D61696CFFFFFFFFFF0691214365F7FFFFFFFFFFFFFFFF"; }

TEST(SimCardText, RefusesMalformedCardsNamingTheLine) {
    using namespace std::string_literals;
    const std::string bad[] = {
        "radio sideways\n",
        "radio on\nradio off\n",
        "smsc +44\"12 145\n",
        "smsc +441234567890 300\n",
        "sim 3G\n",
        "record 1 FF\n",
        "file 6F17 reclen 28 records 4\nrecord 5 " "FFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFF\n",
        "file 6F17 reclen 28 records 4\nrecord 1 FFFF\n",
        "file 6F17 reclen 2 records 4\nrecord 1 FFFF\nrecord 1 FFFF\n",
        "file 6F17 reclen 2 records 4\nrecord 1 FG FF\n",
        "file 6F17 reclen 0 records 4\n",
        "file 6F17 reclen 2 records 4\nfile 6f17 reclen 2 records 4\n",
        "colour blue\n",
        "sim 2G\nco\0lour\x1B blue\n"s,
        "imei 49015420323751\n",
        "imsi 00101a\n",
        "maker\n",
        "model A\nmodel B\n",
        "revision " + std::string(65, 'r') + "\n",
        "maker Q\x01X\n",
    };
    for (const std::string& text : bad) {
        std::string error;
        EXPECT_FALSE(ParseSimCard(text, nullptr, &error)) << text;
        EXPECT_EQ(error.compare(0, 5, "line "), 0) << error;
        // The error goes into a trace line: control bytes are written out.
        for (unsigned char c : error) EXPECT_TRUE(c >= 0x20 && c != 0x7F) << error;
    }
    std::string error;
    ParseSimCard("sim 2G\nco\0lour\x1B blue\n"s, nullptr, &error);
    EXPECT_EQ(error, "line 2: unknown keyword 'co\\x00lour\\x1B'");
}

TEST(SimCardText, EditsChangeOnlyTheirLines) {
    SimCard card;
    ASSERT_TRUE(ParseSimCard(kCard, &card, nullptr));
    std::vector<uint8_t> rec(28, 0xFF);
    rec[14] = 0x02;
    rec[15] = 0x81;
    rec[16] = 0xF9;
    ASSERT_TRUE(SetSimRecord(&card, 0x6F17, 2, rec));   // new line between records 1 and 3
    ASSERT_TRUE(SetSimRecord(&card, 0x6FC7, 2, rec));   // first record of a file
    ASSERT_TRUE(SetSimRecord(&card, 0x6F17, 3, rec));   // replaces a line
    EXPECT_FALSE(SetSimRecord(&card, 0x6F17, 5, rec));
    EXPECT_FALSE(SetSimRecord(&card, 0x6F17, 1, std::vector<uint8_t>(27, 0xFF)));
    SetSimRadio(&card, 4);
    SetSimSmsc(&card, "0441234567", 129);

    const std::string line = "FF FF FF FF FF FF FF FF FF FF FF FF FF FF 02 81 F9 FF FF FF FF FF FF FF FF FF FF FF";
    EXPECT_EQ(SimCardText(card),
              "# test card\n"
              "radio flight\n"
              "smsc 0441234567 129\n"
              "sim 2G\n"
              "\n"
              "file 6F17 reclen 28 records 4\n"
              "record 1 56 6F 69 63 65 6D 61 69 6C FF FF FF FF FF 06 91 21 43 65 F7 FF FF FF FF FF FF FF FF\n"
              "record 2 " + line + "\n"
              "record 3 " + line + "\n"
              "# mailbox file of the USIM\n"
              "file 6FC7 reclen 28 records 2\n"
              "record 2 " + line + "\n");
    // The edited text reads back as the edited card.
    SimCard again;
    ASSERT_TRUE(ParseSimCard(SimCardText(card), &again, nullptr));
    EXPECT_EQ(SimRecord(*FindSimFile(again, 0x6FC7), 2), rec);
    EXPECT_EQ(again.nCfun, 4);

    // A card without radio or smsc lines gets them at the top; CR LF kept.
    SimCard bare;
    ASSERT_TRUE(ParseSimCard("sim USIM\r\n", &bare, nullptr));
    SetSimSmsc(&bare, "", 129);
    SetSimRadio(&bare, 0);
    EXPECT_EQ(SimCardText(bare), "radio off\r\nsmsc \"\" 129\r\nsim USIM\r\n");

    // Stray CRs at a line's end are dropped, so the text written out reads
    // as the same card (LF kept, nothing lost but the CRs).
    SimCard crs;
    ASSERT_TRUE(ParseSimCard("radio on\r\r\n# note\r\r", &crs, nullptr));
    EXPECT_EQ(crs.nCfun, 1);
    ASSERT_TRUE(ParseSimCard("sim 2G\n# \"\r\r\r", &crs, nullptr));
    EXPECT_EQ(crs.eol, "\n");
    EXPECT_EQ(SimCardText(crs), "sim 2G\n# \"\n");
}

// Modems on one card, kept in memory.
class ModemOnCard : public ::testing::Test {
protected:
    SimModem Modem() { return SimModem(std::make_unique<SimCardTextSlot>(&m_card)); }
    std::string Ask(SimModem& m, const std::string& line) { return m.Answer(line); }

    std::string m_card = kCard;
};

TEST_F(ModemOnCard, AnswersRecordCommandsWithTheSimStatusWords) {
    SimModem m = Modem();
    EXPECT_EQ(Ask(m, "AT+CRSM=178,28439,1,4,28"), "\r\n+CRSM: 144,0,\"" + Record1Hex() + "\"\r\n\r\nOK\r\n");
    // A record the card does not list is erased (all FF).
    EXPECT_EQ(Ask(m, "AT+CRSM=178,28439,4,4,28"), "\r\n+CRSM: 144,0,\"" + std::string(56, 'F') + "\"\r\n\r\nOK\r\n");
    EXPECT_EQ(Ask(m, "AT+CRSM=192,28439,0,0,0"),
              "\r\n+CRSM: 144,0,\"000000706F1704001100440102011C\"\r\n\r\nOK\r\n");
    EXPECT_EQ(Ask(m, "AT+CRSM=178,28439,5,4,28"), "\r\n+CRSM: 148,2\r\n\r\nOK\r\n");     // 94 02
    EXPECT_EQ(Ask(m, "AT+CRSM=178,28439,0,4,28"), "\r\n+CRSM: 148,2\r\n\r\nOK\r\n");
    EXPECT_EQ(Ask(m, "AT+CRSM=178,20272,1,4,28"), "\r\n+CRSM: 148,4\r\n\r\nOK\r\n");     // 94 04
    EXPECT_EQ(Ask(m, "AT+CRSM=178,28439,1,4,27"), "\r\n+CRSM: 103,0\r\n\r\nOK\r\n");     // 67 00
    EXPECT_EQ(Ask(m, "AT+CRSM=178,28439,1,2,28"), "\r\n+CRSM: 107,0\r\n\r\nOK\r\n");     // 6B 00
    EXPECT_EQ(Ask(m, "AT+CRSM=176,28439,0,0,10"), "\r\n+CRSM: 109,0\r\n\r\nOK\r\n");     // 6D 00
    EXPECT_EQ(Ask(m, "AT+CRSM=178"), "\r\n+CME ERROR: 50\r\n");
    EXPECT_EQ(Ask(m, "AT+CRSM=178,28439,1,4,28,\"XYZ\""), "\r\n+CME ERROR: 50\r\n");
    EXPECT_EQ(m_card, kCard);  // reading never writes
}

TEST_F(ModemOnCard, UsimAnswersWithFcpAndItsOwnStatusWords) {
    m_card.replace(m_card.find("sim 2G"), 6, "sim USIM");
    SimModem m = Modem();
    // FCP: descriptor (linear fixed, 28-byte records, 2 of them), id, life cycle,
    // security, size 56.
    EXPECT_EQ(Ask(m, "AT+CRSM=192,28615,0,0,0"),
              "\r\n+CRSM: 144,0,\"621782054221001C0283026FC78A01058B036F060180020038\"\r\n\r\nOK\r\n");
    EXPECT_EQ(Ask(m, "AT+CRSM=192,20272,0,0,0"), "\r\n+CRSM: 106,130\r\n\r\nOK\r\n");  // 6A 82
}

TEST_F(ModemOnCard, ServiceCentreAndPowerAreKeptOnTheCard) {
    SimModem m = Modem();
    EXPECT_EQ(Ask(m, "AT+CSCA?"), "\r\n+CSCA: \"+441234567890\",145\r\n\r\nOK\r\n");
    EXPECT_EQ(Ask(m, "AT+CSCA=\"0441234567\",129"), "\r\nOK\r\n");
    EXPECT_EQ(Ask(m, "AT+CSCA=\"+4479\""), "\r\nOK\r\n");  // type follows the "+"
    EXPECT_EQ(Ask(m, "AT+CSCA?"), "\r\n+CSCA: \"+4479\",145\r\n\r\nOK\r\n");
    EXPECT_EQ(Ask(m, "AT+CSCA=\"44\"12\""), "\r\n+CMS ERROR: 304\r\n");
    EXPECT_EQ(Ask(m, "AT+CSCA=4412"), "\r\n+CMS ERROR: 304\r\n");

    EXPECT_EQ(Ask(m, "AT+CFUN=4"), "\r\nOK\r\n");
    EXPECT_EQ(Ask(m, "AT+CFUN?"), "\r\n+CFUN: 4\r\n\r\nOK\r\n");
    EXPECT_EQ(Ask(m, "AT+CFUN=2"), "\r\n+CME ERROR: 4\r\n");
    EXPECT_EQ(Ask(m, "AT+CFUN=x"), "\r\n+CME ERROR: 50\r\n");
    // Another modem on the same card sees the change.
    SimModem other = Modem();
    EXPECT_EQ(Ask(other, "AT+CFUN?"), "\r\n+CFUN: 4\r\n\r\nOK\r\n");
    EXPECT_NE(m_card.find("radio flight\n"), std::string::npos);
}

TEST_F(ModemOnCard, FaultsShapeTheOutput) {
    SimModem m = Modem();
    ModemFaults f;
    f.bEcho = true;
    f.bNoise = true;
    m.SetFaults(f);
    EXPECT_EQ(Ask(m, "AT+CFUN?"),
              "AT+CFUN?\r\r\nRING\r\n\r\n\x01\x7F~#!garbage\r\n\r\n+CFUN: 1\r\n\r\n+CREG: 1\r\n\r\nOK\r\n");
    f = ModemFaults();
    f.bError = true;
    m.SetFaults(f);
    EXPECT_EQ(Ask(m, "AT+CSCA?"), "\r\nERROR\r\n");
    f.bSilent = true;
    m.SetFaults(f);
    EXPECT_EQ(Ask(m, "AT+CSCA?"), "");
    m.SetFaults(ModemFaults());
    // Echo is of the setting in force when the line came in.
    EXPECT_EQ(Ask(m, "ATE1"), "\r\nOK\r\n");
    EXPECT_EQ(Ask(m, "AT"), "AT\r\r\nOK\r\n");
    EXPECT_EQ(Ask(m, "ATE0"), "ATE0\r\r\nOK\r\n");
    EXPECT_EQ(Ask(m, "AT"), "\r\nOK\r\n");
    EXPECT_EQ(Ask(m, "hello"), "");
    EXPECT_EQ(Ask(m, "AT+FOO"), "\r\nERROR\r\n");
}

// Each dialect, chosen by the card's "dialect" line: the modem's answers to
// a few commands in turn, from power-up.
TEST_F(ModemOnCard, DialectsShapeTheAnswers) {
    const std::string ok = "\r\nOK\r\n";
    const std::string rec = "\r\n+CRSM: 144,0,\"" + Record1Hex() + "\"\r\n" + ok;
    struct Step {
        const char* command;
        std::string answer;
    };
    struct Case {
        const char* dialect;
        std::vector<Step> steps;
    };
    const Case cases[] = {
        {"numeric", {{"AT", "0\r"}, {"AT+CFUN?", "+CFUN: 1\r\n0\r"}, {"AT+FOO", "4\r"},
                     {"AT+CPIN", "4\r"}, {"ATV1", ok}, {"AT", ok}}},
        {"echo", {{"AT", "AT\r" + ok}, {"ATE0", "ATE0\r" + ok}, {"AT", ok}}},
        {"ucs2", {{"AT+CSCS?", "\r\n+CSCS: \"UCS2\"\r\n" + ok},
                  {"AT+CSCA?", "\r\n+CSCA: \"002B003400340031003200330034003500360037003800390030\",145\r\n" + ok},
                  {"AT+CSCS=\"GSM\"", ok}, {"AT+CSCA?", "\r\n+CSCA: \"+441234567890\",145\r\n" + ok}}},
        {"hex keep-charset", {{"AT+CSCS=\"GSM\"", "\r\n+CME ERROR: 4\r\n"}, {"AT+CSCS=\"IRA\"", "\r\n+CME ERROR: 4\r\n"},
                              {"AT+CSCA=\"+4479\"", ok}, {"AT+CSCA=\"2B3G\"", "\r\n+CMS ERROR: 304\r\n"},
                              {"AT+CSCA=\"2B34343739\",145", ok},
                              {"AT+CSCA?", "\r\n+CSCA: \"2B34343739\",145\r\n" + ok}}},
        {"cme-text", {{"AT+CMEE=1", "\r\n+CME ERROR: operation not supported\r\n"},
                      {"AT+CRSM=178", "\r\n+CME ERROR: incorrect parameters\r\n"}}},
        {"bare-error", {{"AT+CRSM=178", "\r\nERROR\r\n"}, {"AT+CMEE=1", ok}, {"AT+CRSM=178", "\r\n+CME ERROR: 50\r\n"}}},
        {"crsm-unquoted read-9f", {{"AT+CRSM=178,28439,1,4,28", "\r\n+CRSM: 159,28," + Record1Hex() + "\r\n" + ok}}},
        {"no-carrier", {{"AT+CFUN?", "\r\nNO CARRIER\r\n\r\n+CFUN: 1\r\n" + ok}}},
        {"cfun4", {{"AT+CFUN?", "\r\n+CFUN: 4\r\n" + ok}, {"AT+CFUN=1", ok}, {"AT+CFUN?", "\r\n+CFUN: 1\r\n" + ok}}},
        {"getresponse-67", {{"AT+CRSM=192,28439,0,0,0", "\r\n+CRSM: 103,15\r\n" + ok},
                            {"AT+CRSM=192,28439,0,0,15", "\r\n+CRSM: 144,0,\"000000706F1704001100440102011C\"\r\n" + ok},
                            {"AT+CRSM=192,28439", "\r\n+CRSM: 144,0,\"000000706F1704001100440102011C\"\r\n" + ok}}},
        {"path-only", {{"AT+CRSM=178,28439,1,4,28", "\r\n+CRSM: 148,4\r\n" + ok},
                       {"AT+CRSM=178,28439,1,4,28,,\"3F007F20\"", rec},
                       {"AT+CRSM=178,28439,1,4,28,\"\",\"3F007FFF\"", "\r\n+CRSM: 148,4\r\n" + ok}}},
        // A plain modem takes a right path too.
        {"", {{"AT+CRSM=178,28439,1,4,28,,\"3f007f20\"", rec}, {"AT+CSCS?", "\r\n+CSCS: \"IRA\"\r\n" + ok}}},
        {"bogus", {{"AT+CSCA?", "\r\n+CME ERROR: 10\r\n"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.dialect);
        m_card = (*c.dialect ? std::string("dialect ") + c.dialect + "\n" : "") + kCard;
        SimModem m = Modem();
        for (const Step& step : c.steps) EXPECT_EQ(Ask(m, step.command), step.answer) << step.command;
    }
    // A test's dialects join the card's; a failed write is 92 40 on a 2G card.
    m_card = kCard;
    SimModem m = Modem();
    ModemFaults f;
    f.dwDialects = kDialectNumeric;
    f.bCardWriteFails = true;
    m.SetFaults(f);
    EXPECT_EQ(Ask(m, "AT+CRSM=220,28439,1,4,28,\"" + std::string(56, 'F') + "\""), "+CRSM: 146,64\r\n0\r");
    EXPECT_EQ(m_card, kCard);
}

// Who the modem says it is: the card's lines, else the defaults; the
// subscriber only with a card.
TEST_F(ModemOnCard, IdentifiesItselfFromTheCard) {
    const std::string ok = "\r\nOK\r\n";
    struct Case {
        const char* card;  // lines before the test card; null: no card
        const char* command;
        std::string answer;
    };
    const Case cases[] = {
        {"", "AT+CGMI", "\r\nQX\r\n" + ok},
        {"", "AT+CGMM", "\r\nQX Simulated Modem\r\n" + ok},
        {"", "AT+GMR", "\r\n1.0\r\n" + ok},
        {"", "AT+CGSN", "\r\n490154203237518\r\n" + ok},
        {"", "AT+CIMI", "\r\n001010123456789\r\n" + ok},
        {"maker Huawei\nmodel \"E1752  x\"\nimei 350000000000006\nimsi 234150000000001\n", "at+cgmm",
         "\r\nE1752  x\r\n" + ok},
        {"maker  Huawei   Technologies\n", "ATI",
         "\r\nManufacturer: Huawei Technologies\r\n\r\nModel: QX Simulated Modem\r\n\r\nRevision: 1.0\r\n"
         "\r\nIMEI: 490154203237518\r\n" + ok},
        {"imsi 234150000000001\n", "AT+CIMI", "\r\n234150000000001\r\n" + ok},
        {"", "AT+CIMI=?", ok},
        {"", "ATI9", "\r\nERROR\r\n"},
        {nullptr, "AT+CGSN", "\r\n490154203237518\r\n" + ok},
        {nullptr, "AT+CIMI", "\r\n+CME ERROR: 10\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.command);
        m_card = c.card ? c.card + std::string(kCard) : std::string("sim 3G\n");
        SimModem m = Modem();
        EXPECT_EQ(Ask(m, c.command), c.answer) << (c.card ? c.card : "no card");
    }
}

// AT+CSCA= takes an address in the set in force, or in plain dial
// characters as Gammu sends it in HEX; anything else is refused.
TEST_F(ModemOnCard, TakesAServiceCentreInItsSetOrPlain) {
    struct Case {
        const char* set;
        const char* address;
        const char* card;  // the smsc line afterwards; null: refused, the card as it was
    };
    const Case cases[] = {
        {"HEX", "\"+447700900555\"", "smsc +447700900555 145"},
        {"HEX", "\"2B3434\",145", "smsc +44 145"},
        {"HEX", "\"4479\"", "smsc 4479 129"},  // 44 79 is "Dy", no address
        {"UCS2", "\"002B00340034\"", "smsc +44 145"},
        {"UCS2", "\"+4479\",145", "smsc +4479 145"},
        {"UCS2", "\"00E9\"", nullptr},
        {"HEX", "\"2B3G\"", nullptr},
        {"HEX", "+4479", nullptr},
        {"GSM", "\"2B3434\"", "smsc 2B3434 129"},  // dial characters as they stand
        {"IRA", "\"44-79\"", nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.set) + " " + c.address);
        m_card = kCard;
        SimModem m = Modem();
        ASSERT_EQ(Ask(m, std::string("AT+CSCS=\"") + c.set + "\""), "\r\nOK\r\n");
        std::string answer = Ask(m, std::string("AT+CSCA=") + c.address);
        if (!c.card) {
            EXPECT_EQ(answer, "\r\n+CMS ERROR: 304\r\n");
            EXPECT_EQ(m_card, kCard);
            continue;
        }
        EXPECT_EQ(answer, "\r\nOK\r\n");
        EXPECT_NE(m_card.find(std::string(c.card) + "\n"), std::string::npos) << m_card;
    }
}

}  // namespace
