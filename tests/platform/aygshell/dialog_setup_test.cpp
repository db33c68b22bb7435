// Dialog set-up on the module's dialog template 104, setting changes after a
// turn of the screen, and the input panel across activation.
#include <gtest/gtest.h>

#include "platform/aygshell/aygshell.h"
#include "res/resource.h"
#include "tests/platform/aygshell/shell_fixture.h"
#include "tests/support/scratch.h"

namespace {

INT_PTR CALLBACK QuietDialogProc(HWND, UINT msg, WPARAM, LPARAM) { return msg == WM_INITDIALOG; }

class DialogSetupTest : public ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        m_hDlg = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_NOTIFICATION), nullptr,
                                    QuietDialogProc, 0);
        ASSERT_TRUE(m_hDlg);
    }
    void TearDown() override {
        if (IsWindow(m_hDlg)) DestroyWindow(m_hDlg);
        SHSipPreference(nullptr, SIP_FORCEDOWN);
        ShellTest::TearDown();
    }
    BOOL Init(DWORD dwFlags, DWORD dwMask = SHIDIM_FLAGS) {
        SHINITDLGINFO shidi{dwMask, m_hDlg, dwFlags};
        return SHInitDialog(&shidi);
    }
    static void ExpectRect(HWND hwnd, RECT want) {
        RECT rc = WindowRectOf(hwnd);
        EXPECT_EQ(rc.left, want.left);
        EXPECT_EQ(rc.top, want.top);
        EXPECT_EQ(rc.right, want.right);
        EXPECT_EQ(rc.bottom, want.bottom);
    }
    HWND m_hDlg = nullptr;
};

TEST_F(DialogSetupTest, SizeDialogTakesTheAreaBetweenTheBars) {
    ASSERT_TRUE(Init(SHIDIF_SIZEDLG | SHIDIF_CANCELBUTTON));  // 0x82, the message box's set-up
    ExpectRect(m_hDlg, RECT{0, 26, 240, 294});
    RECT area{};
    ASSERT_TRUE(SHGetDefaultMainArea(&area));
    ExpectRect(m_hDlg, area);

    UseScreen(480, 640, 2);
    ASSERT_TRUE(Init(0x82));
    ExpectRect(m_hDlg, RECT{0, 52, 480, 588});
    EXPECT_EQ(SHGetBarHeight(), 52);
}

TEST_F(DialogSetupTest, FullScreenFlagsAndNoSizing) {
    UseScreen(480, 640, 2);
    ASSERT_TRUE(Init(SHIDIF_SIZEDLGFULLSCREEN));
    ExpectRect(m_hDlg, RECT{0, 0, 480, 640});
    ASSERT_TRUE(Init(SHIDIF_FULLSCREENNOMENUBAR));
    ExpectRect(m_hDlg, RECT{0, 52, 480, 640});

    SetWindowPos(m_hDlg, nullptr, 5, 6, 70, 80, SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_TRUE(Init(SHIDIF_DONEBUTTON));
    EXPECT_TRUE(Init(SHIDIF_SIZEDLG, 0)) << "flags without the mask are not looked at";
    ExpectRect(m_hDlg, RECT{5, 6, 75, 86});

    EXPECT_FALSE(SHInitDialog(nullptr));
    SHINITDLGINFO none{SHIDIM_FLAGS, nullptr, SHIDIF_SIZEDLG};
    EXPECT_FALSE(SHInitDialog(&none));
}

TEST_F(DialogSetupTest, SettingChangeSizesASetUpWindowForTheTurnedScreen) {
    UseScreen(480, 640, 2);
    ASSERT_TRUE(Init(0x82));
    SHACTIVATEINFO sai{};
    UseScreen(640, 480, 2);
    EXPECT_TRUE(SHHandleWMSettingChange(m_hDlg, 0, 0, &sai));
    ExpectRect(m_hDlg, RECT{0, 52, 640, 428});

    // A window the set-up did not size keeps its place.
    HWND other = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_NOTIFICATION), nullptr,
                                    QuietDialogProc, 0);
    SetWindowPos(other, nullptr, 1, 2, 30, 40, SWP_NOZORDER | SWP_NOACTIVATE);
    UseScreen(480, 640, 2);
    EXPECT_TRUE(SHHandleWMSettingChange(other, 0, 0, &sai));
    ExpectRect(other, RECT{1, 2, 31, 42});
    DestroyWindow(other);
    EXPECT_FALSE(SHHandleWMSettingChange(nullptr, 0, 0, &sai));
}

TEST_F(DialogSetupTest, SipDownAndEmptyMenuFlags) {
    ASSERT_TRUE(SHSipPreference(nullptr, SIP_UP));
    ASSERT_TRUE(Init(SHIDIF_SIPDOWN | SHIDIF_EMPTYMENU));
    EXPECT_FALSE(SHSipIsUp());
    HWND bar = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), [](HWND hwnd, LPARAM lParam) -> BOOL {
        wchar_t cls[32] = {};
        GetClassNameW(hwnd, cls, 32);
        if (lstrcmpW(cls, L"SoftKeyBarClass") == 0) *reinterpret_cast<HWND*>(lParam) = hwnd;
        return TRUE;
    }, reinterpret_cast<LPARAM>(&bar));
    ASSERT_TRUE(bar);
    EXPECT_EQ(GetWindow(bar, GW_OWNER), m_hDlg);
    SoftKeyInfo info{};
    EXPECT_FALSE(SHGetSoftKeyInfo(bar, 0, &info));
    DestroyWindow(m_hDlg);
    EXPECT_FALSE(IsWindow(bar));
}

TEST_F(DialogSetupTest, ActivationKeepsTheInputPanelOfTheWindow) {
    TestOwner owner;
    SHACTIVATEINFO sai{};  // zero-filled, as the message box keeps it
    EXPECT_TRUE(SHHandleWMActivate(owner.hwnd(), WA_ACTIVE, 0, &sai, 0));
    EXPECT_FALSE(SHSipIsUp()) << "nothing remembered yet";
    EXPECT_TRUE(sai.fActive);

    ASSERT_TRUE(SHSipPreference(owner.edit(), SIP_UP));
    EXPECT_TRUE(SHHandleWMActivate(owner.hwnd(), WA_INACTIVE, 0, &sai, 0));
    EXPECT_FALSE(SHSipIsUp());
    EXPECT_TRUE(sai.fSipOnDeactivation);
    EXPECT_FALSE(sai.fActive);
    EXPECT_EQ(sai.hwndLastFocus, owner.edit());
    EXPECT_TRUE(SHHandleWMActivate(owner.hwnd(), WA_CLICKACTIVE, 0, &sai, 0));
    EXPECT_TRUE(SHSipIsUp());
    EXPECT_FALSE(sai.fSipOnDeactivation);

    // Down when it went inactive: activation leaves it down.
    SHSipPreference(nullptr, SIP_FORCEDOWN);
    SHHandleWMActivate(owner.hwnd(), WA_INACTIVE, 0, &sai, 0);
    SHHandleWMActivate(owner.hwnd(), WA_ACTIVE, 0, &sai, 0);
    EXPECT_FALSE(SHSipIsUp());

    // Focus outside the window is not the window's to remember.
    TestOwner other;
    SetFocus(other.edit());
    SHHandleWMActivate(owner.hwnd(), WA_INACTIVE, 0, &sai, 0);
    EXPECT_EQ(sai.hwndLastFocus, nullptr);
    EXPECT_FALSE(SHHandleWMActivate(owner.hwnd(), WA_ACTIVE, 0, nullptr, 0));
}

}  // namespace
