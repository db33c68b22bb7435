// Saving the two numbers on "Done" through the whole chain, from real edit
// controls into the modem's SIM card file and the registry, and the
// notification of a window of the phone application's class.
#include <gtest/gtest.h>

#include <cstring>

#include "platform/ril/ril_test_seams.h"
#include "settings/read_settings.h"
#include "settings/save_settings.h"
#include "tests/settings/rw_fixture.h"

namespace {

std::wstring Mirror(LPCWSTR name) { return GetRegString(HKEY_CURRENT_USER, kTestMirrorKey, name); }

const char kAlphaVoicemail[] = "56 6F 69 63 65 6D 61 69 6C FF FF FF FF FF";
const std::string kRecordPlus1234567 = std::string(kAlphaVoicemail) + " " + kFixedPlus1234567;

class SaveTest : public SettingsTest {
protected:
    void SetUp() override {
        SettingsTest::SetUp();
        ASSERT_TRUE(Start());
        ASSERT_EQ(VoiceMailBox(), L"+1234567");
    }
    std::string Record6F17() const { return Hex(CardRecord(CardPath(), 0x6F17)); }
};

TEST_F(SaveTest, ServiceCentreWithLeadingPlusGoesOutInternationalWithoutIt) {
    TraceTrigger trace;
    Type(L"+449876543210", L"+3161 2w");
    ASSERT_TRUE(SaveSetting(&m_setting, m_input));
    const RILADDRESS& ra = m_setting.TextMsgConfig.raSvcCtrAddress;
    EXPECT_EQ(ra.dwType, static_cast<DWORD>(RIL_ADDRTYPE_INTERNATIONAL));
    EXPECT_STREQ(ra.wszAddress, L"449876543210");
    // The rest of the configuration goes back as it was read.
    EXPECT_EQ(m_setting.TextMsgConfig.cbSize, sizeof(RILMSGCONFIG));
    EXPECT_EQ(ra.dwNumPlan, static_cast<DWORD>(RIL_NUMPLAN_TELEPHONE));
    SimCard card = LoadCard(CardPath());
    EXPECT_EQ(card.smscAddress, "+449876543210");
    EXPECT_EQ(card.nSmscType, 145);
    EXPECT_EQ(Mirror(L"TextMSG_Address"), L"449876543210");
    std::wstring missing;
    EXPECT_TRUE(trace.InOrder(
        {
            L"SaveSetting+",
            L"[msg]:FuncSetVMailTextMSG_Setting()+",
            L"[msg]:FuncSetVMailTextMSG_Setting(),  TextMSG szAddr=+449876543210",
            L"[msg]:FuncSetVMailTextMSG_Setting(), Have +, International calls",
            L"[msg]:FuncSetVMailTextMSG_Setting(), After  cut, Addr =449876543210",
            L"[msg]:FuncSetVMailTextMSG_Setting(): WriteRegistry(TextMSG_Address), VMail_Address, "
            L"szAddr=+449876543210, szTrimAddr=449876543210 \r\n",
            L"[msg]:FuncSetVMailTextMSG_Setting(), VoiceMail szAddr=+3161 2w",
            L"[msg]:Reg_GetRegOverridesSIM()+",
            L"[msg]:Reg_GetCPHS()+",
            L"[msg]:FuncSetVMailTextMSG_Setting(), dwCPHS=[0]",
            L"[msg]:FuncSetVMailTextMSG_Setting(), My_RIL_GetVoiceMail_Setting(), bRet=[1], "
            L"dwVoiceMailRecLen = 28",
            L"[msg]:BuildRecord(), pData=",
            L"[msg]:FuncSetVMailTextMSG_Setting(): WriteRegistry(VMailTextMSG), VMail_Address, "
            L"szAddr=+3161 2p",
            L"[msg]:FuncSetVMailTextMSG_Setting(), My_RIL_SetVoiceMail_RecordEntries, bRet=[1]",
            L"[msg]:FuncSetVMailTextMSG_Setting(), other mailbox file [28615] kept in step, bRet=[1].",
            L"[msg]:FuncSetVMailTextMSG_Setting()-,bRet=[1]",
            L"[msg]:GSMServiceVMailTextMSGDlgProc(), WM_COMMAND(IDOK), hwndCProg=[0x0]",
            L"SaveSetting: bSetupSuccess = 0",
            L"[msg]:SaveSetting(), TextMessageTextBox=[saved], VoiceMailTextBox=[saved].",
            L"SaveSetting-",
        },
        &missing))
        << "missing or out of order: " << testing::PrintToString(missing);
    // No phone application: nothing is sent.
    EXPECT_FALSE(trace.Has(L"PostMessage(WM_CPROG_UPDATEVMAIL_NUMBER)"));
}

TEST_F(SaveTest, ServiceCentreWithoutLeadingPlusGoesOutUnchangedAsTypeNotGiven) {
    struct Case {
        LPCWSTR text;
        LPCWSTR trace;
        bool bRadioTakesIt;
    };
    const Case cases[] = {
        {L"0441234567", L"[msg]:FuncSetVMailTextMSG_Setting(), No +, National calls", true},
        {L"44+12", L"[msg]:FuncSetVMailTextMSG_Setting(), No +, National calls", false},
        {L"", L"[msg]:FuncSetVMailTextMSG_Setting(), Len(szAddr) = 0, National calls", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.text)));
        SetRegString(HKEY_CURRENT_USER, kTestMirrorKey, L"TextMSG_Address", L"old");
        WriteCard(MakeCard("+441234567890", 145, kFixedPlus1234567, kFixedEmpty));
        TraceTrigger trace;
        Type(c.text, L"+1234567");
        FuncSetVMailTextMSG_Setting(&m_setting, m_input, nullptr);
        EXPECT_EQ(m_setting.TextMsgConfig.raSvcCtrAddress.dwType, static_cast<DWORD>(RIL_ADDRTYPE_UNKNOWN));
        EXPECT_STREQ(m_setting.TextMsgConfig.raSvcCtrAddress.wszAddress, c.text);
        EXPECT_TRUE(trace.Has(c.trace));
        SimCard card = LoadCard(CardPath());
        if (c.bRadioTakesIt) {
            EXPECT_EQ(card.smscAddress, std::string(c.text, c.text + wcslen(c.text)));
            EXPECT_EQ(Mirror(L"TextMSG_Address"), c.text);
        } else {
            // The radio refused it: the service centre and its mirror stay.
            EXPECT_EQ(card.smscAddress, "+441234567890");
            EXPECT_EQ(Mirror(L"TextMSG_Address"), L"old");
            EXPECT_FALSE(trace.Has(L"WriteRegistry(TextMSG_Address)"));
            // The voice-mail part still runs.
            EXPECT_TRUE(trace.Has(L"VoiceMail szAddr=+1234567"));
        }
    }
}

// Deleting keeps the mailbox's label: only the number goes.
TEST_F(SaveTest, AnEmptyVoiceMailTextErasesTheNumberAndKeepsTheLabel) {
    Type(L"+441234567890", L"");
    ASSERT_TRUE(SaveSetting(&m_setting, m_input));
    EXPECT_EQ(Record6F17(), std::string(kAlphaVoicemail) + " " + kFixedEmpty);
    EXPECT_EQ(Mirror(L"VMail_Address"), L"");
}

// The file the flags choose is written first; the other one, when the card
// has it, takes the same number under its own label.
TEST_F(SaveTest, EfMbdnIsWrittenForSimType2WithoutCphsAndTheCphsFileKeptInStep) {
    SetSimFlags(2, 0);
    Type(L"+441234567890", L"0800");
    VMailTextMSGSaveResult result{};
    FuncSetVMailTextMSG_Setting(&m_setting, m_input, &result);
    EXPECT_EQ(result.outcome[SF_VOICE_MAIL], SO_SAVED);
    const std::string k0800 = "03 81 80 00 FF FF FF FF FF FF FF FF FF FF";
    EXPECT_EQ(Hex(CardRecord(CardPath(), 0x6FC7)), std::string(kAlphaVoicemail) + " " + k0800);
    EXPECT_EQ(Record6F17(), std::string(kAlphaVoicemail) + " " + k0800);
}

TEST_F(SaveTest, ANumberTooLongForTheRecordLeavesTheSimAndTheMirror) {
    SetRegString(HKEY_CURRENT_USER, kTestMirrorKey, L"VMail_Address", L"+1234567");
    TraceTrigger trace;
    Type(L"+441234567890", L"+123456789012345678901");  // 21 digits
    FuncSetVMailTextMSG_Setting(&m_setting, m_input, nullptr);
    EXPECT_EQ(Record6F17(), kRecordPlus1234567);
    EXPECT_EQ(Mirror(L"VMail_Address"), L"+1234567");
    EXPECT_TRUE(trace.Has(L"[err]:FuncSetVMailTextMSG_Setting(), BuildRecord() failed"));
    EXPECT_FALSE(trace.Has(L"My_RIL_SetVoiceMail_RecordEntries"));
    EXPECT_TRUE(trace.Has(L"[msg]:FuncSetVMailTextMSG_Setting()-,bRet=[1]"));
}

TEST_F(SaveTest, WithoutEditControlsNothingIsWritten) {
    SetRegString(HKEY_CURRENT_USER, kTestMirrorKey, L"VMail_Address", L"+1234567");
    SetRegString(HKEY_CURRENT_USER, kTestMirrorKey, L"TextMSG_Address", L"old");
    const std::string before = ReadCard();
    TraceTrigger trace;
    ASSERT_TRUE(SaveSetting(&m_setting, m_input));
    EXPECT_EQ(ReadCard(), before);
    EXPECT_EQ(Mirror(L"VMail_Address"), L"+1234567");
    EXPECT_EQ(Mirror(L"TextMSG_Address"), L"old");
    EXPECT_TRUE(trace.Has(L"no TextMessageTextBox edit control"));
    EXPECT_TRUE(trace.Has(L"no VoiceMailTextBox edit control"));
    EXPECT_TRUE(trace.Has(L"SaveSetting-"));
}

// What "Done" checks first, of the fields that changed. The service centre's
// check is the radio's own rule: the radio takes every text the check lets
// through and refuses every one the check says it refuses.
TEST_F(SaveTest, WhatCannotBeStoredIsFoundBeforeAnythingIsWritten) {
    constexpr SettingField kCentre = SF_TEXT_MESSAGE, kVoice = SF_VOICE_MAIL, kNone = SF_TEXT_MESSAGE;
    struct Case {
        LPCWSTR centre, voiceMail;
        SettingField field;
        NumberFault fault;
    };
    const Case cases[] = {
        {L"+441234567890", L"+1234567", kNone, NF_NONE},  // as shown: nothing to store
        {L"", L"", kCentre, NF_EMPTY},                    // no text message goes without a centre
        {L"+441234567890", L"", kNone, NF_NONE},          // an emptied voice mail: Done asks first
        {L"+12345678901234567890", L"+31 6-12", kNone, NF_NONE},  // 20 digits each
        {L"0441234567", L"+", kVoice, NF_PLUS_ONLY},
        {L"+", L"+1234567", kCentre, NF_PLUS_ONLY},
        {L"+4412a", L"+1234567", kCentre, NF_BAD_CHARACTER},
        {L"44+12", L"+1234567", kCentre, NF_PLUS_NOT_FIRST},
        {L"+44 12", L"+1234567", kCentre, NF_RADIO_REFUSES},
        {L"+44123p", L"+1234567", kCentre, NF_RADIO_REFUSES},
        {L"+441234567890123456789", L"+1234567", kCentre, NF_RADIO_REFUSES},
        {L"+441234567890", L"call me-12 34", kVoice, NF_BAD_CHARACTER},
        {L"+441234567890", L"12+34", kVoice, NF_PLUS_NOT_FIRST},
        {L"+441234567890", L"+123456789012345678901", kVoice, NF_TOO_LONG},
        {L"+441234567890", L"1234567890 123456789", kNone, NF_NONE},
        {L"+441234567890", L"1234567890 1234567890", kVoice, NF_TOO_LONG},  // a blank takes a digit
        {L"x", L"x", kCentre, NF_BAD_CHARACTER},  // the upper field first
    };
    const VMailTextMSGSetting atStart = m_setting;
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.centre) + L" / " + c.voiceMail));
        m_setting = atStart;  // each case a change from what the screen showed
        Type(c.centre, c.voiceMail);
        SettingInputFault fault{kNone, NF_NONE};
        TraceTrigger trace;
        EXPECT_EQ(CheckSettingInput(m_setting, m_input, &fault), c.fault == NF_NONE ? TRUE : FALSE);
        if (c.fault != NF_NONE) {
            EXPECT_EQ(fault.field, c.field);
            EXPECT_EQ(fault.fault, c.fault);
            EXPECT_TRUE(trace.Has(L"[err]:CheckSettingInput(), "));
        } else {
            EXPECT_TRUE(trace.Texts().empty()) << "a text that can be stored adds no trace line";
        }
        FuncSetVMailTextMSG_Setting(&m_setting, m_input, nullptr);
        const bool bRadioTookIt = trace.Has(L"WriteRegistry(TextMSG_Address)");
        const bool bCentreChanged = wcscmp(c.centre, atStart.szTextMessage) != 0;
        if ((c.fault == NF_NONE && bCentreChanged) || c.fault == NF_RADIO_REFUSES) {
            EXPECT_EQ(bRadioTookIt, c.fault == NF_NONE);
        }
        if (!bCentreChanged) {
            EXPECT_FALSE(trace.Has(L"Have +, International calls")) << "a centre as shown is not sent";
        }
    }
    // A message configuration that failed to read makes the radio refuse
    // any; the check still judges the address alone.
    m_setting = VMailTextMSGSetting{};
    Type(L"+441234567890", L"+1234567");
    EXPECT_TRUE(CheckSettingInput(m_setting, m_input, nullptr));
}

// The old number is never told as if it were new.
TEST_F(SaveTest, ThePhoneApplicationIsNotToldANumberThatWasNotSaved) {
    const std::wstring log = m_device.Path(L"\\phoneapp.log");
    PhoneApp phone(log);
    ASSERT_NE(phone.Window(), nullptr);
    SetRegString(HKEY_CURRENT_USER, kTestMirrorKey, L"VMail_Address", L"+1234567");
    RilSetPortForTest(L"none");
    const std::string before = ReadCard();
    TraceTrigger trace;
    Type(L"+441234567890", L"0800");
    VMailTextMSGSaveResult result{};
    EXPECT_FALSE(SaveSetting(&m_setting, m_input, &result));
    EXPECT_EQ(result.outcome[SF_TEXT_MESSAGE], SO_UNCHANGED);
    EXPECT_EQ(result.outcome[SF_VOICE_MAIL], SO_NOT_SAVED);
    EXPECT_EQ(phone.Told("WM_CPROG_UPDATEVMAIL_NUMBER"), 0);
    EXPECT_EQ(ReadCard(), before);
    WCHAR szLine[96];
    _snwprintf_s(szLine, _TRUNCATE, L"hwndCProg=[0x%x]",
                 static_cast<unsigned>(reinterpret_cast<UINT_PTR>(phone.Window())));
    std::wstring missing;
    EXPECT_TRUE(trace.InOrder({L"FuncSetVMailTextMSG_Setting(), My_RIL_GetVoiceMail_Setting() Failed",
                               szLine,
                               L"[msg]:GSMServiceVMailTextMSGDlgProc(), voice mail not saved, the phone "
                               L"application not told.",
                               L"[msg]:SaveSetting(), TextMessageTextBox=[unchanged], VoiceMailTextBox=[not saved].",
                               L"SaveSetting-"},
                              &missing))
        << testing::PrintToString(missing);
}

TEST_F(SaveTest, ThePhoneApplicationReadsTheNewMirrorWhenTold) {
    const std::wstring log = m_device.Path(L"\\phoneapp.log");
    PhoneApp phone(log);
    ASSERT_NE(phone.Window(), nullptr);
    Type(L"+441234567890", L"+3161 2w");
    ASSERT_TRUE(SaveSetting(&m_setting, m_input));
    // Sent, not posted: the phone application has handled it when the save returns.
    EXPECT_EQ(phone.Told("WM_CPROG_UPDATEVMAIL_NUMBER VMail_Address=[+3161 2p]"), 1) << ReadFileBytes(log);
}

}  // namespace
