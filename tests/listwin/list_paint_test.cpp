// The painted list at vga (480 x 640, s = 2): edit boxes and frames, texts,
// colours, every row kind, the mark, the failure path and the fonts.
#include <gtest/gtest.h>

#include <algorithm>

#include "core/app_state.h"
#include "core/skin_resources.h"
#include "listwin/item_window.h"
#include "listwin/list_draw.h"
#include "listwin/list_input.h"
#include "listwin/list_onoff.h"
#include "listwin/list_paint.h"
#include "listwin/list_row_paint.h"
#include "listwin/list_select.h"
#include "platform/base/screen.h"
#include "platform/base/window.h"
#include "shell/release_resources.h"
#include "tests/listwin/list_fixture.h"

namespace {

constexpr COLORREF kWhite = RGB(0xFF, 0xFF, 0xFF);
constexpr COLORREF kBackground = RGB(0x20, 0x60, 0x40);

void ExpectRect(const RECT& rc, LONG l, LONG t, LONG r, LONG b) {
    EXPECT_EQ(rc.left, l);
    EXPECT_EQ(rc.top, t);
    EXPECT_EQ(rc.right, r);
    EXPECT_EQ(rc.bottom, b);
}

class ListPaintTest : public ListViewTest {
protected:
    void OpenSettings() {
        LoadTestSkin();
        MakeSettingsRows(L"+447785016005", L"+44123456789");
        OpenList();
        PaintNow();
    }
};

TEST_F(ListPaintTest, EditFieldsSitInTheirFramesAndHoldTheTwoTexts) {
    OpenSettings();
    HWND centre = Item(1).hwndEdit, voice = Item(3).hwndEdit;
    ASSERT_TRUE(centre && voice);
    EXPECT_FALSE(Item(0).hwndEdit || Item(2).hwndEdit) << "labels have no control";
    EXPECT_EQ(GetParent(centre), AppState.hwndItem);
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongW(centre, GWL_STYLE)) & 0xFFFF1000u, 0x50001000u);
    // x 16 to width - 16, item top + 12, height 30 (items at 60 and 180).
    ExpectRect(ChildRect(centre), 16, 72, 464, 102);
    ExpectRect(ChildRect(voice), 16, 192, 464, 222);
    EXPECT_EQ(Item(1).rcEdit[kPortrait].cx, 448);
    EXPECT_EQ(TextOf(centre), L"+447785016005");
    EXPECT_EQ(TextOf(voice), L"+44123456789");
    EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageW(voice, WM_GETFONT, 0, 0)), AppState.hFontLarge);

    // The frame spans x 8 to width - 8 from item top + 4, 46 high; the
    // control lies inside it.
    Capture cap = CaptureList();
    for (int top : {64, 184}) {
        SCOPED_TRACE(top);
        EXPECT_EQ(cap.At(8, top), kFrameColour);
        EXPECT_EQ(cap.At(471, top + 45), kFrameColour);
        EXPECT_EQ(cap.At(7, top + 10), kWhite);
        EXPECT_EQ(cap.At(472, top + 10), kWhite);
        EXPECT_EQ(cap.At(240, top - 1), kWhite);
        EXPECT_EQ(cap.At(240, top + 46), kWhite);
    }
}

// The controls take at most 48 characters; a number stops before, at the
// twenty digits the SIM holds, the rest refused with a beep as typed.
TEST_F(ListPaintTest, EditFieldsTakeAtMostFortyEightAndANumberTwentyDigits) {
    OpenSettings();
    HWND voice = Item(3).hwndEdit;
    EXPECT_EQ(SendMessageW(voice, EM_GETLIMITTEXT, 0, 0), 48);
    // Without horizontal scrolling the field also stops at its visible
    // width; a small font makes room for more than the limit.
    HFONT small = CreateFontW(-8, 0, 0, 0, 400, 0, 0, 0, 0, 0, 0, 0, 0, L"Liberation Sans");
    SendMessageW(voice, WM_SETFONT, reinterpret_cast<WPARAM>(small), 0);
    SetWindowTextW(voice, L"");
    const UINT before = DefaultBeepCount();
    for (int i = 0; i < 60; ++i) SendMessageW(voice, WM_CHAR, L'0' + i % 10, 0);
    EXPECT_EQ(TextOf(voice), L"01234567890123456789");
    EXPECT_EQ(DefaultBeepCount() - before, 40u);
    SendMessageW(voice, WM_SETFONT, reinterpret_cast<WPARAM>(AppState.hFontLarge), 0);
    DeleteObject(small);
}

TEST_F(ListPaintTest, LabelsAreBlackOnTheConfiguredBackgroundWithTheLineBelow) {
    AppState.bHasBackgroundColor = TRUE;
    AppState.BackgroundColorSetting = kBackground;
    OpenSettings();
    Capture cap = CaptureList();
    ASSERT_EQ(cap.height, 476);
    // Labels start at (s, item top + 8s).
    EXPECT_GT(cap.CountDark(RECT{2, 16, 240, 48}), 40);
    EXPECT_GT(cap.CountDark(RECT{2, 136, 240, 168}), 40);
    EXPECT_EQ(cap.CountDark(RECT{0, 0, 480, 14}), 0) << "nothing above the first label";
    EXPECT_EQ(cap.At(300, 5), kBackground);
    EXPECT_EQ(cap.At(479, 5), kBackground) << "the right column too";
    EXPECT_EQ(cap.At(0, 240), kLineColour) << "the line under the group";
    // The list is 241 high: the window below it shows the background.
    EXPECT_EQ(cap.CountColour(RECT{0, 241, 480, 476}, kBackground), 480 * 235);

    // A disabled label is grey, the other stays black.
    DestroyWindow(AppState.hwndItem);
    Item(0).bDisabled = TRUE;
    ASSERT_TRUE(CreateItemWindow(AppState.hInst, SW_SHOW));
    cap = CaptureList();
    EXPECT_EQ(cap.CountDark(RECT{2, 16, 240, 48}), 0);
    EXPECT_GT(cap.CountColour(RECT{2, 16, 240, 48}, kListGreyColour), 20);
    EXPECT_GT(cap.CountDark(RECT{2, 136, 240, 168}), 40);
}

TEST_F(ListPaintTest, NoInkOfALabelIsCutOff) {
    // At s = 1 the list font's final colon inks past the measured line.
    AppState.nScale = 1;
    LoadTestSkin();
    LPCWSTR text = L"Text messages service center:";
    MakeSingleRow(IK_GROUP, 1, IK_GROUP_LABEL);
    wcscpy_s(Item(0).szText, text);
    OpenList();
    PaintNow();
    Capture cap = CaptureList();
    int listRight = -1;
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < cap.width; ++x)
            if (cap.CountDark(RECT{x, y, x + 1, y + 1})) listRight = std::max(listRight, x);

    // The same text at the label's anchor (s, 8s), drawn unclipped.
    HDC screen = GetDC(nullptr);
    HDC mem = CreateCompatibleDC(screen);
    HBITMAP bmp = CreateCompatibleBitmap(screen, cap.width, 30);
    HGDIOBJ oldBmp = SelectObject(mem, bmp);
    PatBlt(mem, 0, 0, cap.width, 30, WHITENESS);
    SetBkMode(mem, TRANSPARENT);
    HGDIOBJ oldFont = SelectObject(mem, AppState.hFontPrimary);
    TextOutW(mem, 1, 8, text, lstrlenW(text));
    int inkRight = -1;
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < cap.width; ++x) {
            COLORREF c = GetPixel(mem, x, y);
            if (GetRValue(c) < 0x40 && GetGValue(c) < 0x40 && GetBValue(c) < 0x40) inkRight = std::max(inkRight, x);
        }
    SelectObject(mem, oldFont);
    SelectObject(mem, oldBmp);
    DeleteObject(bmp);
    DeleteDC(mem);
    ReleaseDC(nullptr, screen);
    EXPECT_GT(inkRight, 100);
    EXPECT_EQ(listRight, inkRight);
}

TEST_F(ListPaintTest, EveryRowKindDrawsItsImageAndTexts) {
    LoadTestSkin();
    struct Case {
        int kind;
        BOOL bOn, bDisabled;
        POINT probe;  // inside the row's image
        COLORREF expected;
    };
    // Rows of kinds 1, 3, 4 are 80 high (the focus image), sub-titles 40.
    const Case cases[] = {
        {IK_SUBTITLE, 0, 0, {400, 20}, kSubTitleColour},
        {IK_BUTTON, 1, 0, {446, 42}, kOnColour},
        {IK_BUTTON, 0, 0, {446, 42}, kOffColour},
        {IK_CLICKBOX, 1, 0, {446, 42}, kOnColour},
        {IK_CLICKBOX, 0, 1, {446, 42}, kOffDisabledColour},
        {IK_SWITCH, 1, 0, {420, 30}, kOnColour},
        {IK_SWITCH, 0, 0, {420, 30}, kOffColour},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "kind " << c.kind << " on " << c.bOn);
        ListItem& row = MakeSingleRow(c.kind);
        row.bOn = c.bOn;
        row.bDisabled = c.bDisabled;
        wcscpy_s(row.szText, L"Main text");
        wcscpy_s(row.szSubText, L"Second line");
        OpenList();
        Capture cap = CaptureList();
        EXPECT_EQ(cap.At(c.probe.x, c.probe.y), c.expected);
        int bottom = c.kind == IK_SUBTITLE ? 40 : 80;
        EXPECT_EQ(cap.At(10, bottom), kLineColour);
        if (c.kind == IK_SUBTITLE) {
            EXPECT_GT(cap.CountColour(RECT{6, 4, 240, 36}, kWhite), 20) << "white title text";
        } else if (c.bDisabled) {
            EXPECT_EQ(cap.CountDark(RECT{0, 0, 380, bottom}), 0);
            EXPECT_GT(cap.CountColour(RECT{8, 24, 240, 48}, kListGreyColour), 20);
        } else {
            int top = c.kind == IK_SWITCH ? 8 : 24;
            EXPECT_GT(cap.CountDark(RECT{8, top, 240, top + 24}), 20) << "main text";
        }
        bool secondLine = c.kind == IK_SWITCH || c.kind == IK_CLICKBOX;
        if (!c.bDisabled) {
            EXPECT_EQ(cap.CountDark(RECT{8, 50, 240, 78}) > 20, secondLine) << "second line";
        }
        if (c.kind == IK_SWITCH) {
            EXPECT_GT(cap.CountDark(RECT{380, 48, 430, 70}), 5) << "OFF";
            EXPECT_GT(cap.CountDark(RECT{436, 48, 480, 70}), 5) << "ON";
        }
        DestroyWindow(AppState.hwndItem);
        DestroyWindow(AppState.hwndMain);
    }
}

TEST_F(ListPaintTest, GroupCheckBoxesAndRadioItemsShowTheirState) {
    LoadTestSkin();
    MakeSingleRow(IK_GROUP, 3, IK_GROUP_LABEL);
    Item(0).nKind = IK_GROUP_CLICKBOX;
    Item(0).bOn = TRUE;
    wcscpy_s(Item(0).szText, L"Check");
    for (int k : {1, 2}) {
        Item(k).bRadio = TRUE;
        Item(k).nRadioGroup = 7;
        wcscpy_s(Item(k).szText, L"Radio");
    }
    Item(2).bOn = TRUE;
    OpenList();
    Capture cap = CaptureList();
    // Check box (30s - 32, top + 6s), radio buttons at (s, top + 5s).
    EXPECT_EQ(cap.At(40, 20), kOnColour);
    EXPECT_EQ(cap.At(10, 80), kOffColour);
    EXPECT_EQ(cap.At(10, 140), kOnColour);
    EXPECT_GT(cap.CountDark(RECT{60, 18, 240, 50}), 20) << "check box text at 30s";
    EXPECT_GT(cap.CountDark(RECT{36, 76, 240, 108}), 20) << "radio text after the button";

    // A radio item switches its whole group; the image follows at once.
    ToggleSubItem(AppState.hwndItem, 0, 1, &Item(1));
    EXPECT_TRUE(Item(1).bOn);
    EXPECT_FALSE(Item(2).bOn);
    cap = CaptureList();
    EXPECT_EQ(cap.At(10, 80), kOnColour);
    EXPECT_EQ(cap.At(10, 140), kOffColour);
    ToggleSubItem(AppState.hwndItem, 0, 0, &Item(0));
    EXPECT_FALSE(Item(0).bOn);
    EXPECT_EQ(CaptureList().At(40, 20), kOffColour);
    EXPECT_EQ(ToggleSubItem(AppState.hwndItem, 0, 0, nullptr), 0);
    EXPECT_FALSE(Item(0).bOn) << "no item, no change";
}

TEST_F(ListPaintTest, ATapMarksOnlyTheScreenAndNotGroupsOrEdges) {
    LoadTestSkin();
    ListItem& row = MakeSingleRow(IK_BUTTON);
    wcscpy_s(row.szText, L"Button row");
    OpenList();
    PaintNow();
    TraceCapture trace;
    OnTap(100, 0);
    OnTap(100, 80);
    EXPECT_EQ(g_iCurSel, -1) << "the row's own edges are not inside it";
    EXPECT_FALSE(trace.Has(L"MarkCell+"));
    OnTap(100, 40);
    EXPECT_EQ(g_iCurSel, 0);
    EXPECT_EQ(trace.Count(L"MarkCell-"), 1);
    EXPECT_TRUE(trace.Has(L"rectSwitch.left = 430, rectSwitch.top = 26, rectSwitch.right = 462, "
                          L"rectSwitch.bottom = 58"));

    // The marked picture: focus image, white text, the button on top.
    RECT client{0, 0, 480, 476};
    Capture marked;
    {
        HDC screen = GetDC(nullptr);
        HDC mem = CreateCompatibleDC(screen);
        HBITMAP bmp = CreateCompatibleBitmap(screen, 480, 476);
        HGDIOBJ old = SelectObject(mem, bmp);
        ComposeMarkedCell(mem, 0, client);
        EXPECT_EQ(GetPixel(mem, 300, 10), kFocusColour);
        EXPECT_EQ(GetPixel(mem, 446, 42), kOffColour);
        int white = 0;
        for (int y = 24; y < 48; ++y)
            for (int x = 8; x < 200; ++x) white += GetPixel(mem, x, y) == kWhite;
        EXPECT_GT(white, 20);
        SelectObject(mem, old);
        DeleteObject(bmp);
        DeleteDC(mem);
        ReleaseDC(nullptr, screen);
    }
    EXPECT_EQ(CaptureList().At(300, 10), kWhite) << "the list image has no mark";

    // Groups are never marked.
    DestroyWindow(AppState.hwndItem);
    MakeSettingsRows(L"", L"");
    g_iCurSel = -1;
    ASSERT_TRUE(CreateItemWindow(AppState.hInst, SW_SHOW));
    PaintNow();
    OnTap(100, 30);
    EXPECT_EQ(g_iCurSel, -1);
}

TEST_F(ListPaintTest, NoListImageClosesTheProgram) {
    LoadTestSkin();
    MakeSettingsRows(L"1", L"2");
    OpenList();
    // A list far too tall for any bitmap.
    g_rcExtent[kPortrait].bottom = 0x7FFFFFF0;
    TraceCapture trace;
    PaintNow();
    EXPECT_TRUE(trace.Has(L"OnItemPaint : g_hBmpItem == NULL"));
    EXPECT_EQ(CloseRequests(), 1);
    EXPECT_FALSE(Item(1).hwndEdit) << "nothing else of the paint happened";
    EXPECT_FALSE(g_bBmpReady);
}

TEST_F(ListPaintTest, WithoutRowsTheListIsEmptyButSound) {
    AppState.bHasBackgroundColor = TRUE;
    AppState.BackgroundColorSetting = kBackground;
    LoadTestSkin();
    OpenList();
    PaintNow();
    Capture cap = CaptureList();
    EXPECT_EQ(cap.CountColour(RECT{0, 0, 480, 476}, kBackground), 480 * 476);
    EXPECT_TRUE(OnClick(10, 10));
    EXPECT_TRUE(OnTap(10, 10));
    EXPECT_EQ(ToggleSubItem(AppState.hwndItem, 0, 0, &g_iCurSel), 0);
    EXPECT_EQ(CloseRequests(), 0);
}

TEST_F(ListPaintTest, On320x480TheFieldIsWiderAtCreationAndWideTextsShrink) {
    AppState.nScale = 1;
    AppState.nScreenType = 6;
    AppState.LandscapeXExtension = 160;
    SetScreenSizeForTest(320, 480);
    LoadTestSkin();
    MakeSettingsRows(L"1", L"2");
    OpenList();
    PaintNow();
    // Items are 40 high; the box is 2 pixels further left and 20 high.
    EXPECT_EQ(ChildRect(Item(1).hwndEdit).left, 6);
    EXPECT_EQ(ChildRect(Item(1).hwndEdit).right, 6 + 308);
    EXPECT_EQ(ChildRect(Item(1).hwndEdit).top, 46);
    EXPECT_EQ(ChildRect(Item(1).hwndEdit).bottom, 66);
    DestroyWindow(AppState.hwndItem);

    // A main text measured wider than 267 pixels takes the secondary font.
    ListItem& row = MakeSingleRow(2);
    wcscpy_s(row.szText, L"WWWWWWWWWWWWWWWWWWWWWWWWW");
    ASSERT_TRUE(CreateItemWindow(AppState.hInst, SW_SHOW));
    PaintNow();
    Capture cap = CaptureList();
    int right = -1;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < cap.width; ++x)
            if (cap.CountDark(RECT{x, y, x + 1, y + 1})) right = std::max(right, x);
    HDC screen = GetDC(nullptr);
    SIZE primary{}, secondary{};
    HGDIOBJ old = SelectObject(screen, AppState.hFontPrimary);
    GetTextExtentPoint32W(screen, row.szText, lstrlenW(row.szText), &primary);
    SelectObject(screen, AppState.hFontSecondary);
    GetTextExtentPoint32W(screen, row.szText, lstrlenW(row.szText), &secondary);
    SelectObject(screen, old);
    ReleaseDC(nullptr, screen);
    ASSERT_GT(primary.cx, 267);
    ASSERT_LT(secondary.cx + 8, primary.cx);
    EXPECT_LE(right, 4 + secondary.cx + 2);
    EXPECT_GE(right, 4 + secondary.cx - 4);
}

// A row painted into a context of its own over the background is the row the
// list shows.
TEST_F(ListPaintTest, PaintItemDrawsIntoTheContextItIsGiven) {
    LoadTestSkin();
    ListItem& row = MakeSingleRow(2);
    wcscpy_s(row.szText, L"Voice Mail:");
    OpenList();
    PaintNow();
    Capture shown = CaptureList();
    Capture own = CapturePainted([](HDC hdc) {
        RECT rc{};
        GetClientRect(AppState.hwndItem, &rc);
        FillSolid(hdc, rc, kWhite);
        SetBkMode(hdc, TRANSPARENT);
        EXPECT_TRUE(PaintItem(AppState.hwndItem, hdc, 0));
    });
    ASSERT_GT(shown.CountDark(RECT{0, 0, shown.width, shown.height}), 30) << "the text is drawn";
    // The list image ends one row below the row: the separator's lower rows are not in it.
    const auto end = static_cast<size_t>(row.rcItem[kPortrait].bottom + 1) * shown.width;
    ASSERT_LE(end, shown.pixels.size());
    EXPECT_TRUE(std::equal(shown.pixels.begin(), shown.pixels.begin() + end, own.pixels.begin()));
}

TEST_F(ListPaintTest, FontsAreNotLeftSelectedAndTheImageGoesWithTheWindow) {
    OpenSettings();
    HFONT fonts[] = {AppState.hFontLarge, AppState.hFontPrimary, AppState.hFontSecondary, AppState.hFontThin};
    HGDIOBJ current = GetCurrentObject(g_hdcItem, OBJ_FONT);
    for (HFONT f : fonts) EXPECT_NE(current, f);
    HBITMAP image = g_hBmpItem;
    ASSERT_TRUE(image);
    EXPECT_EQ(GetCurrentObject(g_hdcItem, OBJ_BITMAP), image);

    // The skin goes first, as when the main window is destroyed.
    TraceCapture trace;
    ReleaseResources();
    EXPECT_FALSE(trace.Has(L"[err]"));
    for (HFONT f : fonts) EXPECT_EQ(GetObjectType(f), 0u);
    DestroyWindow(AppState.hwndItem);
    EXPECT_EQ(GetObjectType(image), 0u);
    EXPECT_FALSE(g_hdcItem || g_hBmpItem || g_hBmpItemL);
}

}  // namespace
