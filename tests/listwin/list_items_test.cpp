// The rows LoadSetting builds, their labels, and their release with the skin.
#include <gtest/gtest.h>

#include <string>

#include "core/app_state.h"
#include "core/skin_resources.h"
#include "listwin/list_items.h"
#include "platform/ril/ril_test_seams.h"
#include "shell/release_resources.h"
#include "shell/settings_conversation.h"
#include "tests/support/radio_seams.h"
#include "tests/support/scratch.h"

namespace {

class ListItemsTest : public testing::Test {
protected:
    void SetUp() override {
        ResetAppState();
        AppState.hInst = GetModuleHandleW(nullptr);
        // No modem: the read inside LoadSetting fails at once and leaves the boxes empty.
        RilSetPortForTest(L"none");
    }
    void TearDown() override {
        ReleaseListItems();
        ResetRadioSeams();
    }
};

TEST_F(ListItemsTest, BuildsOneGroupOfLabelAndBoxForEachNumberInScreenOrder) {
    ASSERT_TRUE(LoadSetting());
    ASSERT_NE(g_pItems, nullptr);
    EXPECT_EQ(g_nItems, 1u);
    const ListItem& row = g_pItems[0];
    EXPECT_EQ(row.nKind, IK_GROUP);
    EXPECT_EQ(row.nItems, 4);
    EXPECT_STREQ(row.szName, L"");
    EXPECT_STREQ(row.szText, L"");
    ASSERT_NE(row.pItems, nullptr);

    struct Expected {
        LPCWSTR name;
        int kind;
        LPCWSTR text;
        LPCWSTR id;
    };
    const Expected expected[] = {
        {L"TextMessageLabel", IK_GROUP_LABEL, L"Text messages service center:", L""},
        {L"TextMessageTextBox", IK_GROUP_TEXTBOX, L"", L"_QXPhoneVMSetting_TextMessagesTextBoxItem_"},
        {L"VoiceMailLabel", IK_GROUP_LABEL, L"Voice Mail:", L""},
        {L"VoiceMailTextBox", IK_GROUP_TEXTBOX, L"", L"_QXPhoneVMSetting_VoiceMailTextBoxItem_"},
    };
    for (int k = 0; k < 4; ++k) {
        const ListItem& item = row.pItems[k];
        SCOPED_TRACE(k);
        EXPECT_STREQ(item.szName, expected[k].name);
        EXPECT_EQ(item.nKind, expected[k].kind);
        EXPECT_STREQ(item.szText, expected[k].text);
        EXPECT_STREQ(item.szId, expected[k].id);
        EXPECT_EQ(item.uTextId, 0u);
        EXPECT_EQ(item.pfnOnClick, nullptr);
        EXPECT_EQ(item.pfnOnActivate, nullptr);
        EXPECT_EQ(item.hwndEdit, nullptr);
        EXPECT_EQ(item.bHidden, FALSE);
        EXPECT_EQ(item.nItems, 0);
        EXPECT_EQ(item.pItems, nullptr);
    }
    EXPECT_EQ(GetSettingsItem(kItemVoiceMailTextBox), &row.pItems[3]);
    EXPECT_EQ(GetSettingsItem(4), nullptr);
    EXPECT_EQ(GetSettingsItem(-1), nullptr);
}

TEST_F(ListItemsTest, LabelsFallBackToTheirTextsWithoutTheStringTable) {
    // A module without the program's strings.
    HMODULE hOther = GetModuleHandleW(L"ntdll.dll");
    ASSERT_NE(hOther, nullptr);
    WCHAR sz[8];
    ASSERT_EQ(LoadStringW(hOther, 25, sz, 8), 0);
    ASSERT_EQ(LoadStringW(hOther, 26, sz, 8), 0);
    AppState.hInst = hOther;
    ASSERT_TRUE(LoadSetting());
    EXPECT_STREQ(g_pItems[0].pItems[kItemTextMessageLabel].szText, L"Text messages service center:");
    EXPECT_STREQ(g_pItems[0].pItems[kItemVoiceMailLabel].szText, L"Voice Mail:");
}

TEST_F(ListItemsTest, ReleaseWithTheSkinClearsTheRowsAndASecondReleaseDoesNothing) {
    ASSERT_TRUE(LoadSetting());
    // A second build stands in for the first without leaving it half used.
    ASSERT_TRUE(LoadSetting());
    ASSERT_NE(g_pItems, nullptr);
    ASSERT_NE(g_pItems[0].pItems, nullptr);
    EXPECT_STREQ(g_pItems[0].pItems[kItemVoiceMailLabel].szText, L"Voice Mail:");

    ASSERT_TRUE(ReleaseResources());
    EXPECT_EQ(g_pItems, nullptr);
    EXPECT_EQ(GetSettingsItem(kItemTextMessageTextBox), nullptr);
    ASSERT_TRUE(ReleaseResources());
    EXPECT_EQ(g_pItems, nullptr);
}

}  // namespace
