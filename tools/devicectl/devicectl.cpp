// devicectl: used by run.sh and the device tests to act on the emulated
// device as a user would, and to look at it.
//   devicectl wait-shell SECONDS    until the phone shell (status bar, knowing
//                                   the radio, and its input panel) and the
//                                   phone application are up
//   devicectl wait-screen SECONDS   until the settings screen is up: its list
//                                   shown and painted with its edit fields
//   devicectl wait-window TITLE SECONDS
//                                   until a window of that title is up and painted
//   devicectl wait-up SECONDS       until the settings screen or the power
//                                   prompt is up and painted; prints which
//                                   ("screen" or "prompt")
//   devicectl press done|cancel     the soft key, as a tap on it would
//   devicectl tap X Y               a stylus tap at that point of the screen
//   devicectl tap-field 1|2         a tap in the middle of the screen's first
//                                   (service centre) or second (voice mail) field
//   devicectl type TEXT             the characters, as the keyboard types them,
//                                   into the program's focused window
//   devicectl key NAME              a key pressed and released on the keyboard
//                                   (to whichever window has the focus): return,
//                                   escape, tab, up, down, left, right, home,
//                                   end, back, f1, f2; shift+NAME with Shift
//   devicectl wait-exit SECONDS     until the settings screen has gone
//   devicectl turn [SECONDS]        turns the screen (the shell does it, as on
//                                   the phone) and prints the new size, WxH
//   devicectl layout                prints the screen and where its windows are,
//                                   the input panel's owner (shell or program),
//                                   the shell's busy indicator and notice
// Exit status 0 on success, 1 on a time-out or a refusal, 2 on bad usage.
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr wchar_t kMainClass[] = L"QXCFMainClass";
constexpr wchar_t kTitleClass[] = L"QXCFTitleClass";
constexpr wchar_t kListClass[] = L"QXCFItemClass";
constexpr wchar_t kSoftKeyBarClass[] = L"SoftKeyBarClass";
constexpr wchar_t kSipClass[] = L"SipWndClass";
constexpr wchar_t kStatusBarClass[] = L"QXStatusBarStandIn";
constexpr wchar_t kPhoneAppClass[] = L"MSCprog";
constexpr wchar_t kBusyClass[] = L"QXShellBusy";
constexpr wchar_t kNoticeClass[] = L"QXShellNotice";
constexpr wchar_t kDialogClass[] = L"#32770";
constexpr wchar_t kAppTitle[] = L"Voice Mail and Text Messages";
constexpr UINT kCmdDone = 40000;
constexpr UINT kCmdCancel = 40001;
// The status bar's "turn the screen" message (tools/standins/statusbar.cpp).
constexpr UINT kMsgTurn = WM_APP + 1;
constexpr DWORD kPollMs = 50;

// The program runs on the device's own desktop ("Phone"), which may not
// exist yet when we start.
bool AttachToPhoneDesktop() {
    static bool attached = false;
    if (!attached) {
        if (HDESK desk = OpenDesktopW(L"Phone", 0, FALSE, GENERIC_ALL)) attached = SetThreadDesktop(desk);
    }
    return attached;
}

HWND Find(LPCWSTR cls, LPCWSTR title = nullptr) {
    return AttachToPhoneDesktop() ? FindWindowW(cls, title) : nullptr;
}

HWND MainWindow() { return Find(kMainClass); }

// Polls a condition every kPollMs for up to the given seconds.
template <typename Condition>
bool WaitUntil(int seconds, Condition done) {
    for (DWORD waited = 0; waited <= static_cast<DWORD>(seconds) * 1000; waited += kPollMs) {
        if (done()) return true;
        Sleep(kPollMs);
    }
    return false;
}

// Shown, answering its messages and with nothing left to paint. Twice in a
// row, a poll apart, so a paint that is just starting is not taken for done.
bool Painted(const std::vector<HWND>& windows) {
    if (windows.empty()) return false;
    for (HWND hwnd : windows) {
        if (!hwnd || !IsWindowVisible(hwnd) || GetUpdateRect(hwnd, nullptr, FALSE)) return false;
        DWORD_PTR result = 0;
        if (!SendMessageTimeoutW(GetAncestor(hwnd, GA_ROOT), WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 1000, &result))
            return false;
    }
    return true;
}

bool WaitPainted(int seconds, std::vector<HWND> (*windows)()) {
    int stable = 0;
    bool ok = WaitUntil(seconds, [&] {
        stable = Painted(windows()) ? stable + 1 : 0;
        return stable >= 2;
    });
    // The last picture reaches the X server when the program waits for
    // messages again; give it that moment.
    if (ok) Sleep(200);
    return ok;
}

std::vector<HWND> Children(HWND parent, LPCWSTR cls) {
    std::vector<HWND> found;
    for (HWND h = parent ? FindWindowExW(parent, nullptr, cls, nullptr) : nullptr; h;
         h = FindWindowExW(parent, h, cls, nullptr))
        found.push_back(h);
    return found;
}

// The settings screen as the user sees it: main, title and list windows,
// the list's two edit fields (made at its first paint) and the soft keys.
// Empty while any is missing, so neither the power prompt nor the screen
// during the power-on wait counts.
std::vector<HWND> SettingsScreen() {
    HWND main = MainWindow();
    std::vector<HWND> titles = Children(main, kTitleClass), lists = Children(main, kListClass);
    if (titles.size() != 1 || lists.size() != 1) return {};
    std::vector<HWND> edits = Children(lists[0], L"Edit");
    if (edits.size() != 2) return {};
    std::vector<HWND> windows = {main, titles[0], lists[0], edits[0], edits[1]};
    if (HWND bar = Find(kSoftKeyBarClass)) windows.push_back(bar);
    return windows;
}

// The power prompt: the program's dialog, shown before its main window.
std::vector<HWND> PowerPrompt() { return {Find(kDialogClass, kAppTitle)}; }

// Whichever comes first, each painted twice in a row as WaitPainted asks.
bool WaitUp(int seconds) {
    int screen = 0, prompt = 0;
    bool ok = WaitUntil(seconds, [&] {
        screen = Painted(SettingsScreen()) ? screen + 1 : 0;
        prompt = Painted(PowerPrompt()) ? prompt + 1 : 0;
        return screen >= 2 || prompt >= 2;
    });
    if (!ok) return false;
    Sleep(200);
    wprintf(L"%ls\n", screen >= 2 ? L"screen" : L"prompt");
    return true;
}

const wchar_t* g_pWantedTitle = nullptr;
std::vector<HWND> TitledWindow() { return {Find(nullptr, g_pWantedTitle)}; }

// Press and release where the stylus touches, as the window under it gets them.
bool Tap(int x, int y) {
    if (!AttachToPhoneDesktop()) return false;
    POINT pt = {x, y};
    HWND hwnd = WindowFromPoint(pt);
    if (!hwnd) return false;
    ScreenToClient(hwnd, &pt);
    LPARAM pos = MAKELPARAM(pt.x, pt.y);
    if (!PostMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, pos)) return false;
    // Long enough for the pressed look to show.
    Sleep(150);
    return PostMessageW(hwnd, WM_LBUTTONUP, 0, pos) != FALSE;
}

// The screen's edit fields, top first.
std::vector<HWND> Fields() {
    std::vector<HWND> lists = Children(MainWindow(), kListClass);
    std::vector<HWND> edits = lists.size() == 1 ? Children(lists[0], L"Edit") : std::vector<HWND>{};
    auto top = [](HWND h) {
        RECT rc{};
        GetWindowRect(h, &rc);
        return rc.top;
    };
    if (edits.size() == 2 && top(edits[1]) < top(edits[0])) std::swap(edits[0], edits[1]);
    return edits;
}

bool TapField(int n) {
    std::vector<HWND> fields = Fields();
    RECT rc{};
    if (n < 1 || static_cast<size_t>(n) > fields.size() || !GetWindowRect(fields[n - 1], &rc)) {
        fwprintf(stderr, L"devicectl: the screen has no field %d\n", n);
        return false;
    }
    return Tap((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
}

// Characters as the keyboard sends them, to the window that has the
// program's keyboard focus.
bool Type(const wchar_t* text) {
    HWND main = MainWindow();
    GUITHREADINFO gti{};
    gti.cbSize = sizeof(gti);
    if (!main || !GetGUIThreadInfo(GetWindowThreadProcessId(main, nullptr), &gti) || !gti.hwndFocus) {
        fwprintf(stderr, L"devicectl: no window of the program has the keyboard focus\n");
        return false;
    }
    for (const wchar_t* p = text; *p; ++p)
        if (!PostMessageW(gti.hwndFocus, WM_CHAR, *p, 1)) return false;
    return true;
}

bool Press(bool left) {
    // A tap on the soft key: "Done" is on the left of the bar, "Cancel" on
    // the right. Without a bar the command goes to the screen itself.
    HWND bar = Find(kSoftKeyBarClass);
    RECT rc;
    if (bar && IsWindowVisible(bar) && GetWindowRect(bar, &rc))
        return Tap(left ? rc.left + (rc.right - rc.left) / 6 : rc.right - (rc.right - rc.left) / 6,
                   (rc.top + rc.bottom) / 2);
    HWND hwnd = MainWindow();
    return hwnd && PostMessageW(hwnd, WM_COMMAND, MAKEWPARAM(left ? kCmdDone : kCmdCancel, 0), 0);
}

// The shell turns the screen and has every window follow before it answers.
bool Turn(int seconds) {
    HWND shell = Find(kStatusBarClass);
    if (!shell) {
        fwprintf(stderr, L"devicectl: no phone shell (status bar) on the device to turn the screen\n");
        return false;
    }
    DWORD_PTR size = 0;
    if (!SendMessageTimeoutW(shell, kMsgTurn, 0, 0, SMTO_ABORTIFHUNG, static_cast<UINT>(seconds) * 1000, &size) ||
        !size) {
        fwprintf(stderr, L"devicectl: the display did not turn (it offers no %dx%d)\n",
                 GetSystemMetrics(SM_CYSCREEN), GetSystemMetrics(SM_CXSCREEN));
        return false;
    }
    // The settings screen, if it is up, repaints in its new shape.
    if (MainWindow() && !WaitPainted(seconds, SettingsScreen)) return false;
    wprintf(L"%ux%u\n", LOWORD(size), HIWORD(size));
    return true;
}

// What the status bar shows of the radio ("radio on", ...), once it knows.
std::wstring RadioShown() {
    wchar_t text[32] = {};
    HWND bar = Find(kStatusBarClass);
    return bar && GetWindowTextW(bar, text, 32) > 0 ? text : L"";
}

void PrintWindow(const wchar_t* name, HWND hwnd) {
    RECT rc;
    if (!hwnd || !GetWindowRect(hwnd, &rc)) {
        wprintf(L"%ls none\n", name);
        return;
    }
    wprintf(L"%ls %ld %ld %ld %ld%ls\n", name, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top,
            IsWindowVisible(hwnd) ? L"" : L" hidden");
}

void PrintLayout() {
    AttachToPhoneDesktop();
    wprintf(L"screen %d %d\n", GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    HWND main = MainWindow();
    std::vector<HWND> titles = Children(main, kTitleClass), lists = Children(main, kListClass);
    PrintWindow(L"statusbar", Find(kStatusBarClass));
    std::wstring radio = RadioShown();
    wprintf(L"%ls\n", radio.empty() ? L"radio none" : radio.c_str());
    PrintWindow(L"main", main);
    PrintWindow(L"title", titles.empty() ? nullptr : titles[0]);
    PrintWindow(L"list", lists.empty() ? nullptr : lists[0]);
    PrintWindow(L"softkeys", Find(kSoftKeyBarClass));
    HWND sip = Find(kSipClass);
    PrintWindow(L"sip", sip);
    // Whose the panel is: the shell's (the status bar's process) on the device.
    DWORD dwSip = 0, dwShell = 0, dwProgram = 0;
    if (sip) GetWindowThreadProcessId(sip, &dwSip);
    if (HWND bar = Find(kStatusBarClass)) GetWindowThreadProcessId(bar, &dwShell);
    if (main) GetWindowThreadProcessId(main, &dwProgram);
    wprintf(L"sip owner %ls\n", !dwSip ? L"none" : dwSip == dwShell ? L"shell" : dwSip == dwProgram ? L"program" : L"other");
    PrintWindow(L"busy", Find(kBusyClass));
    HWND notice = Find(kNoticeClass);
    wchar_t text[160] = {};
    if (notice && IsWindowVisible(notice)) GetWindowTextW(notice, text, 160);
    wprintf(L"notice %ls\n", text[0] ? text : L"none");
    std::vector<HWND> fields = Fields();
    PrintWindow(L"field1", fields.size() == 2 ? fields[0] : nullptr);
    PrintWindow(L"field2", fields.size() == 2 ? fields[1] : nullptr);
}

bool ParseInt(const wchar_t* text, int* pValue) {
    wchar_t* end = nullptr;
    long v = wcstol(text, &end, 10);
    if (!*text || *end || v < 0 || v > 32767) return false;
    *pValue = static_cast<int>(v);
    return true;
}

int Usage() {
    fwprintf(stderr, L"usage: devicectl wait-shell SECONDS | wait-screen SECONDS | wait-window TITLE SECONDS | wait-up SECONDS\n"
                     L"       devicectl press done|cancel | tap X Y | tap-field 1|2 | type TEXT | key NAME\n"
                     L"       devicectl wait-exit SECONDS\n"
                     L"       devicectl turn [SECONDS] | layout\n");
    return 2;
}

// A key as the device's keyboard gives it: into the input queue, so it
// reaches the window that has the keyboard focus (or nothing, if none has).
// The exit status: 2 for a name it does not know.
int Key(const wchar_t* name) {
    static const struct {
        const wchar_t* name;
        WORD vk;
    } kKeys[] = {{L"return", VK_RETURN}, {L"escape", VK_ESCAPE}, {L"tab", VK_TAB},   {L"up", VK_UP},
                 {L"down", VK_DOWN},     {L"left", VK_LEFT},     {L"right", VK_RIGHT}, {L"home", VK_HOME},
                 {L"end", VK_END},       {L"back", VK_BACK},     {L"f1", VK_F1},       {L"f2", VK_F2}};
    const bool shift = !wcsncmp(name, L"shift+", 6);
    if (shift) name += 6;
    WORD vk = 0;
    for (const auto& k : kKeys)
        if (!wcscmp(name, k.name)) vk = k.vk;
    if (!vk) return Usage();
    if (!AttachToPhoneDesktop()) return 1;
    std::vector<INPUT> inputs;
    auto add = [&](WORD key, bool up) {
        INPUT in{};
        in.type = INPUT_KEYBOARD;
        in.ki.wVk = key;
        in.ki.wScan = static_cast<WORD>(MapVirtualKeyW(key, MAPVK_VK_TO_VSC));
        in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
        inputs.push_back(in);
    };
    if (shift) add(VK_SHIFT, false);
    add(vk, false);
    add(vk, true);
    if (shift) add(VK_SHIFT, true);
    return SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT)) == inputs.size() ? 0 : 1;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) return Usage();
    const wchar_t* cmd = argv[1];
    int a = 0, b = 0;
    if (argc == 4 && !wcscmp(cmd, L"wait-window")) {
        if (!ParseInt(argv[3], &a)) return Usage();
        g_pWantedTitle = argv[2];
        return WaitPainted(a, TitledWindow) ? 0 : 1;
    }
    if (argc == 4 && !wcscmp(cmd, L"tap")) {
        if (!ParseInt(argv[2], &a) || !ParseInt(argv[3], &b)) return Usage();
        return Tap(a, b) ? 0 : 1;
    }
    if (argc == 2 && !wcscmp(cmd, L"layout")) {
        PrintLayout();
        return 0;
    }
    if (!wcscmp(cmd, L"turn") && argc <= 3) {
        if (argc == 3 && !ParseInt(argv[2], &a)) return Usage();
        return Turn(argc == 3 ? a : 30) ? 0 : 1;
    }
    if (argc != 3) return Usage();
    if (!wcscmp(cmd, L"press")) {
        bool left = !wcscmp(argv[2], L"done");
        if (!left && wcscmp(argv[2], L"cancel")) return Usage();
        return Press(left) ? 0 : 1;
    }
    if (!wcscmp(cmd, L"type")) return Type(argv[2]) ? 0 : 1;
    if (!wcscmp(cmd, L"key")) return Key(argv[2]);
    if (!ParseInt(argv[2], &a)) return Usage();
    if (!wcscmp(cmd, L"tap-field")) return TapField(a) ? 0 : 1;
    if (!wcscmp(cmd, L"wait-up")) return WaitUp(a) ? 0 : 1;
    if (!wcscmp(cmd, L"wait-shell")) {
        if (WaitUntil(a, [] { return !RadioShown().empty() && Find(kSipClass) && Find(kPhoneAppClass); })) return 0;
        // Say which part is missing, so a slow or failed start can be told apart.
        fwprintf(stderr, L"devicectl: status bar %ls, input panel %ls, phone application %ls\n",
                 !Find(kStatusBarClass) ? L"missing" : RadioShown().empty() ? L"without the radio" : L"up",
                 Find(kSipClass) ? L"up" : L"missing", Find(kPhoneAppClass) ? L"up" : L"missing");
        return 1;
    }
    if (!wcscmp(cmd, L"wait-screen")) return WaitPainted(a, SettingsScreen) ? 0 : 1;
    if (!wcscmp(cmd, L"wait-exit")) return WaitUntil(a, [] { return AttachToPhoneDesktop() && !MainWindow(); }) ? 0 : 1;
    return Usage();
}
