// devicectl: used by run.sh to act on the emulated device as a user would.
//   devicectl wait-screen SECONDS   until the settings screen is up and painted
//   devicectl press done|cancel     the soft key, as a tap on it would
//   devicectl wait-exit SECONDS     until the settings screen has gone
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

int Usage() {
    fwprintf(stderr, L"usage: devicectl wait-screen SECONDS | press done|cancel | wait-exit SECONDS\n");
    return 2;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 3) return Usage();
    if (!wcscmp(argv[1], L"wait-screen")) {
        if (!WaitFor(true, _wtoi(argv[2]))) return 1;
        // Let the first paints of the three windows finish.
        Sleep(1500);
        return 0;
    }
    if (!wcscmp(argv[1], L"wait-exit")) return WaitFor(false, _wtoi(argv[2])) ? 0 : 1;
    if (!wcscmp(argv[1], L"press")) {
        UINT cmd = !wcscmp(argv[2], L"done") ? kCmdDone : !wcscmp(argv[2], L"cancel") ? kCmdCancel : 0;
        HWND hwnd = MainWindow();
        if (!cmd) return Usage();
        if (!hwnd) return 1;
        PostMessageW(hwnd, WM_COMMAND, MAKEWPARAM(cmd, 0), 0);
        return 0;
    }
    return Usage();
}
