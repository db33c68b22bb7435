// The registry store: key holder, flag readers, mirror writer, display reader.
#include <gtest/gtest.h>

#include <string>

#include "platform/ril/ril_test_seams.h"
#include "settings/settings_store.h"
#include "tests/settings/rw_fixture.h"

namespace {

using StoreTest = SettingsTest;

void SetRaw(HKEY root, LPCWSTR subkey, LPCWSTR name, DWORD type, const void* data, DWORD cb) {
    HKEY h = nullptr;
    ASSERT_EQ(RegCreateKeyExW(root, subkey, 0, nullptr, 0, KEY_WRITE, nullptr, &h, nullptr), 0);
    ASSERT_EQ(RegSetValueExW(h, name, 0, type, static_cast<const BYTE*>(data), cb), 0);
    RegCloseKey(h);
}

TEST_F(StoreTest, RegKeyQueriesPassOnErrorsAndRefuseValuesOfTheWrongShape) {
    const WCHAR key[] = L"Software\\QXStoreTest";
    DeleteRegTree(HKEY_CURRENT_USER, key);
    DWORD dw = 7;
    WORD w = 5;
    const WCHAR unterminated[] = {L'1', L'2'};
    SetRaw(HKEY_CURRENT_USER, key, L"dword", REG_DWORD, &dw, 4);
    SetRaw(HKEY_CURRENT_USER, key, L"short", REG_DWORD, &w, 2);
    SetRaw(HKEY_CURRENT_USER, key, L"text", REG_SZ, L"+4477", 12);
    SetRaw(HKEY_CURRENT_USER, key, L"expand", REG_EXPAND_SZ, L"1", 4);
    SetRaw(HKEY_CURRENT_USER, key, L"empty", REG_SZ, L"", 0);
    SetRaw(HKEY_CURRENT_USER, key, L"unterminated", REG_SZ, unterminated, 4);
    SetRaw(HKEY_CURRENT_USER, key, L"odd", REG_SZ, L"12", 5);

    RegKey k;
    EXPECT_EQ(k.Open(HKEY_CURRENT_USER, L"Software\\QXStoreTest\\absent", kStoreAccess),
              ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(k.Handle(), nullptr);
    ASSERT_EQ(k.Open(HKEY_CURRENT_USER, key, kStoreAccess), 0);
    HKEY first = k.Handle();
    // A failed open keeps the key already held.
    EXPECT_EQ(k.Open(HKEY_CURRENT_USER, L"Software\\QXStoreTest\\absent", kStoreAccess),
              ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(k.Handle(), first);

    DWORD v = 0;
    EXPECT_EQ(k.QueryDWORD(L"dword", &v), 0);
    EXPECT_EQ(v, 7u);
    v = 99;
    EXPECT_EQ(k.QueryDWORD(L"missing", &v), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(k.QueryDWORD(L"text", &v), ERROR_MORE_DATA);  // passed on unchanged
    EXPECT_EQ(k.QueryDWORD(L"expand", &v), ERROR_INVALID_DATA);
    EXPECT_EQ(k.QueryDWORD(L"short", &v), ERROR_INVALID_DATA);
    EXPECT_EQ(v, 99u);

    WCHAR sz[8];
    DWORD cch = 8;
    EXPECT_EQ(k.QueryString(L"text", sz, &cch), 0);
    EXPECT_STREQ(sz, L"+4477");
    EXPECT_EQ(cch, 6u);
    cch = 8;
    EXPECT_EQ(k.QueryString(L"expand", sz, &cch), 0);
    EXPECT_STREQ(sz, L"1");
    cch = 8;
    EXPECT_EQ(k.QueryString(L"empty", sz, &cch), 0);
    EXPECT_STREQ(sz, L"");
    for (LPCWSTR bad : {L"dword", L"unterminated", L"odd"}) {
        SCOPED_TRACE(bad);
        cch = 8;
        wcscpy_s(sz, L"junk");
        EXPECT_EQ(k.QueryString(bad, sz, &cch), ERROR_INVALID_DATA);
        EXPECT_EQ(cch, 0u);
        EXPECT_STREQ(sz, L"");
    }
    cch = 4;  // "+4477" and its terminator need 6
    EXPECT_EQ(k.QueryString(L"text", sz, &cch), ERROR_MORE_DATA);
    EXPECT_EQ(cch, 0u);
    EXPECT_STREQ(sz, L"");

    EXPECT_EQ(k.SetString(L"set", L"0441"), 0);
    EXPECT_EQ(k.Close(), 0);
    EXPECT_EQ(k.Handle(), nullptr);
    EXPECT_EQ(GetRegString(HKEY_CURRENT_USER, key, L"set"), L"0441");
    DeleteRegTree(HKEY_CURRENT_USER, key);
}

TEST_F(StoreTest, OverrideSwitchReadsItsDwordOrZero) {
    TraceTrigger trace;
    EXPECT_EQ(Reg_GetRegOverridesSIM(), 0u);  // no key
    EXPECT_TRUE(trace.Has(L"[msg]:Reg_GetRegOverridesSIM()-, dwRet = 0."));
    EXPECT_FALSE(trace.Has(L"Error_MESSAGE"));

    SetRegDword(HKEY_CURRENT_USER, kTestVmailKey, L"RegOverridesSIM", 1);
    trace.Clear();
    EXPECT_EQ(Reg_GetRegOverridesSIM(), 1u);
    EXPECT_TRUE(trace.InOrder({L"[msg]:Reg_GetRegOverridesSIM()+",
                               L"[msg]:Reg_GetRegOverridesSIM(): EXIST, dwSel=1.",
                               L"[msg]:Reg_GetRegOverridesSIM()-, dwRet = 1."},
                              nullptr));
}

TEST_F(StoreTest, ReadCphsIsItsDwordOrZero) {
    TraceTrigger trace;
    SetRegDword(HKEY_LOCAL_MACHINE, kTestRilKey, L"ReadCPHS", 1);
    EXPECT_EQ(Reg_GetVMailCPHS(), 1u);
    EXPECT_TRUE(trace.InOrder({L"[msg]:Reg_GetCPHS()+", L"[msg]:Reg_GetVMailCPHS(): dwValue=[1].",
                               L"[msg]:Reg_GetVMailCPHS()-, dwRet=[1]."},
                              nullptr));
    DeleteRegValue(HKEY_LOCAL_MACHINE, kTestRilKey, L"ReadCPHS");
    EXPECT_EQ(Reg_GetVMailCPHS(), 0u);
    SetRegString(HKEY_LOCAL_MACHINE, kTestRilKey, L"ReadCPHS", L"1");
    EXPECT_EQ(Reg_GetVMailCPHS(), 0u);
    DeleteRegValue(HKEY_LOCAL_MACHINE, kTestRilKey, L"ReadCPHS");
}

TEST_F(StoreTest, MailboxFileIsEfMbdnOnlyForSimType2WithoutCphs) {
    EXPECT_EQ(SelectMailboxFile(2, 0), 0x6FC7u);
    EXPECT_EQ(SelectMailboxFile(2, 1), 0x6F17u);
    for (DWORD simType : {0u, 1u, 3u}) {
        EXPECT_EQ(SelectMailboxFile(simType, 0), 0x6F17u) << simType;
        EXPECT_EQ(SelectMailboxFile(simType, 1), 0x6F17u) << simType;
    }
}

TEST_F(StoreTest, SimTypeFlagsNeedTheOemKeyButNotItsValue) {
    DWORD cphs = 9, simType = 9;
    SetSimFlags(2, 1);
    ASSERT_TRUE(ReadSimTypeFlags(&cphs, &simType));
    EXPECT_EQ(cphs, 1u);
    EXPECT_EQ(simType, 2u);
    SetSimFlags(-1, -1);
    ASSERT_TRUE(ReadSimTypeFlags(&cphs, &simType));
    EXPECT_EQ(cphs, 0u);
    EXPECT_EQ(simType, 0u);
    DeleteRegTree(HKEY_LOCAL_MACHINE, kTestOemKey);
    EXPECT_FALSE(ReadSimTypeFlags(&cphs, &simType));
}

TEST_F(StoreTest, WriteRegistryCreatesTheMirrorKeyAndWritesTextWithItsTerminator) {
    ASSERT_EQ(GetRegString(HKEY_CURRENT_USER, kTestMirrorKey, L"VMail_Address"), L"<absent>");
    EXPECT_TRUE(WriteRegistry(kMirrorKey, kValueVMailAddress, REG_SZ, L"+3161"));
    EXPECT_EQ(GetRegString(HKEY_CURRENT_USER, kTestMirrorKey, L"VMail_Address"), L"+3161");
    EXPECT_TRUE(WriteRegistry(kMirrorKey, kValueTextMSGAddress, REG_SZ, L""));
    EXPECT_EQ(GetRegString(HKEY_CURRENT_USER, kTestMirrorKey, L"TextMSG_Address"), L"");
    DWORD dw = 5;
    EXPECT_TRUE(WriteRegistry(kMirrorKey, L"n", REG_DWORD, &dw));
    EXPECT_FALSE(WriteRegistry(kMirrorKey, L"n", REG_SZ, nullptr));
    EXPECT_FALSE(WriteRegistry(kMirrorKey, L"n", REG_BINARY, &dw));
}

class ShowVMailTest : public StoreTest {
protected:
    void SetUp() override {
        StoreTest::SetUp();
        RilSetPortForTest(L"none");  // the rows without a read
        ASSERT_TRUE(Start());
        wcscpy_s(m_setting.szVoiceMail, L"before");
    }
};

TEST_F(ShowVMailTest, ShowsTheMirrorOrUnderTheOverridePhoneNumber1) {
    SetRegString(HKEY_CURRENT_USER, kTestMirrorKey, L"VMail_Address", L"+1234567");
    SetRegString(HKEY_CURRENT_USER, kTestVmailKey, L"PhoneNumber1", L"0800");
    EXPECT_TRUE(Reg_ShowVMailNumber(&m_setting));
    EXPECT_EQ(VoiceMailBox(), L"+1234567");
    SetRegDword(HKEY_CURRENT_USER, kTestVmailKey, L"RegOverridesSIM", 1);
    EXPECT_TRUE(Reg_ShowVMailNumber(&m_setting));
    EXPECT_EQ(VoiceMailBox(), L"0800");
}

TEST_F(ShowVMailTest, AnUnreadableValueEmptiesTheBoxAndAMissingKeyLeavesIt) {
    EXPECT_FALSE(Reg_ShowVMailNumber(&m_setting));  // no mirror key at all
    EXPECT_EQ(VoiceMailBox(), L"before");

    SetRegString(HKEY_CURRENT_USER, kTestMirrorKey, L"Other", L"x");
    EXPECT_FALSE(Reg_ShowVMailNumber(&m_setting));  // key without the value
    EXPECT_EQ(VoiceMailBox(), L"");

    std::wstring longNumber(300, L'1');
    SetRegString(HKEY_CURRENT_USER, kTestMirrorKey, L"VMail_Address", longNumber.c_str());
    wcscpy_s(m_setting.szVoiceMail, L"before");
    EXPECT_FALSE(Reg_ShowVMailNumber(&m_setting));
    EXPECT_EQ(VoiceMailBox(), L"");

    std::wstring fits(259, L'2');
    SetRegString(HKEY_CURRENT_USER, kTestMirrorKey, L"VMail_Address", fits.c_str());
    EXPECT_TRUE(Reg_ShowVMailNumber(&m_setting));
    EXPECT_EQ(VoiceMailBox(), fits);
}

TEST_F(StoreTest, PhoneNumber1IsWrittenOnlyIntoAnExistingKey) {
    Reg_SavePhoneNumber1(L"+44 77w");
    EXPECT_EQ(GetRegString(HKEY_CURRENT_USER, kTestVmailKey, L"PhoneNumber1"), L"<absent>");
    SetRegDword(HKEY_CURRENT_USER, kTestVmailKey, L"RegOverridesSIM", 1);
    Reg_SavePhoneNumber1(L"+44 77w");
    EXPECT_EQ(GetRegString(HKEY_CURRENT_USER, kTestVmailKey, L"PhoneNumber1"), L"+44 77w");
}

}  // namespace
