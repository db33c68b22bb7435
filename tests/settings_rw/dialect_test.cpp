// The phone state, the reading and the saving through the whole chain against
// each dialect of the simulated modem, as real modems and SIM cards speak:
// nothing wrong is shown or written, the program makes its requests as ever,
// and a failure leaves a trace line naming the AT command.
#include <gtest/gtest.h>

#include <cstring>

#include "platform/modem/modem_dialect.h"
#include "platform/phone.h"
#include "platform/ril/ril_test_seams.h"
#include "settings/read_settings.h"
#include "settings/save_settings.h"
#include "tests/settings_rw/rw_fixture.h"

namespace {

const wchar_t kPhoneKey[] = L"System\\State\\Phone";

enum class Fault { None, NoCard, CardWriteFails };

struct Row {
    const char* dialects;  // the card's "dialect" line; without a card, the test's
    bool bUsim;
    int nSimType;          // 2: the mailbox number is read from EF_MBDN
    Fault fault;
};

const Row kRows[] = {
    {"", false, 1, Fault::None},
    {"numeric", false, 1, Fault::None},
    {"echo", false, 1, Fault::None},
    {"ucs2", false, 1, Fault::None},
    {"ucs2 keep-charset", false, 1, Fault::None},
    {"hex keep-charset", false, 1, Fault::None},
    {"cme-text", false, 1, Fault::None},
    {"bare-error", false, 1, Fault::None},
    {"crsm-unquoted", false, 1, Fault::None},
    {"read-9f", false, 1, Fault::None},
    {"no-carrier", false, 1, Fault::None},
    {"cfun4", false, 1, Fault::None},
    {"getresponse-67", false, 1, Fault::None},
    {"getresponse-67", true, 1, Fault::None},
    {"path-only", false, 1, Fault::None},
    {"path-only", true, 2, Fault::None},
    {"numeric echo ucs2 keep-charset cme-text crsm-unquoted read-9f no-carrier getresponse-67 path-only",
     true, 2, Fault::None},
    // Told apart from any other error only after AT+CMEE: the card is missing.
    {"cme-text", false, 1, Fault::NoCard},
    {"bare-error", false, 1, Fault::NoCard},
    {"numeric", false, 1, Fault::CardWriteFails},
    {"path-only no-carrier", true, 2, Fault::CardWriteFails},
};

const char kSavedRecord[] =
    "FF FF FF FF FF FF FF FF FF FF FF FF FF FF 05 91 13 16 2D FC FF FF FF FF FF FF FF FF";

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
        SCOPED_TRACE(testing::Message() << "dialect [" << row.dialects << "] usim " << row.bUsim << " fault "
                                        << static_cast<int>(row.fault));
        ReleaseListItems();
        memset(&TextMsgConfig, 0, sizeof TextMsgConfig);
        SetRegString(HKEY_CURRENT_USER, kTestMirrorKey, L"TextMSG_Address", L"old");
        SetRegString(HKEY_CURRENT_USER, kTestMirrorKey, L"VMail_Address", L"+999");
        SetSimFlags(row.nSimType, 0);
        const WORD wFile = row.nSimType == 2 ? 0x6FC7 : 0x6F17;
        std::string card = MakeCard("+441234567890", 145, kFixedPlus1234567, kFixedPlus1234567);
        if (row.bUsim) card.replace(card.find("sim 2G"), 6, "sim USIM");
        ModemFaults faults;
        if (row.fault == Fault::NoCard) {
            DeleteFileW(CardPath().c_str());
            uint32_t d = 0;
            ASSERT_TRUE(DialectsFromText(row.dialects, &d, nullptr));
            faults.dwDialects = d;
        } else {
            if (*row.dialects) card = std::string("dialect ") + row.dialects + "\r\n" + card;
            WriteCard(card);
        }
        faults.bCardWriteFails = row.fault == Fault::CardWriteFails;
        SetSimModemFaultsForTest(faults);

        TraceTrigger trace;
        DWORD state = 99;
        EXPECT_TRUE(GetPhoneState(&state));
        EXPECT_EQ(state, strstr(row.dialects, "cfun4") ? 1u : 2u);
        ASSERT_TRUE(LoadSetting());
        if (row.fault == Fault::NoCard) {
            EXPECT_EQ(ServiceCentreBox(), L"");
            EXPECT_EQ(VoiceMailBox(), L"");
            EXPECT_EQ(Mirror(L"TextMSG_Address"), L"old");
            EXPECT_EQ(Mirror(L"VMail_Address"), L"+999");
            EXPECT_TRUE(trace.Has(L"[AT+CSCA?]: result 3, error 0x81000004"));  // SIM not inserted
        } else {
            EXPECT_EQ(ServiceCentreBox(), L"+441234567890");
            EXPECT_EQ(VoiceMailBox(), L"+1234567");
            EXPECT_EQ(Mirror(L"TextMSG_Address"), L"441234567890");
            EXPECT_EQ(Mirror(L"VMail_Address"), L"+1234567");
            EXPECT_EQ(Count(trace, L"result 3"), 0);
            // The program's three requests, whatever the RIL asked again below them.
            EXPECT_EQ(Count(trace, L"v_RILResultCallBack : m_hrCmdID == hrCmdID"), 3);
        }

        bool bTyped = row.fault != Fault::NoCard;
        AttachEdits(bTyped ? L"+449876543210" : L"", bTyped ? L"+3161 2w" : L"");
        trace.Clear();
        ASSERT_TRUE(SaveSetting());
        for (HWND h : m_edits) DestroyWindow(h);
        m_edits.clear();
        if (row.fault == Fault::NoCard) {
            // Untouched empty boxes after a failed read write nothing.
            EXPECT_EQ(GetFileAttributesW(CardPath().c_str()), INVALID_FILE_ATTRIBUTES);
            EXPECT_EQ(Mirror(L"TextMSG_Address"), L"old");
            EXPECT_EQ(Mirror(L"VMail_Address"), L"+999");
        } else if (row.fault == Fault::CardWriteFails) {
            EXPECT_EQ(ReadCard(), card);
            EXPECT_EQ(Mirror(L"TextMSG_Address"), L"441234567890");
            EXPECT_EQ(Mirror(L"VMail_Address"), L"+1234567");
            EXPECT_TRUE(trace.Has(L"[AT+CSCA=\"+449876543210\",145]: result 3, error 0x8100000B"));
            // A memory problem: 92 40 on a 2G card, 65 81 on a USIM.
            EXPECT_TRUE(trace.Has(row.bUsim ? L"error 0x81016581" : L"error 0x81019240"));
            EXPECT_TRUE(trace.Has(L"[AT+CRSM=220,"));
        } else {
            SimCard after = LoadCard(CardPath());
            EXPECT_EQ(after.smscAddress, "+449876543210");
            EXPECT_EQ(after.nSmscType, 145);
            EXPECT_EQ(Hex(CardRecord(CardPath(), wFile)), kSavedRecord);
            EXPECT_EQ(Mirror(L"TextMSG_Address"), L"449876543210");
            EXPECT_EQ(Mirror(L"VMail_Address"), L"+3161 2p");
            EXPECT_EQ(Count(trace, L"result 3"), 0);
            EXPECT_EQ(Count(trace, L"v_RILResultCallBack : m_hrCmdID == hrCmdID"), 3);
        }
    }
    // The phone state learnt here is no other test's.
    RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, kPhoneKey, L"Status");
}

}  // namespace
