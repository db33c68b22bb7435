// Start-up's power prompt end to end: a device whose radio is off, the box
// as start-up shows it, answered with a tap like the user's.
#include <gtest/gtest.h>

#include <string>

#include "msgbox/notification_state.h"
#include "platform/ril/ril_test_seams.h"
#include "shell/app_state.h"
#include "shell/startup.h"
#include "tests/msgbox/box_fixture.h"

namespace {

constexpr wchar_t kPhoneKey[] = L"System\\State\\Phone";

class PowerPromptTest : public BoxTest {
protected:
    void SetUp() override {
        BoxTest::SetUp();
        WriteSkin();
        ASSERT_TRUE(WriteFileBytes(Card(), "radio off\r\nsmsc +441234567890 145\r\n"));
        RilSetPortForTest(L"sim");
        // The radio-power library has its own copy of the platform: it finds
        // the device through the environment.
        SetEnvironmentVariableW(L"QX_DEVICE_ROOT", m_device.Root().c_str());
    }
    void TearDown() override {
        if (AppState.hwndMain) DestroyWindow(AppState.hwndMain);
        // The main window's end posts the quit message; it must not end later loops.
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        }
        SetEnvironmentVariableW(L"QX_DEVICE_ROOT", nullptr);
        RilSetPortForTest(nullptr);
        RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, kPhoneKey, L"Status");
        BoxTest::TearDown();
    }
    std::wstring Card() const { return m_device.Path(L"\\Windows\\simcard.txt"); }
    bool RadioIs(const char* word) const {
        return ReadFileBytes(Card()).find(std::string("radio ") + word) != std::string::npos;
    }
    // Start-up with the user's answer to the prompt; the prompt's caption.
    BOOL StartAnswering(const RECT NotificationUIInfo::*button, std::wstring* pCaption) {
        BOOL started = FALSE;
        auto startUp = [&] {
            started = StartApplication(GetModuleHandleW(nullptr), SW_HIDE);
            return 0;
        };
        RunBox(startUp,
               {[&](HWND hwnd) {
                   WCHAR title[kNBTextLen] = {};
                   GetWindowTextW(hwnd, title, kNBTextLen);
                   *pCaption = title;
                   POINT c = Centre(g_pNotificationUIInfo->*button);
                   Tap(hwnd, c.x, c.y);
               }},
               8000);
        return started;
    }
};

TEST_F(PowerPromptTest, CancelEndsStartUpBeforeAnyWindowWithTheRadioUntouched) {
    TraceCapture trace;
    std::wstring caption;
    EXPECT_FALSE(StartAnswering(&NotificationUIInfo::secondButtonRect, &caption));
    EXPECT_EQ(caption, L"Voice Mail and Text Messages");
    EXPECT_EQ(AppState.hwndMain, nullptr);
    EXPECT_FALSE(trace.Has(L"CreateMainWindow"));
    EXPECT_TRUE(RadioIs("off"));
}

TEST_F(PowerPromptTest, OkSwitchesTheRadioOnAndOpensTheScreen) {
    ASSERT_TRUE(m_device.Install(L"LinkdeckDll.dll", L"\\Windows\\LinkdeckDll.dll"));
    std::wstring caption;
    EXPECT_TRUE(StartAnswering(&NotificationUIInfo::firstButtonRect, &caption));
    EXPECT_EQ(AppState.nPowerOnAnswer, 0);  // followed up
    EXPECT_TRUE(RadioIs("on"));
    EXPECT_NE(AppState.hwndMain, nullptr);
}

}  // namespace
