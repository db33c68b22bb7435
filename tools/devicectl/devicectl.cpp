// devicectl: used by run.sh to act on the emulated device as a user would.
//   devicectl wait-screen SECONDS   until the settings screen is up and painted
//   devicectl press done|cancel     the soft key, as a tap on it would
//   devicectl wait-exit SECONDS     until the settings screen has gone
//   devicectl wait-window TITLE SECONDS
//                                   until a window of that title is up and painted
//   devicectl tap X Y               a stylus tap at that point of the screen
// Exit status 0 on success, 1 on a time-out, 2 on bad usage.
#include <windows.h>

#include <cwchar>
#include <cstdio>

namespace {

constexpr wchar_t kMainClass[] = L"QXCFMainClass";
constexpr UINT kCmdDone = 40000;
constexpr UINT kCmdCancel = 40001;

// The program runs on the device's own desktop ("Phone"), which may not
// exist yet when we start.
bool AttachToPhoneDesktop() {
    static bool attached = false;
    if (!attached) {
        if (HDESK desk = OpenDesktopW(L"Phone", 0, FALSE, GENERIC_ALL)) attached = SetThreadDesktop(desk);
    }
    return attached;
}

HWND MainWindow() { return AttachToPhoneDesktop() ? FindWindowW(kMainClass, nullptr) : nullptr; }

bool WaitFor(bool wantWindow, int seconds) {
    for (int i = 0; i < seconds * 20; ++i) {
        HWND hwnd = MainWindow();
        bool gone = AttachToPhoneDesktop() && !hwnd;
        if (wantWindow ? (hwnd && IsWindowVisible(hwnd)) : gone) return true;
        Sleep(50);
    }
    return false;
}

// Any top-level window of that title, shown (the settings screen's prompt
// appears before its main window, under the same title).
bool WaitForWindow(LPCWSTR title, int seconds) {
    for (int i = 0; i < seconds * 20; ++i) {
        if (AttachToPhoneDesktop()) {
            HWND hwnd = FindWindowW(nullptr, title);
            if (hwnd && IsWindowVisible(hwnd)) return true;
        }
        Sleep(50);
    }
    return false;
}

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

bool ParseInt(const wchar_t* text, int* pValue) {
    wchar_t* end = nullptr;
    long v = wcstol(text, &end, 10);
    if (!*text || *end || v < 0 || v > 32767) return false;
    *pValue = static_cast<int>(v);
    return true;
}

int Usage() {
    fwprintf(stderr, L"usage: devicectl wait-screen SECONDS | press done|cancel | wait-exit SECONDS\n"
                     L"       devicectl wait-window TITLE SECONDS | tap X Y\n");
    return 2;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc == 4 && !wcscmp(argv[1], L"wait-window")) {
        int seconds = 0;
        if (!ParseInt(argv[3], &seconds)) return Usage();
        if (!WaitForWindow(argv[2], seconds)) return 1;
        // Let its first paint finish.
        Sleep(1000);
        return 0;
    }
    if (argc == 4 && !wcscmp(argv[1], L"tap")) {
        int x = 0, y = 0;
        if (!ParseInt(argv[2], &x) || !ParseInt(argv[3], &y)) return Usage();
        return Tap(x, y) ? 0 : 1;
    }
    if (argc != 3) return Usage();
    if (!wcscmp(argv[1], L"wait-screen")) {
        if (!WaitFor(true, _wtoi(argv[2]))) return 1;
        // Let the first paints of the three windows finish.
        Sleep(1500);
        return 0;
    }
    if (!wcscmp(argv[1], L"wait-exit")) return WaitFor(false, _wtoi(argv[2])) ? 0 : 1;
    if (!wcscmp(argv[1], L"press")) {
        bool left = !wcscmp(argv[2], L"done");
        if (!left && wcscmp(argv[2], L"cancel")) return Usage();
        // A tap on the soft key: "Done" is on the left of the bar, "Cancel"
        // on the right. Without a bar the command goes to the screen itself.
        HWND bar = AttachToPhoneDesktop() ? FindWindowW(L"SoftKeyBarClass", nullptr) : nullptr;
        RECT rc;
        if (bar && IsWindowVisible(bar) && GetWindowRect(bar, &rc))
            return Tap(left ? rc.left + (rc.right - rc.left) / 6 : rc.right - (rc.right - rc.left) / 6,
                       (rc.top + rc.bottom) / 2) ? 0 : 1;
        HWND hwnd = MainWindow();
        if (!hwnd) return 1;
        PostMessageW(hwnd, WM_COMMAND, MAKEWPARAM(left ? kCmdDone : kCmdCancel, 0), 0);
        return 0;
    }
    return Usage();
}
