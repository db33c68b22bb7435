// Input of the list window: the edit fields and the input panel, pen focus,
// turning the screen, activation, commands and clicks on rows.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "core/app_state.h"
#include "core/screen_profile.h"
#include "core/skin_resources.h"
#include "listwin/list_input.h"
#include "listwin/list_paint.h"
#include "listwin/list_select.h"
#include "platform/aygshell/aygshell.h"
#include "platform/base/screen.h"
#include "platform/base/window.h"
#include "shell/release_resources.h"
#include "tests/listwin/list_fixture.h"
#include "tests/support/message_log.h"

namespace {

int g_nActivations = 0;
void CountActivation(HWND hwnd, int iRow, WPARAM, LPARAM) {
    EXPECT_EQ(hwnd, AppState.hwndItem);
    EXPECT_EQ(iRow, 0);
    ++g_nActivations;
}

std::vector<int> g_clickedRows;
void RecordClick(HWND, int iRow, WPARAM, LPARAM) { g_clickedRows.push_back(iRow); }

class ListInputTest : public ListViewTest {
protected:
    void SetUp() override {
        ListViewTest::SetUp();
        g_nActivations = 0;
        g_clickedRows.clear();
    }
    void OpenSettings() {
        LoadTestSkin();
        MakeSettingsRows(L"+447785016005", L"+44123456789");
        OpenList();
        PaintNow();
        SetForegroundWindow(AppState.hwndMain);
    }
    // The panel exists once raised; the log hears its key area's layouts.
    static void WatchInputPanel(MessageLog* log) {
        SHSipPreference(nullptr, SIP_UP);
        SHSipPreference(nullptr, SIP_FORCEDOWN);
        HWND panel = FindWindowW(L"SipWndClass", nullptr);
        ASSERT_TRUE(panel);
        HWND keys = GetWindow(panel, GW_CHILD);
        ASSERT_TRUE(keys);
        log->Watch(keys, 0);
    }
    static void Press(int x, int y) {
        SendMessageW(AppState.hwndItem, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
        SendMessageW(AppState.hwndItem, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
    }
    static void Turn(bool landscape) {
        SetScreenSizeForTest(landscape ? 640 : 480, landscape ? 480 : 640);
        AppState.bLandscape = landscape;
        SendMessageW(AppState.hwndItem, WM_SETTINGCHANGE, 0, 0);
    }
    static RECT ListRect() {
        RECT rc{};
        GetWindowRect(AppState.hwndItem, &rc);
        MapWindowPoints(nullptr, AppState.hwndMain, reinterpret_cast<POINT*>(&rc), 2);
        return rc;
    }
};

TEST_F(ListInputTest, TheWindowIsMadeBelowTheTitleWithItsRowsLaidOut) {
    OpenSettings();
    HWND hwnd = AppState.hwndItem;
    wchar_t name[64] = {};
    GetClassNameW(hwnd, name, 64);
    EXPECT_STREQ(name, L"QXCFItemClass");
    EXPECT_EQ(TextOf(hwnd), L"QXCFItemWindow");
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE)) & 0xFFFF0000u, 0x50000000u);
    RECT rc = ListRect();
    EXPECT_EQ(rc.top, 60);
    EXPECT_EQ(rc.right - rc.left, 480);
    EXPECT_EQ(rc.bottom - rc.top, 476);
    // Both orientations were laid out at creation.
    EXPECT_EQ(g_pItems[0].rcItem[kPortrait].bottom, 240);
    EXPECT_EQ(Item(3).rcItem[kLandscape].right, 640);
    EXPECT_EQ(SendMessageW(hwnd, WM_ERASEBKGND, 0, 0), 0) << "never erased";
}

TEST_F(ListInputTest, FocusOnAFieldRaisesTheInputPanelAndLosingItLowersIt) {
    OpenSettings();
    MessageLog log({{L"SipKeyArea", {kSipMsgSetLayout}}});
    WatchInputPanel(&log);
    HWND centre = Item(1).hwndEdit, voice = Item(3).hwndEdit;

    SetFocus(voice);
    EXPECT_TRUE(SHSipIsUp());
    const ExpectedMessage kPhoneLayout[] = {{0, kSipMsgSetLayout, kWParam, kSipLayoutPhone}};
    EXPECT_TRUE(SequenceIs(log.Take(), kPhoneLayout));
    EXPECT_TRUE(Item(3).bOn) << "a field that gets the focus is switched on";
    EXPECT_FALSE(Item(1).bOn);

    // From one field to the other: down for the one, up again for the other.
    SetFocus(centre);
    EXPECT_TRUE(SHSipIsUp());
    EXPECT_TRUE(Item(1).bOn);
    EXPECT_TRUE(Item(3).bOn) << "losing the focus does not switch it off";

    // Touching the list outside the fields takes the focus and the panel.
    Press(240, 30);
    EXPECT_EQ(GetFocus(), AppState.hwndItem);
    EXPECT_FALSE(SHSipIsUp());
    EXPECT_EQ(GetCapture(), nullptr) << "the pen is let go on release";

    SetFocus(centre);
    EXPECT_TRUE(SHSipIsUp());
    EXPECT_TRUE(Item(1).bOn) << "a field already on stays on";
}

TEST_F(ListInputTest, FieldsTakeOnlyWhatANumberIsMadeOfAndBeepAtTheRest) {
    struct Case {
        bool bPaste;
        LPCWSTR input, expected;
        UINT beeps;
    };
    const Case cases[] = {
        {false, L"call me-12 34", L" -12 34", 6},
        {false, L"+44*#pPwW0", L"+44*#pPwW0", 0},
        {false, L"12\b3", L"13", 0},  // backspace is a command, not a character
        {true, L"+44 20-7946", L"+44 20-7946", 0},
        {true, L"+44 ext 12", L"", 1},  // a paste goes in whole or not at all
    };
    OpenSettings();
    HWND voice = Item(3).hwndEdit;
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.input)));
        SetWindowTextW(voice, L"");
        const UINT before = DefaultBeepCount();
        if (c.bPaste) {
            ASSERT_TRUE(OpenClipboard(AppState.hwndMain));
            EmptyClipboard();
            const size_t bytes = (wcslen(c.input) + 1) * sizeof(WCHAR);
            HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, bytes);
            memcpy(GlobalLock(h), c.input, bytes);
            GlobalUnlock(h);
            ASSERT_TRUE(SetClipboardData(CF_UNICODETEXT, h));
            CloseClipboard();
            SendMessageW(voice, WM_PASTE, 0, 0);
        } else {
            for (LPCWSTR p = c.input; *p; ++p) SendMessageW(voice, WM_CHAR, *p, 0);
        }
        EXPECT_EQ(TextOf(voice), c.expected);
        EXPECT_EQ(DefaultBeepCount() - before, c.beeps);
    }
}

// The vga device's input panel (s = 2): 160 pixels above the soft-key bar.
TEST_F(ListInputTest, TheFieldBeingTypedStaysInSightAboveTheInputPanel) {
    struct Case {
        bool bLandscape;
        int iItem;
        int cyAbovePanel, iTop;  // list height and offset while the panel is up
        int cyFull;
    };
    const Case cases[] = {
        {true, 3, 156, 84, 316},  // the Voice Mail field would be under the panel
        {true, 1, 156, 0, 316},   // the upper field is in sight already
        {false, 3, 316, 0, 476},
    };
    SetRegDword(HKEY_LOCAL_MACHINE, L"Drivers\\Display\\GPE", L"LogicalPixelsX", 192);
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << (c.bLandscape ? "landscape" : "portrait") << " item " << c.iItem);
        SetScreenSizeForTest(c.bLandscape ? 640 : 480, c.bLandscape ? 480 : 640);
        AppState.bLandscape = c.bLandscape;
        OpenSettings();
        HWND field = Item(c.iItem).hwndEdit;
        auto expectView = [this](int cy, int iTop) {
            PaintNow();
            EXPECT_EQ(ListRect().bottom - ListRect().top, cy);
            EXPECT_EQ(g_iCurTop, iTop);
        };
        auto expectFieldInSight = [field] {
            SIPINFO si{};
            si.cbSize = sizeof(si);
            ASSERT_TRUE(SHSipInfo(SPI_GETSIPINFO, 0, &si, 0));
            RECT list{}, box{};
            GetWindowRect(AppState.hwndItem, &list);
            GetWindowRect(field, &box);
            EXPECT_GE(box.top, list.top);
            EXPECT_LE(box.bottom, si.rcSipRect.top) << "wholly above the panel";
        };

        // Nothing moves while no field has the focus.
        SHSipPreference(nullptr, SIP_UP);
        expectView(c.cyFull, 0);
        SHSipPreference(nullptr, SIP_FORCEDOWN);

        SetFocus(field);
        ASSERT_TRUE(SHSipIsUp());
        expectView(c.cyAbovePanel, c.iTop);
        expectFieldInSight();
        // Down by its own key and up by the soft-key bar's, the focus staying.
        SHSipPreference(nullptr, SIP_FORCEDOWN);
        expectView(c.cyFull, 0);
        SHSipPreference(nullptr, SIP_UP);
        expectView(c.cyAbovePanel, c.iTop);
        // A turn and back with the panel up.
        Turn(!c.bLandscape);
        PaintNow();
        expectFieldInSight();
        Turn(c.bLandscape);
        expectView(c.cyAbovePanel, c.iTop);
        expectFieldInSight();
        // Touching the list takes the focus and the panel: the list is whole again.
        Press(240, 10);
        EXPECT_FALSE(SHSipIsUp());
        expectView(c.cyFull, 0);

        DestroyWindow(AppState.hwndItem);
        DestroyWindow(AppState.hwndMain);
        AppState.hwndItem = AppState.hwndMain = nullptr;
        ReleaseResources();
    }
    DeleteRegTree(HKEY_LOCAL_MACHINE, L"Drivers\\Display\\GPE");
}

TEST_F(ListInputTest, TurningTwiceKeepsTheTypedTextAndReturnsToOffsetZero) {
    OpenSettings();
    HWND centre = Item(1).hwndEdit;
    SendMessageW(centre, EM_SETSEL, 0, -1);
    for (wchar_t c : std::wstring(L"+3312")) SendMessageW(centre, WM_CHAR, c, 0);
    ASSERT_EQ(TextOf(centre), L"+3312");
    g_iCurTop = 5;

    Turn(true);
    RECT rc = ListRect();
    EXPECT_EQ(rc.left, 0);
    EXPECT_EQ(rc.top, 60);
    EXPECT_EQ(rc.right - rc.left, 640);
    EXPECT_EQ(rc.bottom - rc.top, 316);
    EXPECT_EQ(g_iCurTop, 0);
    EXPECT_FALSE(g_bBmpReady);
    PaintNow();
    EXPECT_TRUE(g_hBmpItemL);
    EXPECT_FALSE(g_hBmpItem) << "one image at a time";
    EXPECT_EQ(Item(1).hwndEdit, centre) << "the same control, moved";
    RECT box = ChildRect(centre);
    EXPECT_EQ(box.left, 16);
    EXPECT_EQ(box.right, 624);
    EXPECT_EQ(box.top, 72);
    EXPECT_EQ(TextOf(centre), L"+3312");
    Capture cap = CaptureList();
    EXPECT_EQ(cap.At(631, 70), kFrameColour) << "the frame is stretched to the wider row";
    EXPECT_EQ(cap.At(632, 70), RGB(0xFF, 0xFF, 0xFF));

    Turn(false);
    rc = ListRect();
    EXPECT_EQ(rc.right - rc.left, 480);
    EXPECT_EQ(rc.bottom - rc.top, 476);
    PaintNow();
    EXPECT_TRUE(g_hBmpItem);
    EXPECT_FALSE(g_hBmpItemL);
    EXPECT_EQ(g_iCurTop, 0);
    box = ChildRect(centre);
    EXPECT_EQ(box.left, 16);
    EXPECT_EQ(box.right, 464);
    EXPECT_EQ(TextOf(centre), L"+3312");
    EXPECT_EQ(TextOf(Item(3).hwndEdit), L"+44123456789");
}

TEST_F(ListInputTest, OnlyAPlainActivationRunsTheCallbacks) {
    LoadTestSkin();
    MakeSettingsRows(L"", L"");
    g_pItems[0].pfnOnActivate = CountActivation;
    OpenList();
    PaintNow();
    EXPECT_EQ(g_nActivations, 1) << "after the image is built";
    SendMessageW(AppState.hwndItem, WM_ACTIVATE, MAKEWPARAM(WA_CLICKACTIVE, 0), 0);
    SendMessageW(AppState.hwndItem, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, 0), 0);
    EXPECT_EQ(g_nActivations, 1);
    SendMessageW(AppState.hwndItem, WM_ACTIVATE, MAKEWPARAM(WA_ACTIVE, 0), 0);
    EXPECT_EQ(g_nActivations, 2);
}

TEST_F(ListInputTest, AClickTogglesTheGroupItemUnderThePenButNotOnItsEdge) {
    OpenSettings();
    OnClick(100, 30);
    EXPECT_TRUE(Item(0).bOn);
    OnClick(100, 30);
    EXPECT_FALSE(Item(0).bOn);
    OnClick(100, 60);  // between the label and its field
    for (int k = 0; k < 4; ++k) EXPECT_FALSE(Item(k).bOn) << k;
    g_iCurTop = 120;
    OnClick(100, 30);  // list y 150: the second label
    EXPECT_TRUE(Item(2).bOn);
}

TEST_F(ListInputTest, AClickCallsTheRowUnlessItStartsAProgramOrIsDisabled) {
    LoadTestSkin();
    ListItem& row = MakeSingleRow(2);
    row.pfnOnClick = RecordClick;
    OpenList();
    PaintNow();
    OnClick(0, 40);
    EXPECT_EQ(g_clickedRows, std::vector<int>{0});
    row.bDisabled = TRUE;
    OnClick(0, 40);
    row.bDisabled = FALSE;
    wcscpy_s(row.szLaunchPath, L"\\Windows\\absent.exe");
    OnClick(0, 40);  // a program that cannot start is not reported
    EXPECT_EQ(g_clickedRows, std::vector<int>{0});
}

}  // namespace
