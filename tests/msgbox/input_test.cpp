// Message-box results through real window messages: button taps, edges,
// a box without buttons, the time-out, foreign timers and close requests.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "msgbox/notification_box.h"
#include "msgbox/notification_state.h"
#include "platform/aygshell/aygshell.h"
#include "res/resource.h"
#include "shell/app_state.h"
#include "tests/msgbox/box_fixture.h"

namespace {

class BoxInputTest : public BoxTest {
protected:
    void SetUp() override {
        BoxTest::SetUp();
        WriteSkin();
    }
};

auto Show(DWORD style, DWORD timeout = 0) {
    return [=] { return ShowNotificationBox(nullptr, L"Body text", L"Caption", style, timeout); };
}

BoxStep TapOn(const RECT NotificationUIInfo::*which) {
    return [which](HWND hwnd) {
        POINT c = Centre(g_pNotificationUIInfo->*which);
        Tap(hwnd, c.x, c.y);
    };
}

BoxStep CloseWith(WPARAM code) {
    return [code](HWND hwnd) { SendMessageW(hwnd, WM_CLOSE, code, 0); };
}

TEST_F(BoxInputTest, TwoButtonsFirstGivesOneSecondGivesZero) {
    EXPECT_EQ(RunBox(Show(2), {TapOn(&NotificationUIInfo::firstButtonRect)}), 1);
    EXPECT_EQ(RunBox(Show(2), {TapOn(&NotificationUIInfo::secondButtonRect)}), 0);
}

TEST_F(BoxInputTest, OneButtonGivesZeroAndIsLabelledOk) {
    WCHAR label[kNBButtonTextLen] = {};
    int mode = -1;
    int result = RunBox(Show(1), {[&](HWND hwnd) {
                                     lstrcpynW(label, g_pNotificationUIInfo->button1Text, kNBButtonTextLen);
                                     mode = g_pNotificationUIInfo->buttonMode;
                                     // Where the two-button box has its first button: nothing.
                                     POINT c = Centre(g_pNotificationUIInfo->firstButtonRect);
                                     Tap(hwnd, c.x, c.y);
                                 },
                                 TapOn(&NotificationUIInfo::singleButtonRect)});
    EXPECT_EQ(result, 0);
    EXPECT_STREQ(label, L"OK");
    EXPECT_EQ(mode, 1);
}

TEST_F(BoxInputTest, ReleaseAwayFromThePressedButtonKeepsTheBox) {
    std::vector<int> pressed;
    std::vector<HWND> capture;
    std::vector<int> drawn;  // button drawings so far
    TraceCapture trace;
    auto note = [&] {
        pressed.push_back(g_pNotificationUIInfo->pressedButton);
        capture.push_back(GetCapture());
        drawn.push_back(trace.Count(L"[WFN] DrawButtonCtrl"));
    };
    HWND box = nullptr;
    int result = RunBox(Show(2),
                        {[&](HWND hwnd) {
                             box = hwnd;
                             POINT a = Centre(g_pNotificationUIInfo->firstButtonRect);
                             POINT b = Centre(g_pNotificationUIInfo->secondButtonRect);
                             StylusDown(hwnd, a.x, a.y);
                             note();
                             StylusUp(hwnd, b.x, b.y);  // on the other button
                             note();
                             StylusDown(hwnd, b.x, b.y);
                             note();
                             StylusUp(hwnd, 2, 2);  // outside every button
                             note();
                         },
                         CloseWith(42)});
    EXPECT_EQ(result, 42);
    EXPECT_EQ(pressed, (std::vector<int>{1, -1, 2, -1}));
    EXPECT_EQ(capture, (std::vector<HWND>{box, nullptr, box, nullptr}));
    // Each press and each release without a close redraws the buttons (the
    // composition drew them once before).
    EXPECT_EQ(drawn, (std::vector<int>{2, 3, 4, 5}));
}

TEST_F(BoxInputTest, EdgesAndEmptySpacePressNothingButStillCapture) {
    std::vector<int> pressed;
    std::vector<bool> captured;
    TraceCapture trace;
    int drawnBefore = -1, drawnAfter = -1;
    int result = RunBox(Show(2), {[&](HWND hwnd) {
                                     drawnBefore = trace.Count(L"[WFN] DrawButtonCtrl");
                                     const RECT rc = g_pNotificationUIInfo->firstButtonRect;
                                     const POINT c = Centre(rc);
                                     for (POINT p : {POINT{rc.left, c.y}, POINT{rc.right, c.y}, POINT{c.x, rc.top},
                                                     POINT{c.x, rc.bottom}, POINT{3, 3}}) {
                                         StylusDown(hwnd, p.x, p.y);
                                         pressed.push_back(g_pNotificationUIInfo->pressedButton);
                                         captured.push_back(GetCapture() == hwnd);
                                         StylusUp(hwnd, p.x, p.y);
                                     }
                                     drawnAfter = trace.Count(L"[WFN] DrawButtonCtrl");
                                 },
                                 CloseWith(5)});
    EXPECT_EQ(result, 5);
    EXPECT_EQ(pressed, (std::vector<int>(5, -1)));
    EXPECT_EQ(captured, (std::vector<bool>(5, true)));
    EXPECT_EQ(drawnAfter, drawnBefore) << "a tap on no button draws nothing";
}

TEST_F(BoxInputTest, NoBoxWithoutItsTemplate) {
    AppState.hInst = GetModuleHandleW(L"kernel32.dll");
    TraceCapture trace;
    EXPECT_EQ(ShowNotificationBox(nullptr, L"t", L"c", 2, 0), -1);
    EXPECT_TRUE(trace.Has(L"[WFN] ShowNotificationBox(), no dialog template"));
    EXPECT_EQ(g_pNotificationUIInfo, nullptr);
}

TEST_F(BoxInputTest, WithoutButtonsTapsAreIgnored) {
    for (DWORD style : {0u, 3u, 0xFu}) {
        SCOPED_TRACE(style);
        bool captured = true;
        int mode = -1;
        int result = RunBox(Show(style), {[&](HWND hwnd) {
                                              mode = g_pNotificationUIInfo->buttonMode;
                                              for (auto which : {&NotificationUIInfo::firstButtonRect,
                                                                 &NotificationUIInfo::singleButtonRect}) {
                                                  POINT c = Centre(g_pNotificationUIInfo->*which);
                                                  StylusDown(hwnd, c.x, c.y);
                                                  captured = captured && GetCapture() == hwnd;
                                                  StylusUp(hwnd, c.x, c.y);
                                              }
                                          },
                                          CloseWith(6)});
        EXPECT_EQ(result, 6);
        EXPECT_EQ(mode, 0);
        EXPECT_FALSE(captured);
    }
}

TEST_F(BoxInputTest, AutoCloseAfterItsTimeout) {
    DWORD t0 = GetTickCount();
    EXPECT_EQ(RunBox(Show(0x22, 300), {}), 0);
    DWORD elapsed = GetTickCount() - t0;
    EXPECT_GE(elapsed, 290u);
    EXPECT_LT(elapsed, 2000u);
    // No buttons at all: the time-out alone ends it.
    EXPECT_EQ(RunBox(Show(0x20, 100), {}), 0);
}

TEST_F(BoxInputTest, OnlyTheTimeoutStyleStartsTheTimer) {
    // 0x32 has the 0x20 bit but not the value 0x20 in bits 4-7.
    for (DWORD style : {0x2u, 0x12u, 0x32u, 0x102u}) {
        SCOPED_TRACE(style);
        bool hadTimer = true;
        EXPECT_EQ(RunBox(Show(style, 50), {[&](HWND hwnd) {
                                              hadTimer = KillTimer(hwnd, kNBTimerId) != FALSE;
                                              EXPECT_EQ(g_pNotificationUIInfo->timeoutMs, 0u);
                                          },
                                          CloseWith(8)}),
                  8);
        EXPECT_FALSE(hadTimer);
    }
}

TEST_F(BoxInputTest, ForeignTimersAreIgnored) {
    bool stillUp = false;
    int result = RunBox(Show(2), {[&](HWND hwnd) {
                                     SendMessageW(hwnd, WM_TIMER, kNBTimerId + 1, 0);
                                     SendMessageW(hwnd, WM_TIMER, 0, 0);
                                     stillUp = g_pNotificationUIInfo != nullptr && IsWindowVisible(hwnd);
                                 },
                                 CloseWith(9)});
    EXPECT_TRUE(stillUp);
    EXPECT_EQ(result, 9);
}

// Anyone may close the box; from another thread, the code still comes back.
TEST_F(BoxInputTest, CloseRequestFromAnotherThreadGivesItsCode) {
    std::atomic<bool> sent{false};
    std::thread closer([&] {
        for (int i = 0; i < 300 && !sent; ++i) {
            HWND hwnd = FindWindowW(nullptr, L"Closed from afar");
            if (hwnd && IsWindowVisible(hwnd)) {
                SendMessageW(hwnd, WM_CLOSE, 7, 0);
                sent = true;
            }
            Sleep(10);
        }
    });
    int result = RunBox([] { return ShowNotificationBox(nullptr, L"x", L"Closed from afar", 2, 0); }, {});
    closer.join();
    EXPECT_TRUE(sent);
    EXPECT_EQ(result, 7);
}

// The first close decides; a second in the same turn changes nothing.
TEST_F(BoxInputTest, SecondCloseKeepsTheFirstCode) {
    EXPECT_EQ(RunBox(Show(2), {[](HWND hwnd) {
                         SendMessageW(hwnd, WM_CLOSE, 3, 0);
                         SendMessageW(hwnd, WM_CLOSE, 4, 0);
                         POINT c{50, 50};
                         Tap(hwnd, c.x, c.y);
                     }}),
              3);
}

TEST_F(BoxInputTest, NoSecondBoxWhileOneIsUp) {
    int nested = 0;
    WCHAR caption[kNBTextLen] = {};
    int result = RunBox(Show(2), {[&](HWND) {
                                     nested = ShowNotificationBox(nullptr, L"inner", L"Inner", 2, 0);
                                     lstrcpynW(caption, g_pNotificationUIInfo->caption, kNBTextLen);
                                 },
                                 TapOn(&NotificationUIInfo::firstButtonRect)});
    EXPECT_EQ(nested, -1);
    EXPECT_STREQ(caption, L"Caption");
    EXPECT_EQ(result, 1);
}

// The power prompt as start-up shows it, answered with both buttons.
TEST_F(BoxInputTest, PowerPromptAsStartUpShowsIt) {
    WCHAR szCaption[kNBTextLen], szText[kNBTextLen];
    LoadStringW(AppState.hInst, IDS_PROMPT_CAPTION, szCaption, kNBTextLen);
    LoadStringW(AppState.hInst, IDS_PROMPT_TEXT, szText, kNBTextLen);
    auto prompt = [&] { return ShowNotificationBox(nullptr, szText, szCaption, 2, 0); };
    WCHAR title[kNBTextLen] = {};
    std::wstring text, ok, cancel;
    RECT rcBox{}, rcWork{};
    int result = RunBox(prompt, {[&](HWND hwnd) {
                                     GetWindowTextW(hwnd, title, kNBTextLen);
                                     GetWindowRect(hwnd, &rcBox);
                                     SHGetDefaultMainArea(&rcWork);
                                     text = g_pNotificationUIInfo->text;
                                     ok = g_pNotificationUIInfo->button1Text;
                                     cancel = g_pNotificationUIInfo->button2Text;
                                 },
                                 TapOn(&NotificationUIInfo::firstButtonRect)});
    EXPECT_EQ(result, 1);
    EXPECT_STREQ(title, L"Voice Mail and Text Messages");
    EXPECT_EQ(text, L"The phone is currently off. Would you like to turn on the phone?");
    EXPECT_EQ(ok, L"OK");
    EXPECT_EQ(cancel, L"Cancel");
    // The shell sized it to the screen less its two bars.
    EXPECT_TRUE(EqualRect(&rcBox, &rcWork));
    EXPECT_EQ(rcWork.top, 52);
    EXPECT_EQ(RunBox(prompt, {TapOn(&NotificationUIInfo::secondButtonRect)}), 0);
}

TEST_F(BoxInputTest, DefaultsWhenNoTextOrCaptionIsGiven) {
    std::wstring caption, text, b1, b2;
    int result = RunBox([] { return ShowNotificationBox(nullptr, nullptr, nullptr, 0, 0); },
                        {[&](HWND hwnd) {
                            caption = g_pNotificationUIInfo->caption;
                            text = g_pNotificationUIInfo->text;
                            b1 = g_pNotificationUIInfo->button1Text;
                            b2 = g_pNotificationUIInfo->button2Text;
                            EXPECT_EQ(g_pNotificationUIInfo->portraitWidth, 480);
                            SendMessageW(hwnd, WM_CLOSE, 0, 0);
                        }});
    EXPECT_EQ(result, 0);
    EXPECT_EQ(caption, L"Reminder");
    EXPECT_EQ(text, L"TestDesc");
    EXPECT_EQ(b1, L"Snooze");
    EXPECT_EQ(b2, L"Dismiss");
}

}  // namespace
