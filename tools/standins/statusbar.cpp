// Stand-in for the phone's shell: the status bar, the top 26 x s pixels of
// the screen, with the radio (signal, off or flight mode), battery and the
// time, as the device shows them above every program. As the shell it also
// owns the input panel ("SipWndClass") that every program raises and types
// with, shows the busy indicator while a program's wait cursor is set, and
// turns the screen: on F9, on its private message kMsgTurn (devicectl turn),
// and after any display change it fits the full-screen windows to the new
// work area and tells every window. run.sh starts it on the emulated device;
// it ends with the device's session (or on WM_CLOSE).
#include <windows.h>

#include <cwchar>
#include <string>

#include "platform/aygshell/aygshell.h"
#include "platform/aygshell/input_panel.h"
#include "platform/aygshell/shell_metrics.h"
#include "platform/aygshell/shell_turn.h"
#include "platform/aygshell/shell_window.h"
#include "platform/base/debug_out.h"
#include "platform/base/message_table.h"
#include "platform/base/registry.h"
#include "platform/base/scoped.h"
#include "platform/modem/sim_transport.h"
#include "platform/ossvcs/phone.h"
#include "tools/standins/shell_overlays.h"

namespace {

constexpr wchar_t kClass[] = L"QXStatusBarStandIn";
constexpr UINT_PTR kClockTimer = 1;
constexpr int kTurnHotKey = 1;
// Sent by devicectl: turn the screen; answers MAKELRESULT(width, height) of
// the turned screen once every window has followed, or 0.
constexpr UINT kMsgTurn = WM_APP + 1;
// Posted after a display change that did not come from kMsgTurn.
constexpr UINT kMsgFollow = WM_APP + 2;
// Posted by the radio watcher: wParam is a RadioShown. The window's text
// then names it ("radio on", "radio off", "radio flight", "radio unknown").
constexpr UINT kMsgRadio = WM_APP + 3;
// How often the radio is asked (AT+CFUN? through the radio layer).
constexpr DWORD kRadioPollMs = 3000;

enum RadioShown : WPARAM { kRadioUnknown, kRadioOff, kRadioFlight, kRadioOn };

const COLORREF kBack = kShellBack;
const COLORREF kLight = kShellLight;
const COLORREF kDim = kShellDim;

RadioShown g_radio = kRadioUnknown;
RECT g_rcFollowed{};     // the screen the windows were last fitted to
bool g_bTurning = false;  // inside our own turn: its display change is followed there

void Fill(HDC hdc, int l, int t, int r, int b, COLORREF colour) {
    RECT rc = {l, t, r, b};
    HBRUSH brush = CreateSolidBrush(colour);
    FillRect(hdc, &rc, brush);
    DeleteObject(brush);
}

void Line(HDC hdc, int x0, int y0, int x1, int y1, int width, COLORREF colour) {
    HPEN pen = CreatePen(PS_SOLID, width, colour);
    HGDIOBJ old = SelectObject(hdc, pen);
    MoveToEx(hdc, x0, y0, nullptr);
    LineTo(hdc, x1, y1);
    SelectObject(hdc, old);
    DeleteObject(pen);
}

// Four rising bars at the left: lit with the radio on, dim otherwise; a
// cross over them with the radio off, an aeroplane beside them in flight mode.
void PaintRadio(HDC hdc, int bottom, int s) {
    for (int i = 0; i < 4; ++i) {
        int h = (5 + 4 * i) * s;
        int x = (6 + 5 * i) * s;
        Fill(hdc, x, bottom - 5 * s - h, x + 3 * s, bottom - 5 * s, g_radio == kRadioOn ? kLight : kDim);
    }
    if (g_radio == kRadioOff) {
        Line(hdc, 6 * s, 6 * s, 24 * s, bottom - 5 * s, 2 * s, kLight);
        Line(hdc, 24 * s, 6 * s, 6 * s, bottom - 5 * s, 2 * s, kLight);
    } else if (g_radio == kRadioFlight) {
        // Nose up: a fuselage, wings swept back and a small tail.
        int cx = 36 * s, top = 4 * s, tail = bottom - 4 * s;
        Fill(hdc, cx - s, top, cx + s, tail, kLight);
        for (int k = 0; k < 5 * s; ++k) {
            int y = top + 5 * s + k, half = 2 * s + k * 7 / 5;
            Fill(hdc, cx - half, y, cx + half, y + 1, kLight);
        }
        Fill(hdc, cx - 4 * s, tail - 2 * s, cx + 4 * s, tail, kLight);
    }
}

void PaintBar(HWND hwnd, HDC hdc) {
    RECT rc;
    GetClientRect(hwnd, &rc);
    const int s = ShellScale();
    Fill(hdc, 0, 0, rc.right, rc.bottom, kBack);
    PaintRadio(hdc, rc.bottom, s);

    // Battery: an outline with a nub, three quarters full, at the right.
    int bx = rc.right - 30 * s, by = 7 * s, bw = 20 * s, bh = 12 * s;
    Fill(hdc, bx, by, bx + bw, by + bh, kLight);
    Fill(hdc, bx + s, by + s, bx + bw - s, by + bh - s, kBack);
    Fill(hdc, bx + 2 * s, by + 2 * s, bx + 2 * s + (bw - 4 * s) * 3 / 4, by + bh - 2 * s, kLight);
    Fill(hdc, bx + bw, by + 4 * s, bx + bw + 2 * s, by + bh - 4 * s, kLight);

    SYSTEMTIME st;
    GetLocalTime(&st);
    wchar_t text[8];
    swprintf(text, 8, L"%d:%02d", st.wHour, st.wMinute);
    LOGFONTW lf{};
    lf.lfHeight = -14 * s;
    lf.lfWeight = FW_BOLD;
    lf.lfQuality = CLEARTYPE_QUALITY;
    lstrcpynW(lf.lfFaceName, L"Helvetica Neue OTS", LF_FACESIZE);
    HFONT font = CreateFontIndirectW(&lf);
    HGDIOBJ old = SelectObject(hdc, font);
    SetBkMode(hdc, TRANSPARENT);
    SetTextColor(hdc, kLight);
    RECT clock = {rc.right - 110 * s, 0, rc.right - 36 * s, rc.bottom};
    DrawTextW(hdc, text, -1, &clock, DT_RIGHT | DT_VCENTER | DT_SINGLELINE);
    SelectObject(hdc, old);
    DeleteObject(font);
}

// Only the built-in simulated modem may be asked from this process: a serial
// port opens for one process at a time and a modem server serves one
// connection, so asking those would take the modem from the program.
bool ModemIsBuiltIn() {
    wchar_t szPort[64] = L"";
    if (registry::ReadString(HKEY_LOCAL_MACHINE, L"Drivers\\BuiltIn\\RIL", L"Port", szPort, 64) != ERROR_SUCCESS)
        return true;
    return szPort[0] == 0 || lstrcmpiW(szPort, L"sim") == 0;
}

// The radio as the phone's own software learns it: asked of the simulated
// modem, or else the "Status" bit that the program's radio layer keeps. The
// radio layer may take seconds to answer, so this runs beside the window's thread.
RadioShown AskRadio() {
    if (ModemIsBuiltIn()) {
        DWORD dwState = 0;
        if (!GetPhoneState(&dwState)) return kRadioUnknown;
        return dwState == 0 ? kRadioOff : dwState == 1 ? kRadioFlight : kRadioOn;
    }
    DWORD dwStatus = 0;
    if (registry::ReadDWORD(HKEY_LOCAL_MACHINE, L"System\\State\\Phone", L"Status", &dwStatus) != ERROR_SUCCESS)
        return kRadioUnknown;
    return (dwStatus & 0x2) ? kRadioOff : kRadioOn;
}

DWORD WINAPI WatchRadio(LPVOID param) {
    HWND hwnd = static_cast<HWND>(param);
    for (;;) {
        RadioShown shown = AskRadio();
        if (!PostMessageW(hwnd, kMsgRadio, shown, 0)) return 0;
        Sleep(kRadioPollMs);
    }
}

// Along the top of the screen as it is now, above every program.
void PlaceBar(HWND hwnd) {
    RECT rc = ScreenRect();
    SetWindowPos(hwnd, HWND_TOPMOST, 0, 0, rc.right, SHGetBarHeight(), SWP_NOACTIVATE);
}

void Follow(HWND hwnd) {
    RECT rcOld = g_rcFollowed;
    g_rcFollowed = ScreenRect();
    PlaceBar(hwnd);
    FollowScreenTurn(rcOld, 0);
}

LRESULT OnPaint(HWND hwnd) {
    PAINTSTRUCT ps;
    HDC hdc = BeginPaint(hwnd, &ps);
    PaintBar(hwnd, hdc);
    EndPaint(hwnd, &ps);
    return 0;
}

LRESULT OnTimer(HWND hwnd) {
    InvalidateRect(hwnd, nullptr, FALSE);
    return 0;
}

// The window's text says what it shows, for devicectl and the tests.
LRESULT OnRadio(HWND hwnd, UINT, WPARAM wParam, LPARAM) {
    static const wchar_t* const kTexts[] = {L"radio unknown", L"radio off", L"radio flight", L"radio on"};
    if (wParam > kRadioOn) return 0;
    wchar_t text[32] = {};
    GetWindowTextW(hwnd, text, 32);
    if (wParam != g_radio || !text[0]) {
        g_radio = static_cast<RadioShown>(wParam);
        SetWindowTextW(hwnd, kTexts[wParam]);
        InvalidateRect(hwnd, nullptr, FALSE);
    }
    return 0;
}

// Wine's virtual desktop offers its "Default" size besides the display's own
// sizes, but a process reads it once, as it starts. So each turn names the
// turned size there and is then asked of a new process of ours
// (--turn-display): any display turns both ways.
void OfferTurnedSize() {
    RECT rc = ScreenRect();
    wchar_t size[32];
    swprintf(size, 32, L"%ldx%ld", rc.bottom, rc.right);
    registry::Key key;
    if (key.Create(HKEY_CURRENT_USER, L"Software\\Wine\\Explorer\\Desktops", registry::kReadWrite) == ERROR_SUCCESS)
        key.SetString(L"Default", size);
}

LONG TurnDisplayInNewProcess() {
    OfferTurnedSize();
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring cmd = L"\"" + std::wstring(self) + L"\" --turn-display";
    STARTUPINFOW si{};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(self, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return DISP_CHANGE_FAILED;
    scoped::Kernel process(pi.hProcess), thread(pi.hThread);
    // The display change is sent to this thread's windows too: answer meanwhile.
    while (MsgWaitForMultipleObjects(1, &pi.hProcess, FALSE, 30000, QS_ALLINPUT) == WAIT_OBJECT_0 + 1) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    }
    DWORD code = static_cast<DWORD>(DISP_CHANGE_FAILED);
    GetExitCodeProcess(pi.hProcess, &code);
    return static_cast<LONG>(code);
}

LRESULT OnTurn(HWND hwnd) {
    if (g_bTurning) return 0;
    g_bTurning = true;
    LONG result = TurnDisplayInNewProcess();
    g_bTurning = false;
    if (result != DISP_CHANGE_SUCCESSFUL) {
        // The phone's user sees why nothing turned, not only shell.log.
        RECT rc = ScreenRect();
        wchar_t text[96];
        swprintf(text, 96, L"Cannot turn to %ld x %ld", rc.bottom, rc.right);
        ShowShellNotice(text);
        return 0;
    }
    Follow(hwnd);
    return MAKELRESULT(g_rcFollowed.right, g_rcFollowed.bottom);
}

LRESULT OnHotKey(HWND hwnd, int id) {
    if (id == kTurnHotKey) OnTurn(hwnd);
    return 0;
}

LRESULT OnDisplayChange(HWND hwnd) {
    if (!g_bTurning) PostMessageW(hwnd, kMsgFollow, 0, 0);
    return 0;
}

LRESULT OnFollow(HWND hwnd) {
    Follow(hwnd);
    return 0;
}

LRESULT OnDestroy(HWND) {
    PostQuitMessage(0);
    return 0;
}

constexpr MessageHandler kBarHandlers[] = {
    Cracked<WM_PAINT, OnPaint>,
    Cracked<WM_TIMER, OnTimer>,
    {kMsgRadio, OnRadio},
    Cracked<kMsgTurn, OnTurn>,
    Cracked<WM_HOTKEY, OnHotKey>,
    Cracked<WM_DISPLAYCHANGE, OnDisplayChange>,
    Cracked<kMsgFollow, OnFollow>,
    Cracked<WM_MOUSEACTIVATE, shellwnd::NoActivate>,
    Cracked<WM_DESTROY, OnDestroy>,
};

LRESULT CALLBACK BarProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return DispatchMessageTable(kBarHandlers, hwnd, msg, wParam, lParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE hInst, HINSTANCE, LPWSTR cmdLine, int) {
    if (cmdLine && wcsstr(cmdLine, L"--turn-display")) return static_cast<int>(TurnScreen());
    RegisterSimModem();  // the phone state comes from the device's modem
    WNDCLASSW wc{};
    wc.style = CS_HREDRAW | CS_VREDRAW;  // drawn across its width: all again after a turn
    wc.lpfnWndProc = BarProc;
    wc.hInstance = hInst;
    wc.lpszClassName = kClass;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    if (!RegisterClassW(&wc)) return 1;
    g_rcFollowed = ScreenRect();
    HWND hwnd = CreateWindowExW(WS_EX_TOPMOST | WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW, kClass, L"", WS_POPUP, 0, 0,
                                g_rcFollowed.right, SHGetBarHeight(), nullptr, nullptr, hInst, nullptr);
    if (!hwnd) return 1;
    SetTimer(hwnd, kClockTimer, 15000, nullptr);
    // The device's turn key; a user at the device window presses it.
    if (!RegisterHotKey(hwnd, kTurnHotKey, MOD_NOREPEAT, VK_F9)) RegisterHotKey(hwnd, kTurnHotKey, 0, VK_F9);
    if (HANDLE watcher = CreateThread(nullptr, 0, WatchRadio, hwnd, 0, nullptr)) CloseHandle(watcher);
    ShowWindow(hwnd, SW_SHOWNOACTIVATE);
    // The device's input panel and overlays belong to the shell, made hidden.
    if (!HostShellInputPanel()) NKDbgPrintfW(L"[shell] the input panel could not be made\r\n");
    if (!CreateShellOverlays(hInst)) NKDbgPrintfW(L"[shell] the busy indicator could not be made\r\n");
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
    return 0;
}
