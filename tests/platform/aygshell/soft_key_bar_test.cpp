// The soft-key bar with real windows: its place on the screen, its two keys
// from resource 102, taps, the F1/F2 keys, empty bars and refused requests.
#include <gtest/gtest.h>

#include "platform/aygshell/aygshell.h"
#include "res/resource.h"
#include "tests/platform/aygshell/shell_fixture.h"
#include "tests/support/scratch.h"

namespace {

constexpr UINT kOddBar = 950;    // separator, disabled key, key, extra key
constexpr UINT kShortBar = 951;  // cut short

class SoftKeyBarTest : public ShellTest {
protected:
    HWND MakeBar(HWND owner, UINT nId, DWORD dwFlags = 0) {
        HWND bar = MakeSoftKeyBar(owner, nId, dwFlags);
        EXPECT_TRUE(bar);
        return bar;
    }
    SoftKeyInfo Key(HWND bar, int i) {
        SoftKeyInfo info{};
        EXPECT_TRUE(SHGetSoftKeyInfo(bar, i, &info)) << "key " << i;
        return info;
    }
    static POINT Centre(const RECT& rc) { return POINT{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2}; }
    void TapKey(HWND bar, int i) {
        POINT pt = Centre(Key(bar, i).rcKey);
        Tap(bar, pt.x, pt.y);
    }
    // A soft-key key as the keyboard delivers it: to the focused window.
    static void PressKey(HWND hwndFocus, WPARAM vk, bool bRepeatDown = false) {
        PostMessageW(hwndFocus, WM_KEYDOWN, vk, 0x00000001);
        if (bRepeatDown) PostMessageW(hwndFocus, WM_KEYDOWN, vk, 0x40000001);
        PostMessageW(hwndFocus, WM_KEYUP, vk, 0xC0000001);
        PumpMessages(30);
    }
};

TEST_F(SoftKeyBarTest, LiesAlongTheBottomWithDoneLeftAndCancelRight) {
    struct Screen { int w, h, s; };
    for (Screen sc : {Screen{240, 320, 1}, Screen{480, 640, 2}, Screen{640, 480, 2}, Screen{320, 240, 1}}) {
        UseScreen(sc.w, sc.h, sc.s);
        TestOwner owner;
        HWND bar = MakeBar(owner.hwnd(), IDR_MENUBAR);
        ASSERT_TRUE(bar);
        RECT rc = WindowRectOf(bar);
        EXPECT_EQ(rc.left, 0);
        EXPECT_EQ(rc.right, sc.w);
        EXPECT_EQ(rc.top, sc.h - 26 * sc.s);
        EXPECT_EQ(rc.bottom, sc.h);
        EXPECT_TRUE(IsWindowVisible(bar));
        EXPECT_EQ(GetWindow(bar, GW_OWNER), owner.hwnd());
        EXPECT_TRUE(GetWindowLongPtrW(bar, GWL_EXSTYLE) & WS_EX_NOACTIVATE);

        SoftKeyInfo left = Key(bar, 0), right = Key(bar, 1), sip = Key(bar, 2);
        EXPECT_STREQ(left.szText, L"Done");
        EXPECT_EQ(left.uCommand, IDM_DONE);
        EXPECT_STREQ(right.szText, L"Cancel");
        EXPECT_EQ(right.uCommand, IDM_CANCEL);
        EXPECT_TRUE(left.bEnabled && right.bEnabled);
        // Left key, input-panel key, right key: side by side across the bar.
        EXPECT_EQ(left.rcKey.left, 0);
        EXPECT_EQ(left.rcKey.right, sip.rcKey.left);
        EXPECT_EQ(sip.rcKey.right, right.rcKey.left);
        EXPECT_EQ(right.rcKey.right, sc.w);
        EXPECT_EQ(left.rcKey.bottom - left.rcKey.top, 26 * sc.s);
        EXPECT_NEAR((sip.rcKey.left + sip.rcKey.right) / 2, sc.w / 2, 1);
    }
}

TEST_F(SoftKeyBarTest, DrawsLightTextOnADarkBarAndShowsThePress) {
    TestOwner owner;
    HWND bar = MakeBar(owner.hwnd(), IDR_MENUBAR, SHCMBF_HIDESIPBUTTON);
    int w = 0, h = 0;
    std::vector<DWORD> px = CaptureClient(bar, &w, &h);
    ASSERT_EQ(w, 240);
    ASSERT_EQ(h, 26);
    SoftKeyInfo left = Key(bar, 0), right = Key(bar, 1);
    EXPECT_GT(CountWhite(px, w, left.rcKey), 20);
    EXPECT_GT(CountWhite(px, w, right.rcKey), 20);
    // "Cancel" is the wider word: its text covers more columns than "Done".
    auto inkColumns = [&](const RECT& rc) {
        int n = 0;
        for (int x = rc.left; x < rc.right; ++x) n += CountWhite(px, w, RECT{x, 0, x + 1, h}) > 0;
        return n;
    };
    EXPECT_GT(inkColumns(right.rcKey), inkColumns(left.rcKey));
    DWORD calm = px[static_cast<size_t>(h / 2) * w + 2];
    EXPECT_LT(calm & 0xFF, 0x60u);
    EXPECT_LT((calm >> 16) & 0xFF, 0x60u);

    POINT pt = Centre(left.rcKey);
    SendMessageW(bar, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
    EXPECT_TRUE(Key(bar, 0).bPressed);
    px = CaptureClient(bar, &w, &h);
    EXPECT_NE(px[static_cast<size_t>(h / 2) * w + 2], calm) << "pressed key looks the same";
    EXPECT_EQ(px[static_cast<size_t>(h / 2) * w + w - 3], calm) << "the other key changed";
    SendMessageW(bar, WM_LBUTTONUP, 0, MAKELPARAM(pt.x, pt.y));
    EXPECT_FALSE(Key(bar, 0).bPressed);
    px = CaptureClient(bar, &w, &h);
    EXPECT_EQ(px[static_cast<size_t>(h / 2) * w + 2], calm);
}

TEST_F(SoftKeyBarTest, TapOnAKeySendsItsCommandToTheOwner) {
    TestOwner owner;
    HWND bar = MakeBar(owner.hwnd(), IDR_MENUBAR);
    TapKey(bar, 0);
    EXPECT_EQ(owner.Commands(), (std::vector<UINT>{IDM_DONE}));
    TapKey(bar, 1);
    EXPECT_EQ(owner.Commands(), (std::vector<UINT>{IDM_DONE, IDM_CANCEL}));
    // A tap on the far edges still belongs to the keys.
    Tap(bar, 0, 0);
    Tap(bar, 239, 25);
    EXPECT_EQ(owner.Commands(), (std::vector<UINT>{IDM_DONE, IDM_CANCEL, IDM_DONE, IDM_CANCEL}));
}

TEST_F(SoftKeyBarTest, ReleaseAwayFromThePressedKeySendsNothing) {
    TestOwner owner;
    HWND bar = MakeBar(owner.hwnd(), IDR_MENUBAR);
    POINT left = Centre(Key(bar, 0).rcKey), right = Centre(Key(bar, 1).rcKey);
    PressRelease(bar, left, right);
    PressRelease(bar, right, left);
    PressRelease(bar, left, POINT{left.x, -40});  // dragged off the bar upwards
    PressRelease(bar, Centre(Key(bar, 2).rcKey), left);
    EXPECT_TRUE(owner.Commands().empty());
    EXPECT_FALSE(Key(bar, 0).bPressed || Key(bar, 1).bPressed);
    EXPECT_NE(GetCapture(), bar);

    // Out and back onto the key before the release: that is a tap.
    SendMessageW(bar, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(left.x, left.y));
    SendMessageW(bar, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(right.x, right.y));
    EXPECT_FALSE(Key(bar, 0).bPressed);
    SendMessageW(bar, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(left.x, left.y));
    EXPECT_TRUE(Key(bar, 0).bPressed);
    SendMessageW(bar, WM_LBUTTONUP, 0, MAKELPARAM(left.x, left.y));
    EXPECT_EQ(owner.Commands(), (std::vector<UINT>{IDM_DONE}));

    // Another window takes the stylus: the press ends without a command.
    SendMessageW(bar, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(left.x, left.y));
    EXPECT_EQ(GetCapture(), bar);
    SetCapture(owner.hwnd());
    EXPECT_FALSE(Key(bar, 0).bPressed);
    SendMessageW(bar, WM_LBUTTONUP, 0, MAKELPARAM(left.x, left.y));
    ReleaseCapture();
    EXPECT_EQ(owner.Commands().size(), 1u);
}

TEST_F(SoftKeyBarTest, SoftKeyKeysF1AndF2ReachTheBarFromTheFocusedEdit) {
    TestOwner owner;
    MakeBar(owner.hwnd(), IDR_MENUBAR);
    ASSERT_EQ(GetFocus(), owner.edit());
    PressKey(owner.edit(), VK_F1);
    EXPECT_EQ(owner.Commands(), (std::vector<UINT>{IDM_DONE}));
    PressKey(owner.edit(), VK_F2, true);  // held: the repeat does not count
    EXPECT_EQ(owner.Commands(), (std::vector<UINT>{IDM_DONE, IDM_CANCEL}));
    PressKey(owner.hwnd(), VK_F1);        // the owner itself has the focus
    EXPECT_EQ(owner.Commands().size(), 3u);

    // A release whose press went elsewhere, and other keys, do nothing.
    PostMessageW(owner.edit(), WM_KEYUP, VK_F1, 0xC0000001);
    PressKey(owner.edit(), VK_F3);
    EXPECT_EQ(owner.Commands().size(), 3u);

    // The keys of a window that has no bar are its own.
    TestOwner other;
    SetFocus(other.edit());
    PressKey(other.edit(), VK_F1);
    EXPECT_EQ(owner.Commands().size(), 3u);
    EXPECT_TRUE(other.Commands().empty());
}

TEST_F(SoftKeyBarTest, EmptyBarHasNoKeysAndIgnoresTapsAndKeys) {
    TestOwner owner;
    HWND bar5 = MakeBar(owner.hwnd(), IDR_MENUBAR, SHCMBF_EMPTYBAR | SHCMBF_HIDESIPBUTTON);
    ASSERT_TRUE(bar5);
    SoftKeyInfo info{};
    for (int i = 0; i < 3; ++i) EXPECT_FALSE(SHGetSoftKeyInfo(bar5, i, &info)) << i;
    EXPECT_EQ(WindowRectOf(bar5).top, 320 - 26);
    Tap(bar5, 10, 10);
    Tap(bar5, 230, 10);
    PressKey(owner.edit(), VK_F1);
    EXPECT_TRUE(owner.Commands().empty());
    DestroyWindow(bar5);

    // No resource at all: an empty bar that still has the input-panel key.
    HWND bar0 = MakeBar(owner.hwnd(), 0, 0);
    EXPECT_FALSE(SHGetSoftKeyInfo(bar0, 0, &info));
    EXPECT_TRUE(SHGetSoftKeyInfo(bar0, 2, &info));
}

TEST_F(SoftKeyBarTest, RefusesBadRequestsWithATraceLine) {
    TraceCapture trace;
    TestOwner owner;
    EXPECT_FALSE(SHCreateMenuBar(nullptr));
    const SHMENUBARINFO good{sizeof(SHMENUBARINFO), owner.hwnd(), 0, IDR_MENUBAR, GetModuleHandleW(nullptr), 0, 0, nullptr, 0};
    auto refused = [](SHMENUBARINFO m) {
        m.hwndMB = reinterpret_cast<HWND>(1);
        return !SHCreateMenuBar(&m) && m.hwndMB == nullptr;
    };
    SHMENUBARINFO m = good;
    m.cbSize = 0;
    m.hwndMB = reinterpret_cast<HWND>(1);
    EXPECT_FALSE(SHCreateMenuBar(&m));
    m = good, m.hwndParent = nullptr;
    EXPECT_TRUE(refused(m));
    m = good, m.nToolBarId = 999;
    EXPECT_TRUE(refused(m));
    m = good, m.nToolBarId = kShortBar;
    EXPECT_TRUE(refused(m));
    m = good, m.dwFlags = SHCMBF_HMENU;
    EXPECT_TRUE(refused(m));
    EXPECT_TRUE(trace.Has(L"resource 999 not found"));
    EXPECT_TRUE(trace.Has(L"resource 951 is malformed"));

    // The device's 32-bit size is taken as well.
    m = good, m.cbSize = kCeSizeofSHMENUBARINFO;
    EXPECT_TRUE(SHCreateMenuBar(&m));
    EXPECT_TRUE(IsWindow(m.hwndMB));
}

TEST_F(SoftKeyBarTest, SeparatorsAreSkippedDisabledKeysAreInertExtraKeysLeftOut) {
    TraceCapture trace;
    TestOwner owner;
    HWND bar = MakeBar(owner.hwnd(), kOddBar);
    SoftKeyInfo left = Key(bar, 0), right = Key(bar, 1);
    EXPECT_STREQ(left.szText, L"Left");
    EXPECT_EQ(left.uCommand, 41000u);
    EXPECT_FALSE(left.bEnabled);
    EXPECT_STREQ(right.szText, L"Right");
    EXPECT_EQ(right.uCommand, 41001u);
    EXPECT_TRUE(trace.Has(L"command 41002 left out"));
    TapKey(bar, 0);
    PressKey(owner.edit(), VK_F1);
    EXPECT_TRUE(owner.Commands().empty());
    PressKey(owner.edit(), VK_F2);
    EXPECT_EQ(owner.Commands(), (std::vector<UINT>{41001}));
}

TEST_F(SoftKeyBarTest, GoesWithItsOwnerAndSurvivesAnOwnerThatQuitsOnTheCommand) {
    HWND bar = nullptr;
    {
        TestOwner owner;
        bar = MakeBar(owner.hwnd(), IDR_MENUBAR);
        ASSERT_TRUE(IsWindow(bar));
    }
    EXPECT_FALSE(IsWindow(bar));

    TestOwner owner;
    bar = MakeBar(owner.hwnd(), IDR_MENUBAR);
    owner.DestroyOn(IDM_CANCEL);
    TapKey(bar, 1);
    EXPECT_FALSE(IsWindow(bar));
    EXPECT_EQ(owner.hwnd(), nullptr);
}

TEST_F(SoftKeyBarTest, HiddenColouredAndFollowsTheScreen) {
    TestOwner owner;
    HWND hidden = MakeBar(owner.hwnd(), IDR_MENUBAR, SHCMBF_HIDDEN);
    EXPECT_FALSE(IsWindowVisible(hidden));

    SHMENUBARINFO mbi{};
    mbi.cbSize = sizeof(mbi);
    mbi.hwndParent = owner.hwnd();
    mbi.dwFlags = SHCMBF_COLORBK | SHCMBF_EMPTYBAR;
    mbi.clrBk = RGB(200, 0, 0);
    ASSERT_TRUE(SHCreateMenuBar(&mbi));
    int w = 0, h = 0;
    std::vector<DWORD> px = CaptureClient(mbi.hwndMB, &w, &h);
    EXPECT_EQ(px[static_cast<size_t>(h / 2) * w + 3], 0xC80000u);

    UseScreen(640, 480, 2);
    SendMessageW(mbi.hwndMB, WM_SETTINGCHANGE, 0, 0);
    RECT rc = WindowRectOf(mbi.hwndMB);
    EXPECT_EQ(rc.top, 480 - 52);
    EXPECT_EQ(rc.right, 640);
}

}  // namespace
