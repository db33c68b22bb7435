// Start-up's power prompt end to end: a device whose radio is off, the box
// as start-up shows it, answered with a tap like the user's.
#include <gtest/gtest.h>

#include <string>

#include "core/app_state.h"
#include "platform/aygshell/aygshell.h"
#include "platform/ril/ril_test_seams.h"
#include "shell/startup.h"
#include "tests/msgbox/box_fixture.h"
#include "tests/support/radio_seams.h"

namespace {

class PowerPromptTest : public BoxTest {
protected:
    void SetUp() override {
        BoxTest::SetUp();
        ASSERT_TRUE(WriteFileBytes(Card(), "radio off\r\nsmsc +441234567890 145\r\n"));
        RilSetPortForTest(L"sim");
        // The radio-power library has its own copy of the platform.
        SetEnvironmentVariableW(L"QX_DEVICE_ROOT", m_device.Root().c_str());
    }
    void TearDown() override {
        if (AppState.hwndMain) DestroyWindow(AppState.hwndMain);
        MSG msg;  // the main window's quit message must not end later loops
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        }
        SetEnvironmentVariableW(L"QX_DEVICE_ROOT", nullptr);
        ResetRadioSeams();
        RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, L"System\\State\\Phone", L"Status");
        BoxTest::TearDown();
    }
    std::wstring Card() const { return m_device.Path(L"\\Windows\\simcard.txt"); }
    bool RadioIs(const char* word) const {
        return ReadFileBytes(Card()).find(std::string("radio ") + word) != std::string::npos;
    }
    // Start-up, answered with a tap; the prompt's title, text and buttons.
    BOOL StartAnswering(const RECT NotificationUIInfo::*button, std::wstring* pSeen = nullptr) {
        return StartAnswering(
            [button](HWND hwnd) {
                POINT p = Centre(g_pNotificationUIInfo->*button);
                StylusDown(hwnd, p);
                StylusUp(hwnd, p);
            },
            pSeen);
    }
    BOOL StartAnswering(const BoxStep& answer, std::wstring* pSeen = nullptr) {
        BOOL started = FALSE;
        auto startUp = [&] {
            started = StartApplication(GetModuleHandleW(nullptr), SW_HIDE);
            return 0;
        };
        RunBox(startUp,
               {[&](HWND hwnd) {
                   WCHAR title[kNBTextLen] = {};
                   GetWindowTextW(hwnd, title, kNBTextLen);
                   RECT rcBox, rcWork;
                   GetWindowRect(hwnd, &rcBox);
                   SHGetDefaultMainArea(&rcWork);
                   if (pSeen)
                       *pSeen = std::wstring(title) + L"|" + g_pNotificationUIInfo->text + L"|" +
                                g_pNotificationUIInfo->button1Text + L"|" + g_pNotificationUIInfo->button2Text +
                                (EqualRect(&rcBox, &rcWork) ? L"|work area" : L"|elsewhere") +
                                (GetFocus() == hwnd ? L"|focused" : L"|not focused");
                   answer(hwnd);
               }},
               8000);
        return started;
    }
};

TEST_F(PowerPromptTest, CancelEndsStartUpBeforeAnyWindowWithTheRadioOff) {
    TraceCapture trace;
    std::wstring seen;
    EXPECT_FALSE(StartAnswering(&NotificationUIInfo::secondButtonRect, &seen));
    EXPECT_EQ(seen, L"Voice Mail and Text Messages|The phone is currently off. Would you like to turn on the "
                    L"phone?|OK|Cancel|work area|focused");
    EXPECT_TRUE(trace.Has(L"[WFN] SetDefaultNotificationUIInfo()"));
    EXPECT_FALSE(trace.Has(L"CreateMainWindow"));
    EXPECT_EQ(AppState.hwndMain, nullptr);
    EXPECT_TRUE(RadioIs("off"));
}

// A library whose call never returns costs the settle time, not the start:
// the radio stays off, so the program ends as it does then.
TEST_F(PowerPromptTest, OkWithAPowerLibraryThatNeverReturnsEndsInTheProgramsOwnTime) {
    ASSERT_TRUE(m_device.Install(L"HangingLinkdeck.dll", L"\\Windows\\LinkdeckDll.dll"));
    TraceCapture trace;
    EXPECT_FALSE(StartAnswering(&NotificationUIInfo::firstButtonRect));
    EXPECT_TRUE(trace.Has(L"[CreateItemWindow]")) << "the screen was made before the wait";
    EXPECT_EQ(AppState.hwndMain, nullptr) << "and ended without showing";
    EXPECT_TRUE(RadioIs("off"));
}

// With the skin's button pictures, and with them empty (drawn plainly).
class PowerPromptOkTest : public PowerPromptTest, public testing::WithParamInterface<bool> {};

TEST_P(PowerPromptOkTest, OkSwitchesTheRadioOnAndOpensTheScreen) {
    ASSERT_TRUE(m_device.Install(L"LinkdeckDll.dll", L"\\Windows\\LinkdeckDll.dll"));
    if (GetParam()) {
        for (LPCWSTR file : {L"\\Windows\\QXBS_NB_btn_up.png", L"\\Windows\\QXBS_NB_btn_dn.png"})
            ASSERT_TRUE(WriteFileBytes(m_device.Path(file), ""));
    }
    EXPECT_TRUE(StartAnswering(&NotificationUIInfo::firstButtonRect));
    EXPECT_TRUE(RadioIs("on"));
    EXPECT_NE(AppState.hwndMain, nullptr);
}

INSTANTIATE_TEST_SUITE_P(ButtonPictures, PowerPromptOkTest, testing::Values(false, true),
                         [](const testing::TestParamInfo<bool>& info) { return info.param ? "Empty" : "Skin"; });

// Keys alone: the prompt, shown before any window of the program, has the
// focus; Return is its OK, Escape its Cancel.
TEST_F(PowerPromptTest, ReturnIsOkAndEscapeIsCancel) {
    ASSERT_TRUE(m_device.Install(L"LinkdeckDll.dll", L"\\Windows\\LinkdeckDll.dll"));
    struct {
        UINT vk;
        BOOL started;
        const char* radio;
    } cases[] = {{VK_ESCAPE, FALSE, "off"}, {VK_RETURN, TRUE, "on"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.vk);
        std::wstring seen;
        EXPECT_EQ(StartAnswering([&](HWND) { PressKey(c.vk); }, &seen), c.started);
        EXPECT_NE(seen.find(L"|focused"), std::wstring::npos) << seen;
        EXPECT_TRUE(RadioIs(c.radio));
        EXPECT_EQ(AppState.hwndMain != nullptr, c.started != FALSE);
    }
}

}  // namespace
