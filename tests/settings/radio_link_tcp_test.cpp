// RadioLink over TCP on loopback against modem_server.exe: the requests of a
// reading and a saving, and a slow server whose answers come after the link
// has given up.
#include "settings/record_codec.h"
#include "tests/settings/radio_fixture.h"

namespace {

class RadioLinkTcpTest : public RadioTest {};

}  // namespace

TEST_F(RadioLinkTcpTest, ReadingAndSavingOverTcp) {
    ModemServerProcess server = ServeCard(m_device, CardPath(), L"--echo --noise");
    ASSERT_GT(server.PortNumber(), 0);
    RilSetPortForTest(server.Port().c_str());

    RadioLink link;
    ASSERT_TRUE(link.My_RIL_Initialize());
    RILMSGCONFIG config = {};
    ASSERT_TRUE(link.My_RIL_GetTextMessage_Setting(&config));
    EXPECT_STREQ(config.raSvcCtrAddress.wszAddress, L"441234567890");
    ASSERT_TRUE(link.My_RIL_GetVoiceMail_Setting(0x6F17));
    EXPECT_EQ(link.m_dwRecLen, 28u);
    EXPECT_EQ(link.m_dwTotal, 6u);
    ASSERT_TRUE(link.My_RIL_GetVoiceMail_RecordEntries(1, 0x6F17));
    WCHAR szNo[kPhoneNoChars] = {};
    ParsePhoneNo(link.m_pbResult, link.m_cbResult, szNo, link.m_dwRecLen, link.m_dwNoMaxLen);
    EXPECT_STREQ(szNo, L"+1234567");

    std::vector<BYTE> record(link.m_dwRecLen, 0xFF);
    WCHAR szNew[260] = L"0800123";
    ASSERT_TRUE(BuildRecord(record.data(), szNew, link.m_dwRecLen));
    ASSERT_TRUE(link.My_RIL_SetVoiceMail_RecordEntries(1, 0x6F17, record.data(), link.m_dwRecLen));
    wcscpy(config.raSvcCtrAddress.wszAddress, L"447700900123");
    ASSERT_TRUE(link.My_RIL_SetTextMessage_Setting(&config));
    link.My_RIL_Deinitialize();

    std::string card = ReadCard();
    EXPECT_NE(card.find("record 1 FF FF FF FF FF FF FF FF FF FF FF FF FF FF 05 81 80 00 21 F3 FF"),
              std::string::npos)
        << card;
    EXPECT_NE(card.find("smsc +447700900123 145"), std::string::npos) << card;
}

TEST_F(RadioLinkTcpTest, SlowServerAnswersAreNotMixedUp) {
    // Every answer comes 500 ms late: the first request gives up at 300 ms,
    // the second waits long enough and must get its own answer.
    RilSetCommandTimeoutForTest(5000);
    ModemServerProcess server = ServeCard(m_device, CardPath(), L"--delay 500");
    ASSERT_GT(server.PortNumber(), 0);
    RilSetPortForTest(server.Port().c_str());
    TraceCapture trace;
    RadioLink link;
    ASSERT_TRUE(link.My_RIL_Initialize());
    RadioLink::SetWaitTimeoutForTest(kShortWaitMs);
    EXPECT_FALSE(link.My_RIL_GetVoiceMail_Setting(0x6F17));
    RadioLink::SetWaitTimeoutForTest(4000);
    RILMSGCONFIG config = {};
    ASSERT_TRUE(link.My_RIL_GetTextMessage_Setting(&config));
    EXPECT_EQ(link.m_cbResult, sizeof(RILMSGCONFIG));
    EXPECT_EQ(trace.Count(L"v_RILResultCallBack : m_hrCmdID == hrCmdID"), 1);
    link.My_RIL_Deinitialize();
}
