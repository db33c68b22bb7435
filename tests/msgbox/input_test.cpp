// Message-box results through real window messages: taps on the buttons,
// taps that press nothing, the time-out, foreign timers, close requests,
// and the password field.
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>

#include "core/app_state.h"
#include "platform/aygshell/aygshell.h"
#include "platform/aygshell/input_panel.h"
#include "res/resource.h"
#include "tests/msgbox/box_fixture.h"
#include "tests/support/message_log.h"

namespace {

class BoxInputTest : public BoxTest {};

using Button = const RECT NotificationUIInfo::*;
constexpr Button kFirst = &NotificationUIInfo::firstButtonRect;
constexpr Button kSecond = &NotificationUIInfo::secondButtonRect;
constexpr Button kSingle = &NotificationUIInfo::singleButtonRect;

POINT On(Button b) { return Centre(g_pNotificationUIInfo->*b); }
BoxStep TapOn(Button b) {
    return [b](HWND hwnd) {
        POINT p = On(b);
        StylusDown(hwnd, p);
        StylusUp(hwnd, p);
    };
}

TEST_F(BoxInputTest, ReleaseOnThePressedButtonGivesItsCode) {
    EXPECT_EQ(RunBox(2, {TapOn(kFirst)}), 1);
    EXPECT_EQ(RunBox(2, {TapOn(kSecond)}), 0);
    // One button: where the first of two would be is nothing.
    EXPECT_EQ(RunBox(1, {TapOn(kFirst), TapOn(kSingle)}), 0);
}

// Releases away from the pressed button, and presses on edges or beside
// the buttons, keep the box, capture the stylus until the release, and
// draw only for a button that was pressed.
TEST_F(BoxInputTest, TapsThatPressNothingOrMissKeepTheBox) {
    TraceCapture trace;
    std::vector<std::string> seen;
    auto note = [&](HWND hwnd) {
        seen.push_back(std::to_string(g_pNotificationUIInfo->pressedButton) + (GetCapture() == hwnd ? "c" : "") +
                       std::to_string(trace.Count(L"[WFN] DrawButtonCtrl")));
    };
    int result = RunBox(2, {[&](HWND hwnd) {
                                const RECT rc = g_pNotificationUIInfo->firstButtonRect;
                                const POINT c = Centre(rc);
                                StylusDown(hwnd, On(kFirst)), note(hwnd);
                                StylusUp(hwnd, On(kSecond)), note(hwnd);
                                StylusDown(hwnd, On(kSecond)), note(hwnd);
                                StylusUp(hwnd, POINT{2, 2}), note(hwnd);
                                for (POINT p : {POINT{rc.left, c.y}, POINT{c.x, rc.bottom}, POINT{3, 3}}) {
                                    StylusDown(hwnd, p), note(hwnd);
                                    StylusUp(hwnd, p), note(hwnd);
                                }
                            },
                            CloseWith(42)});
    EXPECT_EQ(result, 42);
    // pressedButton, "c" while captured, button drawings so far (one by the composition).
    EXPECT_EQ(seen, (std::vector<std::string>{"1c2", "-13", "2c4", "-15", "-1c5", "-15", "-1c5", "-15", "-1c5",
                                              "-15"}));
}

TEST_F(BoxInputTest, WithoutButtonsTapsAreIgnoredAndDefaultsStay) {
    for (DWORD style : {0u, 3u}) {
        std::wstring caption, text;
        bool captured = false;
        auto show = [=] { return ShowNotificationBox(nullptr, nullptr, nullptr, style, 0); };
        EXPECT_EQ(RunBox(show, {[&](HWND hwnd) {
                                    caption = g_pNotificationUIInfo->caption;
                                    text = g_pNotificationUIInfo->text;
                                    StylusDown(hwnd, On(kFirst));
                                    captured = GetCapture() != nullptr;
                                    StylusUp(hwnd, On(kFirst));
                                },
                                CloseWith(6)}),
                  6);
        EXPECT_FALSE(captured) << style;
        EXPECT_EQ(caption, L"Reminder");
        EXPECT_EQ(text, L"TestDesc");
    }
}

TEST_F(BoxInputTest, OnlyTheTimeoutStyleEndsByItself) {
    DWORD t0 = GetTickCount();
    EXPECT_EQ(RunBox(0x22, {}, 300), 0);
    DWORD elapsed = GetTickCount() - t0;
    EXPECT_GE(elapsed, 290u);
    EXPECT_LT(elapsed, 2000u);
    // 0x32 has the 0x20 bit but not the value 0x20 in bits 4-7.
    for (DWORD style : {0x2u, 0x12u, 0x32u}) {
        bool hadTimer = true;
        EXPECT_EQ(RunBox(style, {[&](HWND hwnd) {
                                     // Foreign timer ids are ignored.
                                     SendMessageW(hwnd, WM_TIMER, kNBTimerId + 1, 0);
                                     hadTimer = KillTimer(hwnd, kNBTimerId) != FALSE;
                                 },
                                 CloseWith(8)}, 50),
                  8)
            << style;
        EXPECT_FALSE(hadTimer) << style;
    }
}

// Anyone may close the box: the first close's code is the result.
TEST_F(BoxInputTest, CloseRequestsFromAnywhere) {
    std::atomic<bool> sent{false};
    std::thread closer([&] {
        for (int i = 0; i < 300 && !sent; ++i, Sleep(10))
            if (HWND hwnd = FindWindowW(nullptr, L"Caption"); hwnd && IsWindowVisible(hwnd))
                sent = SendMessageW(hwnd, WM_CLOSE, 7, 0) == 0;
    });
    EXPECT_EQ(RunBox(2, {}), 7);
    closer.join();
    int nested = 0;
    EXPECT_EQ(RunBox(2, {[&](HWND hwnd) {
                         // One box at a time.
                         nested = ShowNotificationBox(nullptr, L"inner", L"Inner", 2, 0);
                         SendMessageW(hwnd, WM_CLOSE, 3, 0);
                         SendMessageW(hwnd, WM_CLOSE, 4, 0);
                         StylusUp(hwnd, POINT{50, 50});
                     }}),
              3);
    EXPECT_EQ(nested, -1);
    // No template, no box.
    AppState.hInst = GetModuleHandleW(L"kernel32.dll");
    EXPECT_EQ(ShowNotificationBox(nullptr, L"t", L"c", 2, 0), -1);
    EXPECT_EQ(g_pNotificationUIInfo, nullptr);
}

// The input style: the digit field below the text, framed, focused, the
// panel set to digits, and its text kept at close.
TEST_F(BoxInputTest, PasswordField) {
    HWND hwndKeys = GetWindow(EnsureInputPanel(), GW_CHILD);
    ASSERT_NE(hwndKeys, nullptr);
    MessageLog log({{L"SipKeyArea", {kSipMsgSetLayout}}});
    log.Watch(hwndKeys, 0);
    RECT edit{};
    bool focused = false;
    COLORREF frame = 0;
    int textTop = 0;
    RunBox(0x102, {[&](HWND hwnd) {
                       HWND hwndEdit = GetDlgItem(hwnd, IDC_NB_INPUT);
                       GetWindowRect(hwndEdit, &edit);
                       MapWindowPoints(nullptr, hwnd, reinterpret_cast<POINT*>(&edit), 2);
                       focused = IsWindowVisible(hwndEdit) && GetFocus() == hwndEdit;
                       frame = BoxPicture(hwnd).At(edit.left - 3, edit.top - 3);
                       textTop = g_pNotificationUIInfo->bodyRect.top + 23;
                       for (wchar_t c : std::wstring(L"12a3")) SendMessageW(hwndEdit, WM_CHAR, c, 0);
                   },
                   CloseWith(0)});
    EXPECT_STREQ(g_szNBInputText, L"123");  // digits only
    EXPECT_TRUE(focused);
    EXPECT_EQ(frame, ToColorRef(kInputFrameArgb));
    // Frame at the panel's left + 20s, 192s by 25s, 3s below the text; the field 2s inside.
    EXPECT_EQ(edit.left, 6 + 40 + 4);
    EXPECT_EQ(edit.right - edit.left, 384 - 8);
    EXPECT_EQ(edit.bottom - edit.top, 50 - 8);
    EXPECT_GT(edit.top, textTop + 10);  // below one line of 24-pixel text
    EXPECT_LT(edit.top, textTop + 50);
    // Any other box hides the field and forgets the text; only the input style tells the panel.
    bool hidden = false;
    RunBox(2, {[&](HWND hwnd) { hidden = !IsWindowVisible(GetDlgItem(hwnd, IDC_NB_INPUT)); }, CloseWith(0)});
    EXPECT_TRUE(hidden);
    EXPECT_STREQ(g_szNBInputText, L"");
    const ExpectedMessage kDigitsLayout[] = {{0, kSipMsgSetLayout, kWParam, kSipLayoutDigits}};
    EXPECT_TRUE(SequenceIs(log.Take(), kDigitsLayout));
    SendMessageW(hwndKeys, kSipMsgSetLayout, kSipLayoutPhone, 0);
}

}  // namespace
