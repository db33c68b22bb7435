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
    // A tap on a field: the edit control takes the focus in its own handling.
    static void Tap(HWND field) {
        SendMessageW(field, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 4));
        SendMessageW(field, WM_LBUTTONUP, 0, MAKELPARAM(4, 4));
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

TEST_F(ListInputTest, ATapOnAFieldRaisesTheInputPanelAndLosingItLowersIt) {
    OpenSettings();
    MessageLog log({{L"SipKeyArea", {kSipMsgSetLayout}}});
    WatchInputPanel(&log);
    HWND centre = Item(1).hwndEdit, voice = Item(3).hwndEdit;

    // The focus that keys give needs no keypad.
    SetFocus(voice);
    EXPECT_FALSE(SHSipIsUp());
    EXPECT_TRUE(SequenceIs(log.Take(), std::vector<ExpectedMessage>{}));
    SetFocus(AppState.hwndItem);

    Tap(voice);
    EXPECT_TRUE(SHSipIsUp());
    const ExpectedMessage kPhoneLayout[] = {{0, kSipMsgSetLayout, kWParam, kSipLayoutPhone}};
    EXPECT_TRUE(SequenceIs(log.Take(), kPhoneLayout));
    EXPECT_TRUE(Item(3).bOn) << "a field that gets the focus is switched on";
    EXPECT_FALSE(Item(1).bOn);

    // From one field to the other: down for the one, up again for the other.
    Tap(centre);
    EXPECT_TRUE(SHSipIsUp());
    EXPECT_TRUE(Item(1).bOn);
    EXPECT_TRUE(Item(3).bOn) << "losing the focus does not switch it off";

    // Touching the list outside the fields takes the focus and the panel.
    Press(240, 30);
    EXPECT_EQ(GetFocus(), AppState.hwndItem);
    EXPECT_FALSE(SHSipIsUp());
    EXPECT_EQ(GetCapture(), nullptr) << "the pen is let go on release";

    Tap(centre);
    EXPECT_TRUE(SHSipIsUp());
    EXPECT_TRUE(Item(1).bOn) << "a field already on stays on";
}

// Each field refuses as it is typed or pasted what Done would refuse in it;
// a pasted number loses its separators first.
TEST_F(ListInputTest, FieldsTakeOnlyWhatTheirNumberCanHoldAndBeepAtTheRest) {
    constexpr int kVoice = 3, kCentre = 1;
    struct Case {
        int iItem;
        bool bPaste;
        LPCWSTR input, expected;
        UINT beeps;
    };
    const Case cases[] = {
        {kVoice, false, L"call me-12 34", L" -12 34", 6},
        {kVoice, false, L"+44*#pPwW0", L"+44*#pPwW0", 0},
        {kVoice, false, L"12\b3", L"13", 0},  // backspace is a command, not a character
        {kVoice, false, L"12+3", L"123", 1},   // a "+" only first
        {kVoice, false, L"+123456789012345678901", L"+12345678901234567890", 1},  // twenty digits
        {kCentre, false, L"+44 20-7946p1w", L"+442079461", 4},  // the radio takes no blank, -, p or w
        {kVoice, true, L"+44 20-7946", L"+44207946", 0},
        {kVoice, true, L"+44 (0)7700 900123", L"+4407700900123", 0},
        {kCentre, true, L"+44 7700.900/123", L"+447700900123", 0},
        {kVoice, true, L"+44 ext 12", L"", 1},  // a paste goes in whole or not at all
        {kCentre, true, L"+44 123 p45", L"", 1},
        {kVoice, true, L"123456789012345678901", L"", 1},
    };
    OpenSettings();
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.input)));
        HWND field = Item(c.iItem).hwndEdit;
        SetWindowTextW(field, L"");
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
            SendMessageW(field, WM_PASTE, 0, 0);
        } else {
            for (LPCWSTR p = c.input; *p; ++p) SendMessageW(field, WM_CHAR, *p, 0);
        }
        EXPECT_EQ(TextOf(field), c.expected);
        EXPECT_EQ(DefaultBeepCount() - before, c.beeps);
    }
}

// The keys alone move between the fields: the D-pad and Tab from field to
// field (and from the list itself to a field), the caret at the end, the
// input panel left down; a character typed with no field focused goes to
// the first one.
TEST_F(ListInputTest, KeysMoveBetweenTheFieldsAndTypeIntoThem) {
    OpenSettings();
    HWND centre = Item(1).hwndEdit, voice = Item(3).hwndEdit;
    enum { kList, kCentre, kVoice };
    const std::vector<UINT> kFieldMessages = {WM_KEYDOWN, WM_CHAR, WM_SETFOCUS, WM_KILLFOCUS};
    MessageLog log({{L"QXCFItemClass", {WM_COMMAND, WM_KEYDOWN, WM_CHAR}},
                    {L"Edit", kFieldMessages},
                    {L"Edit", kFieldMessages}});
    log.Watch(AppState.hwndItem, kList);
    log.Watch(centre, kCentre);
    log.Watch(voice, kVoice);
    auto key = [](HWND hwnd, UINT vk) { SendMessageW(hwnd, WM_KEYDOWN, vk, 1); };
    auto caretAtEnd = [](HWND field) {
        DWORD from = 0, to = 0;
        SendMessageW(field, EM_GETSEL, reinterpret_cast<WPARAM>(&from), reinterpret_cast<LPARAM>(&to));
        return from == to && to == static_cast<DWORD>(GetWindowTextLengthW(field));
    };
    SetFocus(centre);
    log.Take();

    const ExpectedMessage kDown[] = {
        {kCentre, WM_KEYDOWN, kWParam, VK_DOWN},
        {kCentre, WM_KILLFOCUS, kNested},
        {kList, WM_COMMAND, kNested | kWParam, MAKEWPARAM(0, EN_KILLFOCUS)},
        {kVoice, WM_SETFOCUS, kNested},
        {kList, WM_COMMAND, kNested | kWParam, MAKEWPARAM(0, EN_SETFOCUS)},
    };
    key(centre, VK_DOWN);
    EXPECT_TRUE(SequenceIs(log.Take(), kDown));
    EXPECT_EQ(GetFocus(), voice);
    EXPECT_TRUE(caretAtEnd(voice));
    EXPECT_FALSE(SHSipIsUp()) << "keys need no keypad";

    struct Step {
        HWND from;
        UINT vk;
        bool bShift;
        HWND to;
    };
    const Step steps[] = {
        {voice, VK_DOWN, false, centre},  // around from the last to the first
        {centre, VK_UP, false, voice},
        {voice, VK_TAB, false, centre},
        {centre, VK_TAB, true, voice},
        {AppState.hwndItem, VK_DOWN, false, centre},  // from the list: the first
        {AppState.hwndItem, VK_UP, false, voice},     // and the last
    };
    BYTE keys[256] = {};
    for (const Step& st : steps) {
        SCOPED_TRACE(testing::Message() << "key " << st.vk << (st.bShift ? " with shift" : ""));
        SetFocus(st.from);
        GetKeyboardState(keys);
        keys[VK_SHIFT] = st.bShift ? 0x80 : 0;
        SetKeyboardState(keys);
        key(st.from, st.vk);
        keys[VK_SHIFT] = 0;
        SetKeyboardState(keys);
        EXPECT_EQ(GetFocus(), st.to);
        EXPECT_TRUE(caretAtEnd(st.to));
    }
    EXPECT_EQ(TextOf(centre), L"+447785016005") << "Tab is no character";

    // What the input panel types with only the list focused.
    SetFocus(AppState.hwndItem);
    log.Take();
    const ExpectedMessage kTyped[] = {
        {kList, WM_CHAR, kWParam, L'9'},
        {kCentre, WM_SETFOCUS, kNested},
        {kList, WM_COMMAND, kNested | kWParam, MAKEWPARAM(0, EN_SETFOCUS)},
        {kCentre, WM_CHAR, kNested | kWParam, L'9'},
        {kList, WM_COMMAND, kNested | kWParam, MAKEWPARAM(0, EN_UPDATE)},
        {kList, WM_COMMAND, kNested | kWParam, MAKEWPARAM(0, EN_CHANGE)},
    };
    SendMessageW(AppState.hwndItem, WM_CHAR, L'9', 1);
    EXPECT_TRUE(SequenceIs(log.Take(), kTyped));
    EXPECT_EQ(TextOf(centre), L"+4477850160059");
    EXPECT_EQ(GetFocus(), centre);
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

        Tap(field);
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
