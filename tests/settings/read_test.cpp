// Reading the two numbers at start through the whole chain: the RIL, the
// simulated modem and its SIM card file, the registry of the test prefix.
#include <gtest/gtest.h>

#include <algorithm>
#include <cwchar>

#include "settings/read_settings.h"
#include "tests/settings/rw_fixture.h"

namespace {

using ReadTest = SettingsTest;

std::wstring Mirror(LPCWSTR name) { return GetRegString(HKEY_CURRENT_USER, kTestMirrorKey, name); }

void SetMirrors(LPCWSTR pszServiceCentre, LPCWSTR pszVoiceMail) {
    SetRegString(HKEY_CURRENT_USER, kTestMirrorKey, L"TextMSG_Address", pszServiceCentre);
    SetRegString(HKEY_CURRENT_USER, kTestMirrorKey, L"VMail_Address", pszVoiceMail);
}

TEST_F(ReadTest, InternationalServiceCentreShowsWithPlusAndIsMirroredWithout) {
    TraceTrigger trace;
    SetCursor(LoadCursorW(nullptr, MAKEINTRESOURCEW(32512)));
    ASSERT_TRUE(Start());
    EXPECT_EQ(GetCursor(), nullptr);  // the wait cursor is gone again
    EXPECT_EQ(ServiceCentreBox(), L"+441234567890");
    EXPECT_EQ(Mirror(L"TextMSG_Address"), L"441234567890");
    EXPECT_EQ(m_setting.TextMsgConfig.raSvcCtrAddress.dwType, static_cast<DWORD>(RIL_ADDRTYPE_INTERNATIONAL));
    EXPECT_EQ(VoiceMailBox(), L"+1234567");
    EXPECT_EQ(Mirror(L"VMail_Address"), L"+1234567");

    std::wstring missing;
    EXPECT_TRUE(trace.InOrder(
        {
            L"[msg]:FuncGetVMailTextMSG_Setting()+",
            L"[msg]:FuncGetVMailTextMSG_Setting(): WriteRegistry(TextMSG_Address), "
            L"TextMSG_Address=441234567890",
            L"[msg]:==============Text Message Item===================",
            L"[msg]: cbSize              = 536",
            L"[msg]: dwParams            = 1",
            L"[msg]:**************************************************",
            L"[msg]:RILADDRESS, cbSize        = 528",
            L"[msg]:RILADDRESS, dwParams      = 7",
            L"[msg]:RILADDRESS, dwType        = 1",
            L"[msg]:RILADDRESS, dwNumPlan     = 1",
            L"[msg]:RILADDRESS, wszAddress    =[441234567890]",
            L"[msg]:==================================================",
            L"[err]:FuncGetVMailTextMSG_Setting(), m_dwRegOverridesSIM = 0",
            L"[msg]:Reg_GetCPHS()+",
            L"[msg]:FuncGetVMailTextMSG_Setting(), dwCPHS=[0]",
            L"[msg]:FuncGetVMailTextMSG_Setting(), dwTotal=[4]",
            L"[msg]:FuncGetVMailTextMSG_Setting(), [1] ======================",
            L"[msg]:ParsePhoneNo(), pNo=[]",
            L"[msg]:ShowOwnNumber(), szVoiceMail=[+1234567].",
            L"[msg]:FuncGetVMailTextMSG_Setting(): WriteRegistry(VMail_Address), VMail_Address=+1234567",
            L"[msg]:Reg_GetRegOverridesSIM()+",
            L"[msg]:FuncGetVMailTextMSG_Setting()-",
        },
        &missing))
        << "missing or out of order: " << testing::PrintToString(missing);
    // The dump ends with an empty trace line.
    std::vector<std::wstring> texts = trace.Texts();
    auto closing = std::find_if(texts.begin(), texts.end(), [](const std::wstring& t) {
        return t.find(L"[msg]:==================================================") != std::wstring::npos;
    });
    ASSERT_NE(closing, texts.end());
    ASSERT_NE(closing + 1, texts.end());
    const std::wstring prefix = L"\r\n[QXPhoneVMSetting] ";
    EXPECT_EQ(closing[1].compare(0, prefix.size(), prefix), 0);
    EXPECT_EQ(closing[1].size(), prefix.size() + wcslen(L"hh:mm:ss \r\n"));
}

TEST_F(ReadTest, OtherAddressTypesShowWithoutPlus) {
    WriteCard(MakeCard("0441234567", 161, kFixedPlus1234567, kFixedEmpty));  // national
    ASSERT_TRUE(Start());
    EXPECT_EQ(m_setting.TextMsgConfig.raSvcCtrAddress.dwType, static_cast<DWORD>(RIL_ADDRTYPE_NATIONAL));
    EXPECT_EQ(ServiceCentreBox(), L"0441234567");
    EXPECT_EQ(Mirror(L"TextMSG_Address"), L"0441234567");
}

TEST_F(ReadTest, SimType2WithoutCphsReadsEfMbdnAndEveryOtherCombinationTheCphsFile) {
    // +1234567 in 6F17, +7654321 in 6FC7.
    WriteCard(MakeCard("+441234567890", 145, kFixedPlus1234567,
                       "06 91 67 45 23 F1 FF FF FF FF FF FF FF FF"));
    struct Case {
        int nSimType, nReadCPHS;
        LPCWSTR expected;
    };
    const Case cases[] = {
        {2, 0, L"+7654321"},  {2, -1, L"+7654321"}, {2, 1, L"+1234567"}, {0, 0, L"+1234567"},
        {1, 0, L"+1234567"},  {3, 0, L"+1234567"},  {-1, 0, L"+1234567"}, {-1, -1, L"+1234567"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "SIMTYPE " << c.nSimType << " ReadCPHS " << c.nReadCPHS);
        SetSimFlags(c.nSimType, c.nReadCPHS);
        ASSERT_TRUE(Start());
        EXPECT_EQ(VoiceMailBox(), c.expected);
    }
}

TEST_F(ReadTest, ARecordWithoutANumberGivesAndMirrorsTheEmptyText) {
    SetMirrors(L"old", L"+999");
    WriteCard(MakeCard("+441234567890", 145, kFixedEmpty, kFixedEmpty));
    ASSERT_TRUE(Start());
    EXPECT_EQ(VoiceMailBox(), L"");
    EXPECT_EQ(Mirror(L"VMail_Address"), L"");
}

}  // namespace
