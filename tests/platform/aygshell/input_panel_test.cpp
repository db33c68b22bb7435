// The input panel: raised above the soft-key bar and lowered, its key area
// and private message, typing into the focused edit control.
#include <gtest/gtest.h>

#include "platform/aygshell/aygshell.h"
#include "platform/aygshell/input_panel.h"
#include "res/resource.h"
#include "tests/platform/aygshell/shell_fixture.h"
#include "tests/support/scratch.h"

namespace {

// Key positions in the 4 x 4 key area.
enum SipKeyIndex { k1 = 0, k2 = 1, k3 = 2, kBack = 3, k4 = 4, kPlus = 7, k7 = 8, kP = 11, kStar = 12, k0 = 13,
                   kHash = 14, kHide = 15 };

class InputPanelTest : public ShellTest {
protected:
    void TearDown() override {
        SHSipPreference(nullptr, SIP_FORCEDOWN);
        if (HWND keys = KeyArea()) SendMessageW(keys, kSipMsgSetLayout, kSipLayoutPhone, 0);
        ShellTest::TearDown();
    }
    static HWND Panel() { return FindWindowW(L"SipWndClass", nullptr); }
    static HWND KeyArea() { return Panel() ? GetWindow(Panel(), GW_CHILD) : nullptr; }
    static void TapSipKey(int index) {
        HWND keys = KeyArea();
        RECT rc{};
        GetClientRect(keys, &rc);
        int col = index % 4, row = index / 4;
        Tap(keys, rc.right * (2 * col + 1) / 8, rc.bottom * (2 * row + 1) / 8);
        PumpMessages(10);
    }
    static void TypeKeys(std::initializer_list<int> keys) {
        for (int k : keys) TapSipKey(k);
    }
};

TEST_F(InputPanelTest, RaisedJustAboveTheSoftKeyBarAndLowered) {
    struct Screen { int w, h, s; };
    for (Screen sc : {Screen{240, 320, 1}, Screen{480, 640, 2}, Screen{640, 480, 2}}) {
        UseScreen(sc.w, sc.h, sc.s);
        ASSERT_TRUE(SHSipPreference(nullptr, SIP_UP));
        HWND panel = Panel();
        ASSERT_TRUE(panel);
        EXPECT_TRUE(IsWindowVisible(panel));
        EXPECT_TRUE(SHSipIsUp());
        RECT rc = WindowRectOf(panel);
        EXPECT_EQ(rc.left, 0);
        EXPECT_EQ(rc.right, sc.w);
        EXPECT_EQ(rc.bottom, sc.h - 26 * sc.s);
        EXPECT_EQ(rc.bottom - rc.top, 80 * sc.s);
        LONG_PTR ex = GetWindowLongPtrW(panel, GWL_EXSTYLE);
        EXPECT_TRUE(ex & WS_EX_NOACTIVATE);
        EXPECT_TRUE(ex & WS_EX_TOPMOST);
        EXPECT_EQ(SendMessageW(KeyArea(), WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(panel),
                               MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN)),
                  MA_NOACTIVATE);

        EXPECT_TRUE(SHSipPreference(nullptr, SIP_UNCHANGED));
        EXPECT_TRUE(IsWindowVisible(panel));
        EXPECT_TRUE(SHSipPreference(nullptr, SIP_FORCEDOWN));
        EXPECT_FALSE(IsWindowVisible(panel));
        EXPECT_TRUE(SHSipPreference(nullptr, SIP_UP));
        EXPECT_TRUE(SHSipPreference(nullptr, SIP_DOWN));
        EXPECT_FALSE(SHSipIsUp());
    }
    TraceCapture trace;
    EXPECT_FALSE(SHSipPreference(nullptr, static_cast<SIPSTATE>(9)));
    EXPECT_TRUE(trace.Has(L"state 9 not supported"));
}

// What the panel covers, and the thread's windows told once per change.
TEST_F(InputPanelTest, ToldWhereItIsAndEveryWindowOfTheThreadHearsItGoUpAndDown) {
    UseScreen(640, 480, 2);
    TestOwner owner;
    SIPINFO si{};
    si.cbSize = sizeof(si);
    ASSERT_TRUE(SHSipInfo(SPI_GETSIPINFO, 0, &si, 0));
    EXPECT_EQ(si.fdwFlags, static_cast<DWORD>(SIPF_OFF));
    EXPECT_EQ(si.rcVisibleDesktop.bottom, 480 - 52);

    SHSipPreference(nullptr, SIP_UP);
    SHSipPreference(nullptr, SIP_UP);  // already up: no news
    ASSERT_TRUE(SHSipInfo(SPI_GETSIPINFO, 0, &si, 0));
    EXPECT_EQ(si.fdwFlags, static_cast<DWORD>(SIPF_ON));
    const RECT panel = WindowRectOf(Panel());
    EXPECT_TRUE(EqualRect(&si.rcSipRect, &panel));
    EXPECT_EQ(si.rcVisibleDesktop.top, 52);
    EXPECT_EQ(si.rcVisibleDesktop.bottom, 480 - 52 - 160);
    TapSipKey(kHide);
    SHSipPreference(nullptr, SIP_FORCEDOWN);  // already down
    EXPECT_EQ(owner.SettingChanges(), (std::vector<WPARAM>{SPI_SETSIPINFO, SPI_SETSIPINFO}));

    si.cbSize = 8;
    EXPECT_FALSE(SHSipInfo(SPI_GETSIPINFO, 0, &si, 0));
    si.cbSize = sizeof(si);
    EXPECT_FALSE(SHSipInfo(SPI_SETSIPINFO, 0, &si, 0));
}

TEST_F(InputPanelTest, ExistsWithTheFirstSoftKeyBarSoItsFirstChildCanBeAddressed) {
    TestOwner owner;
    SHMENUBARINFO mbi{};
    mbi.cbSize = sizeof(mbi);
    mbi.hwndParent = owner.hwnd();
    mbi.dwFlags = SHCMBF_EMPTYBAR | SHCMBF_HIDESIPBUTTON;
    ASSERT_TRUE(SHCreateMenuBar(&mbi));
    ASSERT_TRUE(Panel());
    EXPECT_FALSE(IsWindowVisible(Panel()));
    HWND keys = KeyArea();
    ASSERT_TRUE(keys);
    EXPECT_EQ(SendMessageW(keys, kSipMsgSetLayout, kSipLayoutPhone, 0), 0);
    EXPECT_EQ(SendMessageW(keys, kSipMsgSetLayout, kSipLayoutDigits, 0), 0);
    TraceCapture trace;
    EXPECT_EQ(SendMessageW(keys, kSipMsgSetLayout, 77, 0), 0);
    EXPECT_TRUE(trace.Has(L"layout 77 unknown"));
}

TEST_F(InputPanelTest, KeysTypeIntoTheFocusedEditAndBackspaceRemoves) {
    TestOwner owner;
    ASSERT_TRUE(SHSipPreference(nullptr, SIP_UP));
    ASSERT_EQ(GetFocus(), owner.edit());
    TypeKeys({k1, k2, kPlus});
    EXPECT_EQ(owner.EditText(), L"12+");
    TypeKeys({kBack});
    EXPECT_EQ(owner.EditText(), L"12");
    TypeKeys({kP, kHash, kStar, k0, k3, k4, k7});
    EXPECT_EQ(owner.EditText(), L"12p#*0347");
    EXPECT_EQ(GetFocus(), owner.edit());

    // A press that leaves the key before the release types nothing.
    HWND keys = KeyArea();
    RECT rc{};
    GetClientRect(keys, &rc);
    PressRelease(keys, POINT{rc.right / 8, rc.bottom / 8}, POINT{rc.right * 7 / 8, rc.bottom * 7 / 8});
    PumpMessages(10);
    EXPECT_EQ(owner.EditText(), L"12p#*0347");
    EXPECT_TRUE(SHSipIsUp()) << "released on the hide key after pressing 1";
}

TEST_F(InputPanelTest, DigitsLayoutLeavesOnlyDigitsAndBackspace) {
    TestOwner owner;
    ASSERT_TRUE(SHSipPreference(nullptr, SIP_UP));
    SendMessageW(KeyArea(), kSipMsgSetLayout, kSipLayoutDigits, 0);
    TypeKeys({kPlus, kP, kStar, kHash, k7, k0, kBack});
    EXPECT_EQ(owner.EditText(), L"7");
    SendMessageW(KeyArea(), kSipMsgSetLayout, kSipLayoutPhone, 0);
    TypeKeys({kPlus});
    EXPECT_EQ(owner.EditText(), L"7+");
}

TEST_F(InputPanelTest, HideKeyLowersThePanel) {
    TestOwner owner;
    ASSERT_TRUE(SHSipPreference(nullptr, SIP_UP));
    TapSipKey(kHide);
    EXPECT_FALSE(SHSipIsUp());
    EXPECT_EQ(owner.EditText(), L"");
}

TEST_F(InputPanelTest, WithoutFocusTheKeyIsDroppedWithATraceLine) {
    TestOwner owner;
    ASSERT_TRUE(SHSipPreference(nullptr, SIP_UP));
    SetFocus(nullptr);
    TraceCapture trace;
    TapSipKey(k1);
    EXPECT_TRUE(trace.Has(L"no window has the focus"));
    EXPECT_EQ(owner.EditText(), L"");
}

TEST_F(InputPanelTest, TheBarsInputPanelKeyRaisesAndLowersIt) {
    TestOwner owner;
    HWND bar = MakeSoftKeyBar(owner.hwnd(), IDR_MENUBAR);
    ASSERT_TRUE(bar);
    SoftKeyInfo sip{};
    ASSERT_TRUE(SHGetSoftKeyInfo(bar, 2, &sip));
    int x = (sip.rcKey.left + sip.rcKey.right) / 2;
    Tap(bar, x, 10);
    EXPECT_TRUE(SHSipIsUp());
    TypeKeys({k4});
    EXPECT_EQ(owner.EditText(), L"4");
    Tap(bar, x, 10);
    EXPECT_FALSE(SHSipIsUp());
    EXPECT_TRUE(owner.Commands().empty());
}

}  // namespace

namespace {

// The shell's side of the test below: hosts the panel on a desktop of the
// test's own (no other test process sees it there) and answers until told
// to quit.
struct ShellThread {
    HDESK desk;
    HANDLE ready;
    HWND panel = nullptr;
};

DWORD WINAPI RunShell(LPVOID param) {
    auto* shell = static_cast<ShellThread*>(param);
    SetThreadDesktop(shell->desk);
    shell->panel = HostShellInputPanel();
    SetEvent(shell->ready);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
    if (shell->panel) DestroyWindow(shell->panel);
    return 0;
}

struct ProgramThread {
    HDESK desk;
};

}  // namespace

// Another thread's panel marked as the shell's, as the status bar's is in
// its own process: this thread's calls ask it by message, never make one of
// their own, hear it go up and down, and its keys type here.
TEST_F(InputPanelTest, TheShellsPanelIsAskedAcrossThreadsAndTypesForTheAskingOne) {
    if (HWND own = EnsureInputPanel()) DestroyWindow(own);  // the shell's must be the process's one
    ShellThread shell{CreateDesktopW(L"QXSipTest", nullptr, nullptr, 0, GENERIC_ALL, nullptr),
                      CreateEventW(nullptr, TRUE, FALSE, nullptr)};
    ASSERT_TRUE(shell.desk);
    HANDLE hShell = CreateThread(nullptr, 0, RunShell, &shell, 0, nullptr);
    ASSERT_EQ(WaitForSingleObject(shell.ready, 10000), WAIT_OBJECT_0);
    ASSERT_TRUE(shell.panel);

    ProgramThread program{shell.desk};
    HANDLE hProgram = CreateThread(nullptr, 0, [](LPVOID param) -> DWORD {
        auto* p = static_cast<ProgramThread*>(param);
        SetThreadDesktop(p->desk);
        TestOwner owner;
        EXPECT_TRUE(SHSipPreference(nullptr, SIP_UP));
        EXPECT_TRUE(SHSipIsUp());
        EXPECT_EQ(owner.SettingChanges(), (std::vector<WPARAM>{SPI_SETSIPINFO}));
        TypeKeys({k1, kPlus, k7});
        EXPECT_EQ(owner.EditText(), L"1+7");
        HWND hwndPanel = SHSipSetLayout(kSipLayoutDigits);
        TypeKeys({kPlus, k0});
        EXPECT_EQ(owner.EditText(), L"1+70") << "+ is inert in the digits layout";
        SHSipSetLayout(kSipLayoutPhone);
        TapSipKey(kHide);
        EXPECT_FALSE(SHSipIsUp());
        EXPECT_EQ(owner.SettingChanges(), (std::vector<WPARAM>{SPI_SETSIPINFO, SPI_SETSIPINFO}));
        int panels = 0;
        for (HWND h = FindWindowExW(nullptr, nullptr, L"SipWndClass", nullptr); h;
             h = FindWindowExW(nullptr, h, L"SipWndClass", nullptr))
            ++panels;
        EXPECT_EQ(panels, 1) << "the program made a panel of its own";
        return hwndPanel != nullptr && GetWindowThreadProcessId(hwndPanel, nullptr) != GetCurrentThreadId();
    }, &program, 0, nullptr);
    EXPECT_EQ(WaitForSingleObject(hProgram, 30000), WAIT_OBJECT_0);
    DWORD addressedShell = 0;
    GetExitCodeThread(hProgram, &addressedShell);
    EXPECT_EQ(addressedShell, 1u) << "SHSipSetLayout did not address the shell's panel";

    PostThreadMessageW(GetThreadId(hShell), WM_QUIT, 0, 0);
    WaitForSingleObject(hShell, 10000);
    for (HANDLE h : {hShell, hProgram, shell.ready}) CloseHandle(h);
    CloseDesktop(shell.desk);
}
