// Radio requests as AT commands and the answers built from modem replies:
// structure layouts, +CSCA types, +CRSM status words, the USIM FCP template.
#include <gtest/gtest.h>

#include <cstring>

#include "platform/ril/ril_commands.h"
#include "platform/ril/svc_ctr_address.h"

namespace {

AtReply Reply(std::vector<std::string> lines, AtFinalKind kind = AtFinalKind::Ok, int code = -1) {
    AtReply r;
    r.lines = std::move(lines);
    r.final.kind = kind;
    r.final.nCode = code;
    return r;
}

int32_t ErrorOf(const RilAnswer& a) {
    int32_t hr = 0;
    if (a.data.size() == sizeof hr) memcpy(&hr, a.data.data(), sizeof hr);
    return hr;
}

std::vector<uint8_t> SimBytesOf(const RilAnswer& a) {
    if (a.dwCode != RIL_RESULT_OK || a.data.size() < RILSIMRESPONSE_HEADER_SIZE) return {};
    return std::vector<uint8_t>(a.data.begin() + RILSIMRESPONSE_HEADER_SIZE, a.data.end());
}

RILMSGCONFIG Config(const Char16* address, uint32_t type) {
    RILMSGCONFIG c = {};
    c.cbSize = sizeof c;
    c.dwParams = RIL_PARAM_MC_SVCCTRADDRESS;
    c.raSvcCtrAddress.cbSize = sizeof(RILADDRESS);
    c.raSvcCtrAddress.dwParams = RIL_PARAM_A_ALL;
    c.raSvcCtrAddress.dwType = type;
    c.raSvcCtrAddress.dwNumPlan = RIL_NUMPLAN_TELEPHONE;
    Copy16(c.raSvcCtrAddress.wszAddress, address);
    return c;
}

TEST(RilLayout, StructuresHaveTheDeviceSizesAndOffsets) {
    EXPECT_EQ(sizeof(RILMSGCONFIG), 536u);
    EXPECT_EQ(sizeof(RILADDRESS), 528u);
    EXPECT_EQ(sizeof(RILSIMCMDPARAMETERS), 24u);
    EXPECT_EQ(offsetof(RILMSGCONFIG, raSvcCtrAddress.wszAddress), 24u);
    EXPECT_EQ(offsetof(RILSIMCMDPARAMETERS, dwFileID), 8u);
    EXPECT_EQ(offsetof(RILSIMRESPONSE, pbResponse), 16u);
    EXPECT_EQ(RIL_RESULT_OK, 1);
    EXPECT_LT(RIL_E_SIMSTATUS(0x6A, 0x83), 0);
    EXPECT_EQ(RIL_E_SIMSTATUS(0x6A, 0x83) & 0xFFFF, 0x6A83);
}

TEST(RilCsca, ReadsTypesAndNumberingPlans) {
    RILMSGCONFIG c;
    ASSERT_TRUE(ParseCscaLine("+CSCA: \"+441234567890\",145", &c));
    EXPECT_EQ(c.cbSize, 536u);
    EXPECT_EQ(c.raSvcCtrAddress.dwType, (uint32_t)RIL_ADDRTYPE_INTERNATIONAL);
    EXPECT_EQ(c.raSvcCtrAddress.dwNumPlan, (uint32_t)RIL_NUMPLAN_TELEPHONE);
    EXPECT_EQ(Text16(c.raSvcCtrAddress.wszAddress), T16("441234567890"));

    ASSERT_TRUE(ParseCscaLine("+CSCA: \"0441234567\",129", &c));
    EXPECT_EQ(c.raSvcCtrAddress.dwType, (uint32_t)RIL_ADDRTYPE_UNKNOWN);
    EXPECT_EQ(Text16(c.raSvcCtrAddress.wszAddress), T16("0441234567"));

    // Type 161 (0xA1): national, ISDN plan; 0x89: private plan.
    ASSERT_TRUE(ParseCscaLine("+CSCA: \"01234\",161", &c));
    EXPECT_EQ(c.raSvcCtrAddress.dwType, (uint32_t)RIL_ADDRTYPE_NATIONAL);
    ASSERT_TRUE(ParseCscaLine("+CSCA: \"01234\",137", &c));
    EXPECT_EQ(c.raSvcCtrAddress.dwNumPlan, (uint32_t)RIL_NUMPLAN_PRIVATE);
    // Digits given as international without their type still count as such.
    ASSERT_TRUE(ParseCscaLine("+CSCA: \"+4479\"", &c));
    EXPECT_EQ(c.raSvcCtrAddress.dwType, (uint32_t)RIL_ADDRTYPE_INTERNATIONAL);
    ASSERT_TRUE(ParseCscaLine("+CSCA: \"\",129", &c));
    EXPECT_EQ(Text16(c.raSvcCtrAddress.wszAddress), T16(""));
    // "+" alone, as an empty address is written with type 145: international, no digits.
    ASSERT_TRUE(ParseCscaLine("+CSCA: \"+\",145", &c));
    EXPECT_EQ(c.raSvcCtrAddress.dwType, (uint32_t)RIL_ADDRTYPE_INTERNATIONAL);
    EXPECT_EQ(Text16(c.raSvcCtrAddress.wszAddress), T16(""));

    EXPECT_FALSE(ParseCscaLine("+CSCA: 441234,145", &c));
    EXPECT_FALSE(ParseCscaLine("+CSCA: \"44\\12\",145", &c));
    EXPECT_FALSE(ParseCscaLine("+CSCA: \"4412\",999", &c));
    EXPECT_FALSE(ParseCscaLine("+CSCA: \"" + std::string(300, '1') + "\",129", &c));
    // A NUL inside the quotes must not end the check before the copy.
    EXPECT_FALSE(ParseCscaLine("+CSCA: \"6" + std::string(300, '\0') + "\",129", &c));
}

TEST(RilCsca, WritesTheTypeOctetAndRefusesUnsafeAddresses) {
    RilRequest r;
    RILMSGCONFIG c = Config(T16("441234567890"), RIL_ADDRTYPE_INTERNATIONAL);
    ASSERT_EQ(BuildSetMsgConfig(&c, &r), kRilRequestTaken);
    EXPECT_EQ(r.command, "AT+CSCA=\"+441234567890\",145");
    c = Config(T16("0441234567"), RIL_ADDRTYPE_UNKNOWN);
    ASSERT_EQ(BuildSetMsgConfig(&c, &r), kRilRequestTaken);
    EXPECT_EQ(r.command, "AT+CSCA=\"0441234567\",129");
    c = Config(T16(""), RIL_ADDRTYPE_UNKNOWN);
    ASSERT_EQ(BuildSetMsgConfig(&c, &r), kRilRequestTaken);
    EXPECT_EQ(r.command, "AT+CSCA=\"\",129");

    // Nothing that could leave the quotes, no "+" inside, at most 20 digits.
    for (const Char16* bad : {T16("44\"+CFUN=0"), T16("44+12"), T16("12 34"), T16("123456789012345678901")}) {
        c = Config(bad, RIL_ADDRTYPE_UNKNOWN);
        EXPECT_EQ(BuildSetMsgConfig(&c, &r), RIL_E_INVALIDARG) << testing::PrintToString(bad);
    }
    c = Config(T16("12"), RIL_ADDRTYPE_UNKNOWN);
    for (auto& ch : c.raSvcCtrAddress.wszAddress) ch = '1';  // no terminator
    EXPECT_EQ(BuildSetMsgConfig(&c, &r), RIL_E_INVALIDARG);
    // A configuration never read (all zero) sends only its address and type,
    // and sets nothing without an address.
    RILMSGCONFIG zero = {};
    zero.raSvcCtrAddress.dwType = 1;
    Copy16(zero.raSvcCtrAddress.wszAddress, T16("4412"));
    ASSERT_EQ(BuildSetMsgConfig(&zero, &r), kRilRequestTaken);
    EXPECT_EQ(r.command, "AT+CSCA=\"+4412\",145");
    zero.raSvcCtrAddress.dwType = 0;
    ASSERT_EQ(BuildSetMsgConfig(&zero, &r), kRilRequestTaken);
    EXPECT_EQ(r.command, "AT+CSCA=\"4412\",129");
    zero.raSvcCtrAddress.wszAddress[0] = 0;
    EXPECT_EQ(BuildSetMsgConfig(&zero, &r), RIL_E_INVALIDARG);
    zero.raSvcCtrAddress.dwNumPlan = 1;  // not all zero, and no address declared
    Copy16(zero.raSvcCtrAddress.wszAddress, T16("4412"));
    EXPECT_EQ(BuildSetMsgConfig(&zero, &r), RIL_E_INVALIDARG);
    EXPECT_EQ(BuildSetMsgConfig(nullptr, &r), RIL_E_INVALIDARG);
}

TEST(RilCsca, AddressesGoInTheModemsCharacterSet) {
    struct Case {
        TeCharset charset;
        const char* answer;   // of AT+CSCA?
        const Char16* read;  // its digits, "" when refused
        const char* set;      // AT+CSCA= for +4412
    };
    const Case cases[] = {
        {TeCharset::Gsm, "+CSCA: \"+4412\",145", T16("4412"), "AT+CSCA=\"+4412\",145"},
        {TeCharset::Ira, "+csca: \"+4412\" , 145", T16("4412"), "AT+CSCA=\"+4412\",145"},
        {TeCharset::Ucs2, "+CSCA: \"002B0034003400310032\",145", T16("4412"),
         "AT+CSCA=\"002B0034003400310032\",145"},
        {TeCharset::Hex, "+CSCA: \"2b34343132\",145", T16("4412"), "AT+CSCA=\"2B34343132\",145"},
        // A modem that gives it plain all the same is read as it is.
        {TeCharset::Ucs2, "+CSCA: \"+4412\",145", T16("4412"), nullptr},
        // Without the character set the hex is no address; "B" is a dial character.
        {TeCharset::Gsm, "+CSCA: \"002B0034\",145", T16("002B0034"), nullptr},
        {TeCharset::Ucs2, "+CSCA: \"00E90031\",145", T16(""), nullptr},  // beyond ASCII, and no address plain
        // Without quotes: hex of the set in force, and nothing else.
        {TeCharset::Hex, "+CSCA: 2b34343132 ,145", T16("4412"), nullptr},
        {TeCharset::Ucs2, "+CSCA: ,145", T16(""), nullptr},
        {TeCharset::Ucs2, "+CSCA: +4412,145", T16(""), nullptr},
    };
    RILMSGCONFIG set = Config(T16("4412"), RIL_ADDRTYPE_INTERNATIONAL);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.answer);
        RILMSGCONFIG read;
        bool ok = ParseCscaLine(c.answer, &read, c.charset);
        EXPECT_EQ(ok, c.read[0] != 0);
        if (ok) {
            EXPECT_EQ(Text16(read.raSvcCtrAddress.wszAddress), c.read);
        }
        if (!c.set) continue;
        AtDialect d;
        d.charset = c.charset;
        RilRequest r;
        ASSERT_EQ(BuildSetMsgConfig(&set, &r), kRilRequestTaken);
        FitRequestToModem(&r, d);
        EXPECT_EQ(r.command, c.set);
    }
}

TEST(RilCsca, TheRuleForAddressesAModemTakes) {
    for (const Char16* good : {T16(""), T16("+441234567890"), T16("0441234567"), T16("*#12abcABC"), T16("12345678901234567890")})
        EXPECT_TRUE(RilIsSendableSvcCtrAddress(good)) << testing::PrintToString(good);
    for (const Char16* bad : {T16("+"), T16("44+12"), T16("+ 44"), T16("12-34"), T16("44\""), T16("123456789012345678901"), T16("4d")})
        EXPECT_FALSE(RilIsSendableSvcCtrAddress(bad)) << testing::PrintToString(bad);
    EXPECT_FALSE(RilIsSendableSvcCtrAddress(nullptr));
    EXPECT_FALSE(RilIsSendableSvcCtrAddress(T16("4412"), 4));  // no terminator within reach
    EXPECT_TRUE(RilIsSendableSvcCtrAddress(T16("4412"), 5));
}

TEST(RilCrsm, AsksAgainWithTheLengthOrThePathTheCardWants) {
    struct Case {
        uint32_t dwCommand;
        uint32_t dwFile;
        const char* answer;
        const char* again;  // null: the answer stands
    };
    const Case cases[] = {
        {RIL_SIMCMD_GETRESPONSE, 0x6F17, "+CRSM: 103,15", "AT+CRSM=192,28439,0,0,15"},
        {RIL_SIMCMD_GETRESPONSE, 0x6FC7, "+CRSM: 108,25", "AT+CRSM=192,28615,0,0,25"},
        {RIL_SIMCMD_GETRESPONSE, 0x6F17, "+CRSM: 103,0", nullptr},  // no length given
        {RIL_SIMCMD_READRECORD, 0x6F17, "+CRSM: 103,28", nullptr},  // only GET RESPONSE
        {RIL_SIMCMD_GETRESPONSE, 0x6F17, "+CRSM: 148,4", "AT+CRSM=192,28439,0,0,0,\"\",\"3F007F20\""},
        {RIL_SIMCMD_READRECORD, 0x6FC7, "+CRSM: 106,130", "AT+CRSM=178,28615,1,4,28,\"\",\"3F007FFF\""},
        {RIL_SIMCMD_GETRESPONSE, 0x4F30, "+CRSM: 148,4", nullptr},  // no path known
        {RIL_SIMCMD_GETRESPONSE, 0x6F17, "+CRSM: 144,0,\"00\"", nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.answer);
        RILSIMCMDPARAMETERS p = {sizeof p, RIL_PARAM_SCP_ALL, c.dwFile, 0, 0, 0};
        if (c.dwCommand == RIL_SIMCMD_READRECORD) p = {sizeof p, RIL_PARAM_SCP_ALL, c.dwFile, 1, 4, 28};
        RilRequest r, again;
        ASSERT_EQ(BuildSimCmd(c.dwCommand, &p, nullptr, 0, &r), kRilRequestTaken);
        ASSERT_EQ(RetryOfSimCmd(r, Reply({c.answer}), &again), c.again != nullptr);
        if (!c.again) continue;
        EXPECT_EQ(again.command, c.again);
        // Once only.
        EXPECT_FALSE(RetryOfSimCmd(again, Reply({c.answer}), &r));
    }
    // A connection whose modem asked for paths gives them from then on; data
    // goes before the path.
    RILSIMCMDPARAMETERS p = {sizeof p, RIL_PARAM_SCP_ALL, 0x6F17, 1, 4, 2};
    uint8_t data[2] = {0x06, 0x91};
    RilRequest r;
    ASSERT_EQ(BuildSimCmd(RIL_SIMCMD_UPDATERECORD, &p, data, 2, &r), kRilRequestTaken);
    AtDialect d;
    FitRequestToModem(&r, d);
    EXPECT_EQ(r.command, "AT+CRSM=220,28439,1,4,2,\"0691\"");
    d.bSimPaths = true;
    FitRequestToModem(&r, d);
    EXPECT_EQ(r.command, "AT+CRSM=220,28439,1,4,2,\"0691\",\"3F007F20\"");
}

TEST(RilCrsm, BuildsCommandsFromParameters) {
    RILSIMCMDPARAMETERS p = {sizeof p, RIL_PARAM_SCP_ALL, 0x6F17, 1, 4, 28};
    RilRequest r;
    ASSERT_EQ(BuildSimCmd(RIL_SIMCMD_READRECORD, &p, nullptr, 0, &r), kRilRequestTaken);
    EXPECT_EQ(r.command, "AT+CRSM=178,28439,1,4,28");
    uint8_t data[3] = {0x06, 0x91, 0xFF};
    p.dwParameter3 = 3;
    ASSERT_EQ(BuildSimCmd(RIL_SIMCMD_UPDATERECORD, &p, data, 3, &r), kRilRequestTaken);
    EXPECT_EQ(r.command, "AT+CRSM=220,28439,1,4,3,\"0691FF\"");
    p.dwParams = RIL_PARAM_SCP_FILEID;
    ASSERT_EQ(BuildSimCmd(RIL_SIMCMD_GETRESPONSE, &p, nullptr, 0, &r), kRilRequestTaken);
    EXPECT_EQ(r.command, "AT+CRSM=192,28439");

    p = {sizeof p, RIL_PARAM_SCP_ALL, 0x6F17, 256, 4, 28};
    EXPECT_EQ(BuildSimCmd(RIL_SIMCMD_READRECORD, &p, nullptr, 0, &r), RIL_E_INVALIDARG);
    p.dwParameter1 = 1;
    EXPECT_EQ(BuildSimCmd(RIL_SIMCMD_UPDATERECORD, &p, nullptr, 28, &r), RIL_E_INVALIDARG);
    std::vector<uint8_t> big(256, 0xFF);
    EXPECT_EQ(BuildSimCmd(RIL_SIMCMD_UPDATERECORD, &p, big.data(), 256, &r), RIL_E_INVALIDARG);
    EXPECT_EQ(BuildSimCmd(9, &p, nullptr, 0, &r), RIL_E_INVALIDARG);
    p.cbSize = 20;
    EXPECT_EQ(BuildSimCmd(RIL_SIMCMD_READRECORD, &p, nullptr, 0, &r), RIL_E_INVALIDARG);
}

TEST(RilCrsm, AnswerCarriesStatusWordsAndResponse) {
    RilRequest r;
    RILSIMCMDPARAMETERS p = {sizeof p, RIL_PARAM_SCP_ALL, 0x6F17, 1, 4, 2};
    ASSERT_EQ(BuildSimCmd(RIL_SIMCMD_READRECORD, &p, nullptr, 0, &r), kRilRequestTaken);
    RilAnswer a = AnswerFromReply(r, Reply({"+CRSM: 144,0,\"0691\""}));
    ASSERT_EQ(a.dwCode, (uint32_t)RIL_RESULT_OK);
    ASSERT_EQ(a.data.size(), 18u);
    RILSIMRESPONSE head;
    memcpy(&head, a.data.data(), 16);
    EXPECT_EQ(head.cbSize, 18u);
    EXPECT_EQ(head.dwStatusWord1, 0x90u);
    EXPECT_EQ(a.data[16], 0x06);
    EXPECT_EQ(a.data[17], 0x91);

    // Success: 90 00, 91 xx, 92 0X, 9F xx. Anything else is an error result.
    EXPECT_EQ(AnswerFromReply(r, Reply({"+CRSM: 159,16,\"0691\""})).dwCode, (uint32_t)RIL_RESULT_OK);
    EXPECT_EQ(AnswerFromReply(r, Reply({"+CRSM: 145,0,\"0691\""})).dwCode, (uint32_t)RIL_RESULT_OK);
    EXPECT_EQ(AnswerFromReply(r, Reply({"+CRSM: 146,15,\"0691\""})).dwCode, (uint32_t)RIL_RESULT_OK);
    // The prefix in any case, the data quoted or not, blanks around the commas.
    for (const char* shape : {"+crsm: 144,0,0691", "+CRSM: 144 , 0 , \"0691\" ", "+Crsm:144,0,\"0691\""})
        EXPECT_EQ(SimBytesOf(AnswerFromReply(r, Reply({shape}))), (std::vector<uint8_t>{0x06, 0x91})) << shape;
    // A record read must bring the record asked for (P3 = 2 bytes here).
    for (const char* odd : {"+CRSM: 144,0", "+CRSM: 159,16", "+CRSM: 144,0,\"06\"", "+CRSM: 144,0,\"069121\""})
        EXPECT_EQ(ErrorOf(AnswerFromReply(r, Reply({odd}))), RIL_E_INVALIDRESPONSE) << odd;
    for (auto sw : {std::make_pair(0x6A, 0x83), std::make_pair(0x94, 0x04), std::make_pair(0x67, 0x00),
                    std::make_pair(0x90, 0x01), std::make_pair(0x98, 0x04), std::make_pair(0x92, 0x40)}) {
        std::string line = "+CRSM: " + std::to_string(sw.first) + "," + std::to_string(sw.second);
        RilAnswer e = AnswerFromReply(r, Reply({line}));
        EXPECT_EQ(e.dwCode, (uint32_t)RIL_RESULT_ERROR) << line;
        EXPECT_EQ(ErrorOf(e), RIL_E_SIMSTATUS(sw.first, sw.second)) << line;
    }
    // Malformed or missing information gives no made-up answer.
    for (const char* bad : {"+CRSM: 144", "+CRSM: 144,0,\"069\"", "+CRSM: 144,0,\"0G\"", "+CRSM: 300,0"})
        EXPECT_EQ(ErrorOf(AnswerFromReply(r, Reply({bad}))), RIL_E_INVALIDRESPONSE) << bad;
    EXPECT_EQ(ErrorOf(AnswerFromReply(r, Reply({}))), RIL_E_INVALIDRESPONSE);
    EXPECT_EQ(ErrorOf(AnswerFromReply(r, Reply({}, AtFinalKind::CmeError, 10))), RIL_E_SIMNOTINSERTED);
    EXPECT_EQ(ErrorOf(AnswerFromReply(r, Reply({}, AtFinalKind::CmsError, 330))), RIL_E_SMSCADDRUNKNOWN);
}

TEST(RilCrsm, UsimFcpBecomesTheGsmLayout) {
    // TS 102.221 FCP of a linear fixed EF 6FC7: 4 records of 28 bytes.
    std::vector<uint8_t> fcp = {0x62, 0x19, 0x82, 0x05, 0x42, 0x21, 0x00, 0x1C, 0x04, 0x83, 0x02, 0x6F,
                             0xC7, 0xA5, 0x03, 0x80, 0x01, 0x71, 0x8A, 0x01, 0x05, 0x80, 0x02, 0x00,
                             0x70, 0x88, 0x00};
    std::vector<uint8_t> gsm;
    ASSERT_TRUE(ConvertFcpToGsm(fcp, &gsm));
    ASSERT_EQ(gsm.size(), 15u);
    EXPECT_EQ(gsm[2], 0x00);
    EXPECT_EQ(gsm[3], 0x70);  // 112 bytes
    EXPECT_EQ(gsm[4], 0x6F);
    EXPECT_EQ(gsm[5], 0xC7);
    EXPECT_EQ(gsm[13], 0x01);  // linear fixed
    EXPECT_EQ(gsm[14], 28);

    // Without a file size the size is records times length.
    std::vector<uint8_t> noSize = {0x62, 0x07, 0x82, 0x05, 0x42, 0x21, 0x00, 0x1E, 0x06};
    ASSERT_TRUE(ConvertFcpToGsm(noSize, &gsm));
    EXPECT_EQ(gsm[2] << 8 | gsm[3], 180);
    EXPECT_EQ(gsm[14], 30);

    // Truncated templates and ones without a descriptor are refused.
    EXPECT_FALSE(ConvertFcpToGsm({0x62, 0x19, 0x82, 0x05, 0x42}, &gsm));
    EXPECT_FALSE(ConvertFcpToGsm({0x62, 0x04, 0x82, 0x05, 0x42, 0x21}, &gsm));
    EXPECT_FALSE(ConvertFcpToGsm({0x62, 0x04, 0x80, 0x02, 0x00, 0x70}, &gsm));
    EXPECT_FALSE(ConvertFcpToGsm({0x62, 0x07, 0x82, 0x05, 0x42, 0x21, 0x01, 0x00, 0x04}, &gsm));

    // Through the answer of a GET RESPONSE.
    RILSIMCMDPARAMETERS p = {sizeof p, RIL_PARAM_SCP_ALL, 0x6FC7, 0, 0, 0};
    RilRequest r;
    ASSERT_EQ(BuildSimCmd(RIL_SIMCMD_GETRESPONSE, &p, nullptr, 0, &r), kRilRequestTaken);
    RilAnswer a = AnswerFromReply(r, Reply({"+CRSM: 144,0,\"621982054221001C0483026FC7A5038001718A0105800200708800\""}));
    ASSERT_EQ(a.dwCode, (uint32_t)RIL_RESULT_OK);
    ASSERT_EQ(a.data.size(), 31u);
    EXPECT_EQ(a.data[16 + 14], 28);
    EXPECT_EQ(a.data[16 + 3], 0x70);
}

}  // namespace
