// The list with its scroll component: choosing the library, what the list
// calls and when, its side of every event, and the real components'
// drag, spring-back and clicks.
#include <gtest/gtest.h>

#include <thread>

#include "core/app_state.h"
#include "listwin/list_input.h"
#include "listwin/list_paint.h"
#include "listwin/list_scroll.h"
#include "tests/listwin/list_fixture.h"

namespace {

constexpr LPCWSTR kLib1 = L"\\windows\\OrvexScroll.dll";
constexpr LPCWSTR kLib2 = L"\\windows\\OrvexScroll2.dll";
constexpr COLORREF kBackground = RGB(0x20, 0x60, 0x40);

class ListScrollTest : public ListViewTest {
protected:
    void OpenSettings() {
        LoadTestSkin();
        MakeSettingsRows(L"+447785016005", L"+44123456789");
        OpenList();
    }
    // A group of 20 text boxes: 1201 high, taller than the 476 of the window.
    void OpenTallList() {
        LoadTestSkin();
        MakeSingleRow(IK_GROUP, 20, IK_GROUP_TEXTBOX);
        OpenList();
    }
    std::wstring Path(LPCWSTR cePath) const { return m_device.Path(cePath); }
    static void Send(UINT msg, int x, int y) {
        SendMessageW(AppState.hwndItem, msg, msg == WM_LBUTTONUP ? 0 : MK_LBUTTON,
                     MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y)));
    }
};

TEST_F(ListScrollTest, TheFirstLibraryWinsAndGetsThePenAndThePaints) {
    InstallFake(kLib1);
    InstallFake(kLib2);
    OpenSettings();
    FakeScrollLib lib1(Path(kLib1)), lib2(Path(kLib2));
    ASSERT_TRUE(lib1.Loaded());
    ASSERT_TRUE(lib2.Loaded()) << "both libraries are loaded";
    EXPECT_EQ(g_nScrollKind, 0);
    EXPECT_TRUE(g_scroll);
    EXPECT_FALSE(g_scroll2);
    EXPECT_EQ(lib1.TakeLog(), L"Create;Attach;");
    EXPECT_EQ(lib2.TakeLog(), L"");

    TraceCapture trace;
    PaintNow();
    EXPECT_TRUE(trace.Has(L"OnItemPaint : g_scroll->Config(g_iBmpHeight = 241 , g_iScreenHeight = 476, "
                          L"g_iCurTop = 0)"));
    EXPECT_EQ(lib1.TakeLog(), L"Config(241,476,0);Step;Next(0);");

    // Down reads y unsigned, move and up signed.
    Send(WM_LBUTTONDOWN, 100, -5);
    Send(WM_MOUSEMOVE, 100, -5);
    Send(WM_LBUTTONUP, 100, -5);
    SendMessageW(AppState.hwndItem, 0x0119, 5, 0);
    EXPECT_EQ(lib1.TakeLog(), L"Down(100,65531);Move(100,-5);Up(100,-5);") << "no gesture to the first";

    DestroyWindow(AppState.hwndItem);
    EXPECT_EQ(lib1.TakeLog(), L"Destroy;");
    EXPECT_FALSE(g_scroll || g_hScrollDll || g_hScrollDll2);
    EXPECT_EQ(lib2.TakeLog(), L"");
}

TEST_F(ListScrollTest, OnlyTheSecondLibraryIsUsedAndTakesGestures) {
    InstallFake(kLib2);
    OpenSettings();
    FakeScrollLib lib2(Path(kLib2));
    EXPECT_EQ(g_nScrollKind, 1);
    EXPECT_FALSE(g_scroll);
    ASSERT_TRUE(g_scroll2);
    TraceCapture trace;
    PaintNow();
    EXPECT_TRUE(trace.Has(L"OnItemPaint : g_scroll2->Config(g_iBmpHeight = 241"));
    SendMessageW(AppState.hwndItem, 0x0119, 5, 0);
    EXPECT_EQ(lib2.TakeLog(), L"Create;Attach;Config(241,476,0);Step;Next(0);Gesture(0x119,5);");
}

TEST_F(ListScrollTest, AFirstLibraryWithoutTheExportLeavesNoComponent) {
    // The radio-power library has other exports.
    InstallScrollLibrary(L"LinkdeckDll.dll", kLib1);
    InstallFake(kLib2);
    TraceCapture trace;
    OpenSettings();
    FakeScrollLib lib2(Path(kLib2));
    EXPECT_FALSE(g_scroll || g_scroll2);
    EXPECT_EQ(lib2.TakeLog(), L"") << "the second is not tried";
    EXPECT_TRUE(trace.Has(L"has no CreateOrvexScrollInstance"));
}

TEST_F(ListScrollTest, WithoutAnyComponentTheListStillWorks) {
    TraceCapture trace;
    OpenSettings();
    PaintNow();
    EXPECT_FALSE(g_scroll || g_scroll2 || g_hScrollDll || g_hScrollDll2);
    EXPECT_TRUE(trace.Has(L"OrvexScroll.dll not loaded"));
    EXPECT_TRUE(Item(1).hwndEdit && Item(3).hwndEdit);
    // A press and release on a label clicks it; a drag does not.
    Send(WM_LBUTTONDOWN, 100, 30);
    Send(WM_LBUTTONUP, 102, 31);
    EXPECT_TRUE(Item(0).bOn);
    Send(WM_LBUTTONDOWN, 100, 30);
    Send(WM_MOUSEMOVE, 100, 200);
    Send(WM_LBUTTONUP, 100, 200);
    EXPECT_TRUE(Item(0).bOn);
    EXPECT_FALSE(Item(2).bOn);
    EXPECT_EQ(g_iCurTop, 0);
    SendMessageW(AppState.hwndItem, 0x0119, 5, 0);
}

TEST_F(ListScrollTest, OffsetEventsMoveTheListAndShowTheGap) {
    // The list (241) is shorter than the window (476): the resting range is
    // empty and every proposal re-synchronises.
    AppState.bHasBackgroundColor = TRUE;
    AppState.BackgroundColorSetting = kBackground;
    InstallFake(kLib1);
    OpenSettings();
    PaintNow();
    FakeScrollLib lib(Path(kLib1));
    EXPECT_EQ(lib.Fire(2, 0, 10), 1);
    EXPECT_EQ(lib.Fire(2, 0, -20), 1);
    EXPECT_EQ(g_iCurTop, -10);
    PaintNow();
    Capture cap = CaptureList();
    EXPECT_EQ(cap.CountColour(RECT{0, 0, 480, 10}, kBackground), 4800);
    EXPECT_EQ(cap.At(20, 74), kFrameColour) << "the first frame 10 pixels lower";
    EXPECT_EQ(ChildRect(Item(1).hwndEdit).top, 82) << "the fields move with the list";
    EXPECT_EQ(lib.Fire(9, 0, 100), 1);
    EXPECT_EQ(g_iCurTop, -10) << "unknown events do nothing";
    lib.TakeLog();
    lib.Fire(3, 0, 10);
    EXPECT_EQ(lib.TakeLog(), L"Config(241,476,-10);Query;Apply(77);");
}

TEST_F(ListScrollTest, ProposalsInsideTheRangeAreIgnoredAndOthersResynchronise) {
    InstallFake(kLib1);
    OpenTallList();
    PaintNow();
    FakeScrollLib lib(Path(kLib1));
    lib.SetState(1234);
    lib.TakeLog();
    lib.Fire(3, 0, 100);
    lib.Fire(3, 0, 725);  // 1201 - 476: the far end of the range
    EXPECT_EQ(lib.TakeLog(), L"");
    EXPECT_EQ(g_iCurTop, 0) << "a proposal is not applied";
    lib.Fire(3, 0, 726);
    EXPECT_EQ(lib.TakeLog(), L"Config(1201,476,0);Query;Apply(1234);");
    lib.Fire(3, 0, -1);
    EXPECT_EQ(lib.TakeLog(), L"Config(1201,476,0);Query;Apply(1234);");
    lib.Fire(4, 0, 0);
    EXPECT_EQ(lib.TakeLog(), L"Config(1201,476,0);Query;Apply(1234);");

    // Activation resynchronises only between the ends.
    for (int top : {0, 725}) {
        g_iCurTop = top;
        SendMessageW(AppState.hwndItem, WM_ACTIVATE, WA_ACTIVE, 0);
    }
    EXPECT_EQ(lib.TakeLog(), L"");
    g_iCurTop = 300;
    SendMessageW(AppState.hwndItem, WM_ACTIVATE, WA_CLICKACTIVE, 0);
    EXPECT_EQ(lib.TakeLog(), L"");
    SendMessageW(AppState.hwndItem, WM_ACTIVATE, WA_ACTIVE, 0);
    EXPECT_EQ(lib.TakeLog(), L"Config(1201,476,300);Query;Apply(1234);");
}

TEST_F(ListScrollTest, EachPaintAsksForTheNextOffsetUntilTheAnswerIsZero) {
    InstallFake(kLib1);
    OpenTallList();
    PaintNow();
    FakeScrollLib lib(Path(kLib1));
    lib.TakeLog();
    lib.AnswerNext(3, 10, 10);
    PaintNow();
    EXPECT_EQ(g_iCurTop, 30);
    EXPECT_EQ(lib.TakeLog(), L"Step;Next(0);Step;Next(10);Step;Next(20);Step;Next(30);");
    // The same offset once more still costs one more paint.
    lib.AnswerNext(1, 30, 0);
    PaintNow();
    EXPECT_EQ(lib.TakeLog(), L"Step;Next(30);Step;Next(30);");
    EXPECT_EQ(ChildRect(Item(0).hwndEdit).top, 12 - 30);
}

TEST_F(ListScrollTest, AMovementStepsOncePerDisplayRefreshWhateverArrives) {
    InstallFake(kLib1);
    OpenTallList();
    PaintNow();
    FakeScrollLib lib(Path(kLib1));
    // A refresh is 1000/60 ms; a little less allows for the clocks' rounding.
    auto expectPaced = [](const std::vector<double>& t, size_t steps) {
        ASSERT_EQ(t.size(), steps);
        for (size_t i = 1; i < t.size(); ++i) EXPECT_GE(t[i] - t[i - 1], 16.0) << "step " << i;
    };
    for (bool messageMidWait : {false, true}) {
        SCOPED_TRACE(messageMidWait ? "a message during a wait" : "undisturbed");
        lib.TakeStepTimes();
        lib.AnswerNext(3, 10, 10);
        // A message cuts the wait short; the frame timer brings the step.
        std::thread poster;
        if (messageMidWait)
            poster = std::thread([] {
                Sleep(5);
                PostMessageW(AppState.hwndItem, WM_NULL, 0, 0);
            });
        PaintNow();
        if (poster.joinable()) poster.join();
        for (DWORD t0 = GetTickCount(); g_iCurTop != 30 && GetTickCount() - t0 < 3000;) PumpMessages(10);
        PumpMessages(50);
        EXPECT_EQ(g_iCurTop, 30);
        expectPaced(lib.TakeStepTimes(), 4);  // three moves and the answer 0
        EXPECT_EQ(ChildRect(Item(0).hwndEdit).top, 12 - 30) << "the fields moved with the last step";
    }
}

TEST_F(ListScrollTest, TheRealComponentGlidesToTheOffsetItPromised) {
    InstallScrollLibrary(L"OrvexScroll.dll", kLib1);
    OpenTallList();
    PaintNow();
    Send(WM_LBUTTONDOWN, 240, 440);
    for (int y = 400; y >= 120; y -= 40) {
        Sleep(4);
        Send(WM_MOUSEMOVE, 240, y);
    }
    Send(WM_LBUTTONUP, 240, 120);
    const int released = g_iCurTop, rest = static_cast<int>(ActiveScroll()->QueryState());
    ASSERT_GT(rest, released) << "a flick, not a drag that rested";
    for (DWORD t0 = GetTickCount(); g_iCurTop != rest && GetTickCount() - t0 < 5000;) PumpMessages(10);
    EXPECT_EQ(g_iCurTop, rest);
}

TEST_F(ListScrollTest, TheRealComponentsDragPastTheTopAndSpringBack) {
    AppState.bHasBackgroundColor = TRUE;
    AppState.BackgroundColorSetting = kBackground;
    for (LPCWSTR lib : {kLib1, kLib2}) {
        SCOPED_TRACE(lib);
        InstallScrollLibrary(lib == kLib1 ? L"OrvexScroll.dll" : L"OrvexScroll2.dll", lib);
        OpenTallList();
        PaintNow();
        ASSERT_TRUE(ActiveScroll());
        Send(WM_LBUTTONDOWN, 240, 100);
        for (int y = 110; y <= 300; y += 10) {
            Send(WM_MOUSEMOVE, 240, y);
            PumpMessages(0);
        }
        int gap = -g_iCurTop;
        ASSERT_GT(gap, 10) << "pulled past the top";
        Capture cap = CaptureList();
        EXPECT_EQ(cap.CountColour(RECT{0, 0, 480, gap}, kBackground), 480 * gap);
        EXPECT_EQ(cap.At(20, gap + 4), kFrameColour) << "the list starts below the gap";

        Send(WM_LBUTTONUP, 240, 300);
        for (DWORD t0 = GetTickCount(); g_iCurTop != 0 && GetTickCount() - t0 < 3000;) PumpMessages(10);
        EXPECT_EQ(g_iCurTop, 0) << "sprung back";
        EXPECT_EQ(CaptureList().At(20, 4), kFrameColour);
        DestroyWindow(AppState.hwndItem);
        DestroyWindow(AppState.hwndMain);
        DeleteFileW(Path(lib).c_str());
    }
}

TEST_F(ListScrollTest, TheRealComponentReportsAClickOnALabel) {
    InstallScrollLibrary(L"OrvexScroll.dll", kLib1);
    OpenSettings();
    PaintNow();
    Send(WM_LBUTTONDOWN, 100, 150);
    Send(WM_LBUTTONUP, 100, 150);
    EXPECT_TRUE(Item(2).bOn);
    EXPECT_EQ(g_iCurSel, -1) << "the tap on a group marks nothing";
}

}  // namespace
