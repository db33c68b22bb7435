// RadioLink through the real RIL and the built-in simulated modem: the five
// requests, the answer-size rules, and how failures of the radio end a request.
#include <cstring>

#include "settings/record_codec.h"
#include "tests/settings/radio_fixture.h"

namespace {

using Bytes = std::vector<BYTE>;

class RadioLinkTest : public RadioTest {};

}  // namespace

TEST_F(RadioLinkTest, MessageConfigurationReadAndWrittenBack) {
    TraceCapture trace;
    RadioLink link;
    ASSERT_TRUE(link.My_RIL_Initialize());
    RILMSGCONFIG config = {};
    ASSERT_TRUE(link.My_RIL_GetTextMessage_Setting(&config));
    EXPECT_EQ(config.cbSize, sizeof(RILMSGCONFIG));
    EXPECT_EQ(config.raSvcCtrAddress.dwType, static_cast<DWORD>(RIL_ADDRTYPE_INTERNATIONAL));
    EXPECT_STREQ(config.raSvcCtrAddress.wszAddress, L"441234567890");
    EXPECT_EQ(link.m_dwCode, static_cast<DWORD>(RIL_RESULT_OK));

    wcscpy(config.raSvcCtrAddress.wszAddress, L"3161234");
    ASSERT_TRUE(link.My_RIL_SetTextMessage_Setting(&config));
    ASSERT_TRUE(link.My_RIL_Deinitialize());
    EXPECT_EQ(link.m_hRil, nullptr);
    EXPECT_NE(ReadCard().find("smsc +3161234 145"), std::string::npos) << ReadCard();

    // A further group on the same object, as the settings do.
    ASSERT_TRUE(link.My_RIL_Initialize());
    RILMSGCONFIG again = {};
    ASSERT_TRUE(link.My_RIL_GetTextMessage_Setting(&again));
    EXPECT_STREQ(again.raSvcCtrAddress.wszAddress, L"3161234");
    link.My_RIL_Deinitialize();
    EXPECT_EQ(trace.Count(L"v_RILResultCallBack : m_hrCmdID == hrCmdID"), 3);
}

TEST_F(RadioLinkTest, MessageConfigurationAnswerMustHold536Bytes) {
    ShapedLink link;
    ASSERT_TRUE(link.My_RIL_Initialize());
    // The target is followed by bytes that must stay as they are.
    struct {
        RILMSGCONFIG config;
        BYTE beyond[64];
    } target;
    memset(&target, 0xA5, sizeof target);

    link.shape = [](Bytes& d) { d.resize(535); };
    EXPECT_FALSE(link.My_RIL_GetTextMessage_Setting(&target.config));
    EXPECT_EQ(link.m_cbResult, 535u);
    for (size_t i = 0; i < sizeof target; ++i) ASSERT_EQ(reinterpret_cast<BYTE*>(&target)[i], 0xA5);

    Bytes real;
    link.shape = [&real](Bytes& d) {
        real = d;
        d.resize(600, 0xEE);
    };
    ASSERT_TRUE(link.My_RIL_GetTextMessage_Setting(&target.config));
    EXPECT_EQ(link.m_cbResult, 600u);
    ASSERT_EQ(real.size(), sizeof(RILMSGCONFIG));
    EXPECT_EQ(memcmp(&target.config, real.data(), sizeof(RILMSGCONFIG)), 0);
    for (BYTE b : target.beyond) ASSERT_EQ(b, 0xA5);

    link.shape = [](Bytes& d) { d.resize(536); };
    EXPECT_TRUE(link.My_RIL_GetTextMessage_Setting(&target.config));
    link.My_RIL_Deinitialize();
}

TEST_F(RadioLinkTest, GetResponseGivesRecordLengthAndCount) {
    ShapedLink link;
    ASSERT_TRUE(link.My_RIL_Initialize());
    ASSERT_TRUE(link.My_RIL_GetVoiceMail_Setting(0x6F17));
    EXPECT_EQ(link.m_dwRecLen, 28u);
    EXPECT_EQ(link.m_dwTotal, 6u);  // 168 bytes
    EXPECT_EQ(link.m_dwNoMaxLen, 20u);
    EXPECT_EQ(link.m_cbResult, RILSIMRESPONSE_HEADER_SIZE + 15u);

    ASSERT_TRUE(link.My_RIL_GetVoiceMail_Setting(0x6FC7));
    EXPECT_EQ(link.m_dwRecLen, 30u);
    EXPECT_EQ(link.m_dwTotal, 2u);

    // 176 bytes of 28-byte records: the division rounds down.
    link.shape = [](Bytes& d) {
        d[16 + 2] = 0x00;
        d[16 + 3] = 0xB0;
        d[16 + 14] = 28;
    };
    ASSERT_TRUE(link.My_RIL_GetVoiceMail_Setting(0x6F17));
    EXPECT_EQ(link.m_dwRecLen, 28u);
    EXPECT_EQ(link.m_dwTotal, 6u);

    // Record length 0: accepted, and the count is left as it was.
    link.shape = [](Bytes& d) {
        d[16 + 3] = 0x20;
        d[16 + 14] = 0;
    };
    ASSERT_TRUE(link.My_RIL_GetVoiceMail_Setting(0x6F17));
    EXPECT_EQ(link.m_dwRecLen, 0u);
    EXPECT_EQ(link.m_dwTotal, 6u);

    // An answer that ends before response byte 14 fails and sets nothing.
    link.shape = [](Bytes& d) {
        d[16 + 14] = 99;
        d.resize(16 + 14);
    };
    EXPECT_FALSE(link.My_RIL_GetVoiceMail_Setting(0x6F17));
    EXPECT_EQ(link.m_dwRecLen, 0u);
    EXPECT_EQ(link.m_dwTotal, 6u);
    link.My_RIL_Deinitialize();
}

TEST_F(RadioLinkTest, RecordReadDecodesAndUpdateReachesTheCard) {
    RadioLink link;
    ASSERT_TRUE(link.My_RIL_Initialize());
    ASSERT_TRUE(link.My_RIL_GetVoiceMail_Setting(0x6F17));
    ASSERT_TRUE(link.My_RIL_GetVoiceMail_RecordEntries(1, 0x6F17));
    ASSERT_EQ(link.m_cbResult, RILSIMRESPONSE_HEADER_SIZE + 28u);
    WCHAR szNo[kPhoneNoChars] = {};
    ParsePhoneNo(link.m_pbResult, link.m_cbResult, szNo, link.m_dwRecLen, link.m_dwNoMaxLen);
    EXPECT_STREQ(szNo, L"+1234567");

    // The radio is closed and reopened between reading and saving; the
    // record length survives on the object.
    link.My_RIL_Deinitialize();
    ASSERT_TRUE(link.My_RIL_Initialize());
    Bytes record(link.m_dwRecLen, 0xFF);
    WCHAR szNew[260] = L"+3161 2w";
    ASSERT_TRUE(BuildRecord(record.data(), szNew, link.m_dwRecLen));
    ASSERT_TRUE(link.My_RIL_SetVoiceMail_RecordEntries(1, 0x6F17, record.data(), link.m_dwRecLen));
    EXPECT_NE(ReadCard().find("record 1 FF FF FF FF FF FF FF FF FF FF FF FF FF FF 05 91 13 16 2D FC FF"),
              std::string::npos)
        << ReadCard();

    ASSERT_TRUE(link.My_RIL_GetVoiceMail_RecordEntries(1, 0x6F17));
    ParsePhoneNo(link.m_pbResult, link.m_cbResult, szNo, link.m_dwRecLen, link.m_dwNoMaxLen);
    EXPECT_STREQ(szNo, L"+31612p");  // the blank was stored as the undefined digit
    link.My_RIL_Deinitialize();
}

TEST_F(RadioLinkTest, UpdateOfAnotherLengthIsNotSent) {
    TraceCapture trace;
    RadioLink link;
    ASSERT_TRUE(link.My_RIL_Initialize());
    ASSERT_TRUE(link.My_RIL_GetVoiceMail_Setting(0x6F17));
    HRESULT hrBefore = link.m_hrCmdID;
    Bytes record(28, 0xFF);
    EXPECT_FALSE(link.My_RIL_SetVoiceMail_RecordEntries(1, 0x6F17, record.data(), 27));
    EXPECT_FALSE(link.My_RIL_SetVoiceMail_RecordEntries(1, 0x6F17, nullptr, 28));
    EXPECT_EQ(link.m_hrCmdID, hrBefore);  // no radio call made
    EXPECT_EQ(trace.Count(L"[err]:My_RIL_SetVoiceMail_RecordEntries()"), 2);
    link.My_RIL_Deinitialize();
    EXPECT_EQ(ReadCard(), kTestCard);
}

TEST_F(RadioLinkTest, StatusWordErrorFailsTheRequest) {
    RadioLink::SetWaitTimeoutForTest(10000);
    RadioLink link;
    ASSERT_TRUE(link.My_RIL_Initialize());
    DWORD t0 = GetTickCount();
    EXPECT_FALSE(link.My_RIL_GetVoiceMail_Setting(0x6F3A));  // not on the card: 94 04
    EXPECT_LT(Since(t0), 5000u);  // the error answer ends the wait, not the time-out
    EXPECT_EQ(link.m_dwCode, static_cast<DWORD>(RIL_RESULT_ERROR));
    ASSERT_EQ(link.m_cbResult, sizeof(HRESULT));
    HRESULT hr;
    memcpy(&hr, link.m_pbResult, sizeof hr);
    EXPECT_EQ(hr, RIL_E_SIMSTATUS(0x94, 0x04));

    // Record 9 of six: 6A 83.
    ASSERT_TRUE(link.My_RIL_GetVoiceMail_Setting(0x6F17));
    EXPECT_FALSE(link.My_RIL_GetVoiceMail_RecordEntries(9, 0x6F17));
    EXPECT_EQ(link.m_dwCode, static_cast<DWORD>(RIL_RESULT_ERROR));
    link.My_RIL_Deinitialize();
}

TEST_F(RadioLinkTest, SilentModemEndsByTimeOutAndKeepsTheLastAnswer) {
    RadioLink::SetWaitTimeoutForTest(kShortWaitMs);
    RadioLink link;
    ASSERT_TRUE(link.My_RIL_Initialize());
    ASSERT_TRUE(link.My_RIL_GetVoiceMail_Setting(0x6F17));
    Bytes getResponse = ResultBytes(link);

    ModemFaults silent;
    silent.bSilent = true;
    SetSimModemFaultsForTest(silent);
    DWORD t0 = GetTickCount();
    EXPECT_FALSE(link.My_RIL_GetVoiceMail_RecordEntries(1, 0x6F17));
    DWORD elapsed = Since(t0);
    EXPECT_GE(elapsed, kShortWaitMs - 20);
    EXPECT_LT(elapsed, kShortWaitMs + 1500);
    // After a failed READ RECORD the buffer still holds the GET RESPONSE answer.
    EXPECT_EQ(ResultBytes(link), getResponse);
    EXPECT_EQ(link.m_dwRecLen, 28u);
    link.My_RIL_Deinitialize();
}

TEST_F(RadioLinkTest, RejectedCallFailsAtOnceAndTouchesNothing) {
    RadioLink::SetWaitTimeoutForTest(0);  // the device's 15000 ms
    RadioLink link;
    ASSERT_TRUE(link.My_RIL_Initialize());
    ASSERT_TRUE(link.My_RIL_GetVoiceMail_Setting(0x6F17));
    link.My_RIL_Deinitialize();
    BYTE* pbBefore = link.m_pbResult;
    Bytes before = ResultBytes(link);

    // Handle 0: the RIL refuses the call, so nothing is waited for.
    DWORD t0 = GetTickCount();
    EXPECT_FALSE(link.My_RIL_GetVoiceMail_RecordEntries(1, 0x6F17));
    RILMSGCONFIG config = {};
    EXPECT_FALSE(link.My_RIL_GetTextMessage_Setting(&config));
    EXPECT_FALSE(link.My_RIL_SetTextMessage_Setting(&config));
    EXPECT_LT(Since(t0), 1000u);
    EXPECT_LT(link.m_hrCmdID, 0);
    EXPECT_EQ(link.m_dwCode, static_cast<DWORD>(RIL_RESULT_OK));
    EXPECT_EQ(link.m_pbResult, pbBefore);
    EXPECT_EQ(ResultBytes(link), before);
}

TEST_F(RadioLinkTest, NoModemLeavesTheHandleZero) {
    RadioLink::SetWaitTimeoutForTest(0);
    RilSetPortForTest(L"COM0:");  // names no port
    RadioLink link;
    EXPECT_FALSE(link.My_RIL_Initialize());
    EXPECT_EQ(link.m_hRil, nullptr);
    DWORD t0 = GetTickCount();
    EXPECT_FALSE(link.My_RIL_GetVoiceMail_Setting(0x6F17));
    EXPECT_LT(Since(t0), 1000u);
    EXPECT_EQ(link.m_pbResult, nullptr);
    EXPECT_TRUE(link.My_RIL_Deinitialize());
}

TEST_F(RadioLinkTest, MismatchedIdChangesOnlyTheCode) {
    // The stray answer must come while the request still waits, also on a
    // busy machine: after the wait it would be dropped unseen.
    const DWORD kWaitMs = 1500;
    RadioLink::SetWaitTimeoutForTest(kWaitMs);
    ShapedLink link;
    ASSERT_TRUE(link.My_RIL_Initialize());
    link.hrIdShift = 1000;
    DWORD t0 = GetTickCount();
    EXPECT_FALSE(link.My_RIL_GetVoiceMail_Setting(0x6F17));
    EXPECT_GE(Since(t0), kWaitMs - 20);
    ASSERT_EQ(WaitForSingleObject(link.hForwarded, 5000), static_cast<DWORD>(WAIT_OBJECT_0));
    EXPECT_EQ(link.m_dwCode, static_cast<DWORD>(RIL_RESULT_OK));  // was 0
    EXPECT_EQ(link.m_pbResult, nullptr);
    EXPECT_EQ(link.m_cbResult, 0u);
    EXPECT_EQ(WaitForSingleObject(link.m_hEvent, 0), static_cast<DWORD>(WAIT_TIMEOUT));

    link.hrIdShift = 0;
    EXPECT_TRUE(link.My_RIL_GetVoiceMail_Setting(0x6F17));
    link.My_RIL_Deinitialize();
}

TEST_F(RadioLinkTest, DestroyingAnOpenLinkClosesItsHandle) {
    TraceCapture trace;
    {
        RadioLink link;
        ASSERT_TRUE(link.My_RIL_Initialize());
        ASSERT_TRUE(link.My_RIL_GetVoiceMail_Setting(0x6F17));
    }
    EXPECT_TRUE(trace.Has(L"[err]:~RadioLink(), radio handle"));
    // A second open on an open link closes the first handle rather than orphaning it.
    RadioLink link;
    ASSERT_TRUE(link.My_RIL_Initialize());
    ASSERT_TRUE(link.My_RIL_Initialize());
    EXPECT_TRUE(trace.Has(L"[err]:My_RIL_Initialize(), radio handle"));
    EXPECT_TRUE(link.My_RIL_GetVoiceMail_Setting(0x6F17));
    link.My_RIL_Deinitialize();
}

