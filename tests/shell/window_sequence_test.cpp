// What the main, title and list windows receive of the messages their tables
// name, step by step from creation to "Done" or "Cancel", compared with
// constant tables in the manner of Wine's user32 tests. Forwarding shows as
// nesting: the title and the list hear a turn inside the main window's
// handler, once per turn.
#include <gtest/gtest.h>

#include "core/app_state.h"
#include "listwin/item_window.h"
#include "platform/aygshell/aygshell.h"
#include "platform/aygshell/shell_turn.h"
#include "platform/base/imaging.h"
#include "platform/base/screen.h"
#include "res/resource.h"
#include "shell/main_window.h"
#include "shell/title_window.h"
#include "tests/shell/screen_fixture.h"
#include "tests/support/message_log.h"
#include "tests/support/png_writer.h"
#include "tests/support/scratch.h"

namespace {

enum { kMain, kTitle, kList };

// Each class's table, and the close whose default handling destroys the screen.
MessageLog ScreenLog() {
    return MessageLog({
        {L"QXCFMainClass",
         {WM_COMMAND, WM_PAINT, WM_CREATE, WM_DESTROY, WM_SIZE, WM_ERASEBKGND, WM_ACTIVATE, WM_SETTINGCHANGE,
          WM_CLOSE}},
        {L"QXCFTitleClass",
         {WM_CREATE, WM_PAINT, WM_COMMAND, WM_DESTROY, WM_SIZE, WM_ERASEBKGND, WM_ACTIVATE, WM_SETTINGCHANGE,
          WM_LBUTTONDOWN, WM_PRINTCLIENT}},
        {L"QXCFItemClass",
         {WM_CREATE, WM_PAINT, WM_COMMAND, WM_DESTROY, WM_SIZE, WM_ERASEBKGND, WM_ACTIVATE, WM_SETTINGCHANGE,
          WM_LBUTTONDOWN, WM_LBUTTONUP, WM_MOUSEMOVE, WM_GESTURE, WM_TIMER, WM_PRINTCLIENT}},
    });
}

// Created in start-up's order; the main window is activated as it appears,
// before the list exists to hear it.
constexpr ExpectedMessage kCreate[] = {
    {kMain, WM_CREATE, kResult, 0, 0},
    {kMain, WM_SIZE},
    {kMain, WM_ACTIVATE, kWParam, WA_ACTIVE},
    {kMain, WM_ERASEBKGND, kResult, 0, 0},  // never erased
    {kTitle, WM_CREATE},
    {kTitle, WM_SIZE},
    {kList, WM_CREATE},
    {kList, WM_SIZE},
};

// Shown and updated as start-up does: the list's first paint makes the two
// fields, which report their first text.
constexpr ExpectedMessage kShow[] = {
    {kMain, WM_PAINT},
    {kTitle, WM_PAINT},
    {kTitle, WM_ERASEBKGND, kNested | kResult, 0, 0},
    {kList, WM_PAINT},
    {kList, WM_ERASEBKGND, kNested | kResult, 0, 0},
    {kList, WM_COMMAND, kNested | kWParam, MAKEWPARAM(0, EN_UPDATE)},
    {kList, WM_COMMAND, kNested | kWParam, MAKEWPARAM(0, EN_CHANGE)},
    {kList, WM_COMMAND, kNested | kWParam, MAKEWPARAM(0, EN_UPDATE)},
    {kList, WM_COMMAND, kNested | kWParam, MAKEWPARAM(0, EN_CHANGE)},
};

// Everything invalidated with erasing: each paint erases nothing.
constexpr ExpectedMessage kPaint[] = {
    {kMain, WM_PAINT},
    {kMain, WM_ERASEBKGND, kNested | kResult, 0, 0},
    {kTitle, WM_PAINT},
    {kTitle, WM_ERASEBKGND, kNested | kResult, 0, 0},
    {kList, WM_PAINT},
    {kList, WM_ERASEBKGND, kNested | kResult, 0, 0},
};

// The shell fits the main window to the turned work area and tells it; the
// main window passes the flip on to the title, then the list, each of which
// takes its new box; then the paints the turn asked for.
constexpr ExpectedMessage kTurn[] = {
    {kMain, WM_ERASEBKGND},
    {kMain, WM_SIZE},
    {kMain, WM_SETTINGCHANGE, kWParam, SETTINGCHANGE_RESET},
    {kTitle, WM_SETTINGCHANGE, kNested | kWParam, SETTINGCHANGE_RESET},
    {kTitle, WM_SIZE, kNested},
    {kList, WM_SETTINGCHANGE, kNested | kWParam, SETTINGCHANGE_RESET},
    {kMain, WM_ERASEBKGND, kNested},  // where the list was
    {kList, WM_SIZE, kNested},
    {kMain, WM_PAINT},
    {kTitle, WM_PAINT},
    {kTitle, WM_ERASEBKGND, kNested},
    {kList, WM_PAINT},
    {kList, WM_ERASEBKGND, kNested},
};

// Back to portrait: the same, but the list grows over the main window's
// background, and its first paint moves the fields back, which uncovers and
// repaints part of the list.
constexpr ExpectedMessage kTurnBack[] = {
    {kMain, WM_ERASEBKGND},
    {kMain, WM_SIZE},
    {kMain, WM_SETTINGCHANGE, kWParam, SETTINGCHANGE_RESET},
    {kTitle, WM_SETTINGCHANGE, kNested | kWParam, SETTINGCHANGE_RESET},
    {kTitle, WM_SIZE, kNested},
    {kList, WM_SETTINGCHANGE, kNested | kWParam, SETTINGCHANGE_RESET},
    {kList, WM_SIZE, kNested},
    {kMain, WM_PAINT},
    {kTitle, WM_PAINT},
    {kTitle, WM_ERASEBKGND, kNested},
    {kList, WM_PAINT},
    {kList, WM_ERASEBKGND, kNested},
    {kList, WM_ERASEBKGND, kNested},
    {kList, WM_ERASEBKGND, kNested},
    {kList, WM_PAINT},
};

// A setting change that flips nothing (the same screen again, or a square
// one) stays with the main window; the input panel's reaches the list alone.
constexpr ExpectedMessage kNoFlip[] = {
    {kMain, WM_SETTINGCHANGE, kWParam, 0},
    {kMain, WM_SETTINGCHANGE, kWParam, 0},
    {kMain, WM_SETTINGCHANGE, kWParam, SPI_SETSIPINFO},
    {kList, WM_SETTINGCHANGE, kNested | kWParam, SPI_SETSIPINFO},
};

// The list hears every activation of the main window.
constexpr ExpectedMessage kDeactivate[] = {
    {kMain, WM_ACTIVATE, kWParam, WA_INACTIVE},
    {kList, WM_ACTIVATE, kNested | kWParam, WA_INACTIVE},
};
constexpr ExpectedMessage kActivate[] = {
    {kMain, WM_ACTIVATE, kWParam, WA_ACTIVE},
    {kList, WM_ACTIVATE, kNested | kWParam, WA_ACTIVE},
};

// The title answers 1 to command 1 and swallows taps.
constexpr ExpectedMessage kTitleAnswers[] = {
    {kTitle, WM_COMMAND, kWParam | kResult, IDOK, 1},
    {kTitle, WM_COMMAND, kWParam | kResult, IDCANCEL, 0},
    {kTitle, WM_LBUTTONDOWN, kResult, 0, 0},
};

// "Done" and "Cancel" post the close and nothing else happens meanwhile; the
// close's default handling destroys the screen, the main window first.
constexpr ExpectedMessage kClose[] = {
    {kMain, WM_CLOSE},
    {kMain, WM_ACTIVATE, kNested | kWParam, WA_INACTIVE},
    {kList, WM_ACTIVATE, kNested | kWParam, WA_INACTIVE},
    {kMain, WM_DESTROY, kNested},
    {kTitle, WM_DESTROY, kNested},
    {kList, WM_DESTROY, kNested},
};

class WindowSequenceTest : public ScreenTest, public testing::WithParamInterface<UINT> {
protected:
    void SetUp() override {
        ScreenTest::SetUp();
        ASSERT_TRUE(CreateImagingFactory(&AppState.pImagingFactory));
        ASSERT_TRUE(WriteSolidPng(device.Path(L"\\Windows\\QXBS_P_Title.png"), 480, 60, 0xFFEEEEEE));
        ASSERT_TRUE(WriteSolidPng(device.Path(L"\\Windows\\QXBS_L_Title.png"), 640, 60, 0xFFEEEEEE));
        AppState.nScale = 2;
        AppState.nScreenType = 3;
        SetScreenSizeForTest(480, 640);
        LoadStringW(AppState.hInst, IDS_APP_TITLE, AppState.szAppTitle, kTextLen);
    }
    void TearDown() override {
        if (m_hwndOther) DestroyWindow(m_hwndOther);
        ScreenTest::TearDown();
    }
    // To width x height from height x width.
    static void Turn(int width, int height) {
        SetScreenSizeForTest(width, height);
        FollowScreenTurn(RECT{0, 0, height, width}, GetCurrentThreadId());
        PumpMessages(0);
    }
    HWND m_hwndOther = nullptr;
};

TEST_P(WindowSequenceTest, FromCreationToTheEnd) {
    MessageLog log = ScreenLog();
    ASSERT_TRUE(CreateMainWindow(AppState.hInst, SW_SHOW));
    ASSERT_TRUE(CreateTitleWindow(AppState.hInst, SW_SHOW));
    ASSERT_TRUE(CreateItemWindow(AppState.hInst, SW_SHOW));
    EXPECT_EQ(GetWindowLongW(AppState.hwndMain, GWL_STYLE) & WS_CAPTION, 0) << "a bare popup, as on the phone";
    EXPECT_TRUE(SequenceIs(log.Take(), kCreate));

    for (HWND hwnd : {AppState.hwndMain, AppState.hwndTitle, AppState.hwndItem}) {
        ShowWindow(hwnd, SW_SHOW);
        UpdateWindow(hwnd);
    }
    PumpMessages(0);
    EXPECT_TRUE(SequenceIs(log.Take(), kShow));

    RedrawWindow(AppState.hwndMain, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    EXPECT_TRUE(SequenceIs(log.Take(), kPaint));

    Turn(640, 480);
    EXPECT_TRUE(AppState.bLandscape);
    EXPECT_TRUE(SequenceIs(log.Take(), kTurn));
    Turn(480, 640);
    EXPECT_FALSE(AppState.bLandscape);
    EXPECT_TRUE(SequenceIs(log.Take(), kTurnBack));

    SendMessageW(AppState.hwndMain, WM_SETTINGCHANGE, 0, 0);
    SetScreenSizeForTest(500, 500);
    SendMessageW(AppState.hwndMain, WM_SETTINGCHANGE, 0, 0);
    SetScreenSizeForTest(480, 640);
    SendMessageW(AppState.hwndMain, WM_SETTINGCHANGE, SPI_SETSIPINFO, 0);
    EXPECT_FALSE(AppState.bLandscape);
    EXPECT_TRUE(SequenceIs(log.Take(), kNoFlip));

    m_hwndOther = CreateWindowExW(0, L"STATIC", L"other", WS_POPUP | WS_VISIBLE, 0, 0, 10, 10, nullptr, nullptr,
                                  nullptr, nullptr);
    SetActiveWindow(m_hwndOther);
    EXPECT_TRUE(SequenceIs(log.Take(), kDeactivate));
    SetActiveWindow(AppState.hwndMain);
    EXPECT_TRUE(SequenceIs(log.Take(), kActivate));

    SendMessageW(AppState.hwndTitle, WM_COMMAND, IDOK, 0);
    SendMessageW(AppState.hwndTitle, WM_COMMAND, IDCANCEL, 0);
    SendMessageW(AppState.hwndTitle, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
    EXPECT_TRUE(SequenceIs(log.Take(), kTitleAnswers));

    const UINT command = GetParam();
    TraceCapture trace;
    SendMessageW(AppState.hwndMain, WM_COMMAND, MAKEWPARAM(command, 0), 0);
    const ExpectedMessage kCommand[] = {{kMain, WM_COMMAND, kWParam | kResult, command, 0}};
    EXPECT_TRUE(SequenceIs(log.Take(), kCommand));
    EXPECT_EQ(trace.Has(L"SaveSetting+"), command == IDM_DONE);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0)) DispatchMessageW(&msg);
    EXPECT_EQ(msg.wParam, 0u) << "the program's exit code";
    EXPECT_TRUE(SequenceIs(log.Take(), kClose));
    EXPECT_FALSE(IsWindow(AppState.hwndMain));
    AppState.hwndItem = AppState.hwndTitle = AppState.hwndMain = nullptr;
}

INSTANTIATE_TEST_SUITE_P(DoneAndCancel, WindowSequenceTest, testing::Values(IDM_DONE, IDM_CANCEL));

}  // namespace
