// The shell's part of a turn: which top-level windows take the new work
// area, that every one hears WM_SETTINGCHANGE, and that the soft-key bar and
// a raised input panel follow.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/aygshell/aygshell.h"
#include "platform/aygshell/shell_turn.h"
#include "res/resource.h"
#include "tests/platform/aygshell/shell_fixture.h"
#include "tests/support/message_log.h"

namespace {

constexpr WCHAR kWindowClass[] = L"ShellTurnWindow";

HWND MakeWindow(RECT rc, DWORD dwExStyle, bool bVisible) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = kWindowClass;
    RegisterClassW(&wc);
    return CreateWindowExW(dwExStyle, kWindowClass, L"", WS_POPUP | (bVisible ? WS_VISIBLE : 0), rc.left, rc.top,
                           rc.right - rc.left, rc.bottom - rc.top, nullptr, nullptr, wc.hInstance, nullptr);
}

// Every window hears the turn once, as a reset of the settings.
constexpr ExpectedMessage kHeardTheTurn[] = {{0, WM_SETTINGCHANGE, kWParam, SETTINGCHANGE_RESET}};

std::wstring Text(RECT rc) {
    return std::to_wstring(rc.left) + L"," + std::to_wstring(rc.top) + L" " + std::to_wstring(rc.right) + L"," +
           std::to_wstring(rc.bottom);
}

class ShellTurnTest : public ShellTest {
protected:
    void TearDown() override {
        for (HWND h : m_windows) DestroyWindow(h);
        SHSipPreference(nullptr, SIP_FORCEDOWN);
        ShellTest::TearDown();
    }
    std::vector<HWND> m_windows;
};

TEST_F(ShellTurnTest, FullScreenWindowsTakeTheTurnedWorkAreaAndEveryWindowHearsIt) {
    struct Case {
        const wchar_t* what;
        int w, h, s;      // the screen before the turn
        RECT rc;          // the window on it
        DWORD dwExStyle;
        bool bVisible;
        RECT want;        // after the turn to h x w
    };
    const Case cases[] = {
        {L"portrait work area", 480, 640, 2, {0, 52, 480, 588}, 0, true, {0, 52, 640, 428}},
        {L"landscape work area", 640, 480, 2, {0, 52, 640, 428}, 0, true, {0, 52, 480, 588}},
        {L"320 x 480 main window", 320, 480, 1, {0, 25, 320, 435}, 0, true, {0, 26, 480, 294}},
        {L"dialog over the whole screen", 480, 640, 2, {0, 0, 480, 640}, 0, true, {0, 0, 480, 640}},
        {L"over the soft-key bar", 480, 640, 2, {0, 52, 480, 640}, 0, true, {0, 52, 480, 640}},
        {L"a panel lower down", 480, 640, 2, {0, 300, 480, 588}, 0, true, {0, 300, 480, 588}},
        {L"narrower than the screen", 480, 640, 2, {0, 52, 240, 588}, 0, true, {0, 52, 240, 588}},
        {L"hidden", 480, 640, 2, {0, 52, 480, 588}, 0, false, {0, 52, 480, 588}},
        {L"tool window", 480, 640, 2, {0, 52, 480, 588}, WS_EX_TOOLWINDOW, true, {0, 52, 480, 588}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        UseScreen(c.w, c.h, c.s);
        MessageLog log({{kWindowClass, {WM_SETTINGCHANGE}}});
        HWND hwnd = MakeWindow(c.rc, c.dwExStyle, c.bVisible);
        ASSERT_TRUE(hwnd);
        m_windows.push_back(hwnd);

        UseScreen(c.h, c.w, c.s);
        bool bFits = !EqualRect(&c.rc, &c.want);
        EXPECT_EQ(FollowScreenTurn(RECT{0, 0, c.w, c.h}, GetCurrentThreadId()), bFits ? 1 : 0);
        EXPECT_EQ(Text(WindowRectOf(hwnd)), Text(c.want));
        EXPECT_TRUE(SequenceIs(log.Take(), kHeardTheTurn));

        // No turn, nothing to do and nothing said.
        EXPECT_EQ(FollowScreenTurn(RECT{0, 0, c.h, c.w}, GetCurrentThreadId()), 0);
        EXPECT_TRUE(SequenceIs(log.Take(), {}));
        DestroyWindow(hwnd);
        m_windows.pop_back();
    }
}

TEST_F(ShellTurnTest, SoftKeyBarAndRaisedInputPanelFollowTheScreen) {
    UseScreen(480, 640, 2);
    TestOwner owner;
    HWND bar = MakeSoftKeyBar(owner.hwnd(), IDR_MENUBAR);
    ASSERT_TRUE(bar);
    ASSERT_TRUE(SHSipPreference(owner.hwnd(), SIP_UP));

    UseScreen(640, 480, 2);
    FollowScreenTurn(RECT{0, 0, 480, 640}, GetCurrentThreadId());
    EXPECT_EQ(Text(WindowRectOf(bar)), Text(RECT{0, 428, 640, 480}));
    HWND panel = FindWindowW(L"SipWndClass", nullptr);
    ASSERT_TRUE(panel);
    EXPECT_EQ(Text(WindowRectOf(panel)), Text(RECT{0, 268, 640, 428}));
    EXPECT_TRUE(SHSipIsUp());
}

}  // namespace
