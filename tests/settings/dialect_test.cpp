// The phone state, the reading and the saving through the whole chain against
// each dialect of the simulated modem, as real modems and SIM cards speak:
// nothing wrong is shown or written and the program makes its requests as
// ever. The same dialects with a card missing or full are rows of the fault
// table (fault_table_test.cpp).
#include <gtest/gtest.h>

#include <cstring>

#include "platform/ossvcs/phone.h"
#include "settings/read_settings.h"
#include "settings/save_settings.h"
#include "tests/settings/rw_fixture.h"

namespace {

const wchar_t kPhoneKey[] = L"System\\State\\Phone";

struct Row {
    const char* dialects;  // the card's "dialect" line
    bool bUsim;
    int nSimType;          // 2: the mailbox number is read from EF_MBDN
};

const Row kRows[] = {
    {"", false, 1},
    {"numeric", false, 1},
    {"echo", false, 1},
    {"ucs2", false, 1},
    {"ucs2 keep-charset", false, 1},
    {"hex keep-charset", false, 1},
    {"cme-text", false, 1},
    {"bare-error", false, 1},
    {"crsm-unquoted", false, 1},
    {"read-9f", false, 1},
    {"no-carrier", false, 1},
    {"cfun4", false, 1},
    {"getresponse-67", false, 1},
    {"getresponse-67", true, 1},
    {"path-only", false, 1},
    {"path-only", true, 2},
    {"numeric echo ucs2 keep-charset cme-text crsm-unquoted read-9f no-carrier getresponse-67 path-only",
     true, 2},
};

// +3161 2w under the card's label "Voicemail".
const char kSavedRecord[] =
    "56 6F 69 63 65 6D 61 69 6C FF FF FF FF FF 05 91 13 16 2D FC FF FF FF FF FF FF FF FF";

std::wstring Mirror(LPCWSTR name) { return GetRegString(HKEY_CURRENT_USER, kTestMirrorKey, name); }

int Count(const TraceTrigger& trace, const std::wstring& fragment) {
    int n = 0;
    for (const std::wstring& t : trace.Texts())
        if (t.find(fragment) != std::wstring::npos) ++n;
    return n;
}

using DialectTest = SettingsTest;

TEST_F(DialectTest, ReadAndSaveAgainstEachDialect) {
    for (const Row& row : kRows) {
        SCOPED_TRACE(testing::Message() << "dialect [" << row.dialects << "] usim " << row.bUsim);
        memset(&m_setting.TextMsgConfig, 0, sizeof m_setting.TextMsgConfig);
        SetRegString(HKEY_CURRENT_USER, kTestMirrorKey, L"TextMSG_Address", L"old");
        SetRegString(HKEY_CURRENT_USER, kTestMirrorKey, L"VMail_Address", L"+999");
        SetSimFlags(row.nSimType, 0);
        const WORD wFile = row.nSimType == 2 ? 0x6FC7 : 0x6F17;
        std::string card = MakeCard("+441234567890", 145, kFixedPlus1234567, kFixedPlus1234567);
        if (row.bUsim) card.replace(card.find("sim 2G"), 6, "sim USIM");
        if (*row.dialects) card = std::string("dialect ") + row.dialects + "\r\n" + card;
        WriteCard(card);

        TraceTrigger trace;
        DWORD state = 99;
        EXPECT_TRUE(GetPhoneState(&state));
        EXPECT_EQ(state, strstr(row.dialects, "cfun4") ? 1u : 2u);
        ASSERT_TRUE(Start());
        EXPECT_EQ(ServiceCentreBox(), L"+441234567890");
        EXPECT_EQ(VoiceMailBox(), L"+1234567");
        EXPECT_EQ(Mirror(L"TextMSG_Address"), L"441234567890");
        EXPECT_EQ(Mirror(L"VMail_Address"), L"+1234567");
        EXPECT_EQ(Count(trace, L"result 3"), 0);
        // The program's three requests, whatever the RIL asked again below them.
        EXPECT_EQ(Count(trace, L"v_RILResultCallBack : m_hrCmdID == hrCmdID"), 3);

        Type(L"+449876543210", L"+3161 2w");
        trace.Clear();
        ASSERT_TRUE(SaveSetting(&m_setting, m_input));
        SimCard after = LoadCard(CardPath());
        EXPECT_EQ(after.smscAddress, "+449876543210");
        EXPECT_EQ(after.nSmscType, 145);
        EXPECT_EQ(Hex(CardRecord(CardPath(), wFile)), kSavedRecord);
        EXPECT_EQ(Hex(CardRecord(CardPath(), wFile == 0x6FC7 ? 0x6F17 : 0x6FC7)), kSavedRecord)
            << "the other mailbox file in step";
        EXPECT_EQ(Mirror(L"TextMSG_Address"), L"449876543210");
        EXPECT_EQ(Mirror(L"VMail_Address"), L"+3161 2p");
        EXPECT_EQ(Count(trace, L"result 3"), 0);
        // Set and read back the centre; GET RESPONSE, READ RECORD, UPDATE
        // RECORD and read back the mailbox file; GET RESPONSE, READ RECORD
        // and UPDATE RECORD the other one.
        EXPECT_EQ(Count(trace, L"v_RILResultCallBack : m_hrCmdID == hrCmdID"), 9);
    }
    // The phone state learnt here is no other test's.
    RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, kPhoneKey, L"Status");
}

}  // namespace
