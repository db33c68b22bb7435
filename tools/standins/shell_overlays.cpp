// The shell's busy indicator and notices: small top-most windows in the
// middle of the screen that never take activation.
#include "tools/standins/shell_overlays.h"

#include <cmath>

#include "platform/aygshell/shell_metrics.h"
#include "platform/aygshell/shell_window.h"
#include "platform/base/debug_out.h"
#include "platform/base/kernel.h"
#include "platform/base/message_table.h"
#include "platform/base/scoped.h"

namespace {

constexpr wchar_t kBusyClass[] = L"QXShellBusy";
constexpr wchar_t kNoticeClass[] = L"QXShellNotice";
constexpr UINT_PTR kWatchTimer = 1;
constexpr UINT_PTR kNoticeTimer = 2;
// Often enough for the wheel to turn smoothly and to show within a glance.
constexpr UINT kWatchMs = 100;
constexpr UINT kNoticeMs = 4000;
constexpr int kDots = 8;
constexpr int kBusyBase = 44;
constexpr int kNoticeBaseHeight = 44;

scoped::Kernel g_board;
LONG volatile* g_pWaiting = nullptr;  // the process whose cursor waits, or 0
scoped::Kernel g_watched;             // that process, to see it end
DWORD g_dwWatched = 0;
HWND g_hwndBusy = nullptr;
HWND g_hwndNotice = nullptr;
int g_iPhase = 0;

// A process that ended with its cursor waiting waits no more.
bool ProgramWaits() {
    const DWORD dwProcess = g_pWaiting ? static_cast<DWORD>(*g_pWaiting) : 0;
    if (!dwProcess) return false;
    if (dwProcess != g_dwWatched) {
        g_watched.reset(OpenProcess(SYNCHRONIZE, FALSE, dwProcess));
        g_dwWatched = dwProcess;
    }
    return g_watched && WaitForSingleObject(g_watched.get(), 0) == WAIT_TIMEOUT;
}

void ShowCentred(HWND hwnd, int width, int height) {
    RECT screen = ScreenRect();
    SetWindowPos(hwnd, HWND_TOPMOST, (screen.right - width) / 2, (screen.bottom - height) / 2, width, height,
                 SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

// A wheel of dots, the brightest one a step further at every tick.
void PaintWheel(HDC hdc, const RECT& rc) {
    const int s = ShellScale();
    const double cx = rc.right / 2.0, cy = rc.bottom / 2.0, radius = 14.0 * s, dot = 3.0 * s;
    scoped::Brush light(CreateSolidBrush(kShellLight)), dim(CreateSolidBrush(kShellDim));
    scoped::Select pen(hdc, GetStockObject(NULL_PEN));
    for (int i = 0; i < kDots; ++i) {
        double angle = 2 * 3.14159265358979 * i / kDots;
        int x = static_cast<int>(cx + radius * std::sin(angle)), y = static_cast<int>(cy - radius * std::cos(angle));
        bool lit = (g_iPhase - i + kDots) % kDots < 2;
        scoped::Select brush(hdc, lit ? light.get() : dim.get());
        Ellipse(hdc, x - static_cast<int>(dot), y - static_cast<int>(dot), x + static_cast<int>(dot) + 1,
                y + static_cast<int>(dot) + 1);
    }
}

void PaintNotice(HWND hwnd, HDC hdc, RECT rc) {
    wchar_t text[160] = {};
    GetWindowTextW(hwnd, text, 160);
    const int s = ShellScale();
    scoped::Font font(shellwnd::CreateShellFont(12 * s, true));
    scoped::Select sel(hdc, font.get());
    SetBkMode(hdc, TRANSPARENT);
    SetTextColor(hdc, kShellLight);
    InflateRect(&rc, -6 * s, -4 * s);
    DrawTextW(hdc, text, -1, &rc, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
}

LRESULT OnOverlayPaint(HWND hwnd) {
    scoped::Paint paint(hwnd);
    RECT rc{};
    GetClientRect(hwnd, &rc);
    scoped::Brush back(CreateSolidBrush(kShellBack));
    FillRect(paint.hdc(), &rc, back.get());
    if (hwnd == g_hwndBusy)
        PaintWheel(paint.hdc(), rc);
    else
        PaintNotice(hwnd, paint.hdc(), rc);
    return 0;
}

// The busy indicator's watch, or the end of a notice.
LRESULT OnOverlayTimer(HWND hwnd) {
    if (hwnd != g_hwndBusy) {
        KillTimer(hwnd, kNoticeTimer);
        ShowWindow(hwnd, SW_HIDE);
        return 0;
    }
    if (!ProgramWaits()) {
        if (IsWindowVisible(hwnd)) ShowWindow(hwnd, SW_HIDE);
        return 0;
    }
    g_iPhase = (g_iPhase + 1) % kDots;
    // Placed at every tick, so it stays in the middle after a turn.
    ShowCentred(hwnd, kBusyBase * ShellScale(), kBusyBase * ShellScale());
    InvalidateRect(hwnd, nullptr, FALSE);
    return 0;
}

// Both overlays, each of its own class (devicectl tells them apart by it).
constexpr MessageHandler kOverlayHandlers[] = {
    Cracked<WM_PAINT, OnOverlayPaint>,
    Cracked<WM_TIMER, OnOverlayTimer>,
    Cracked<WM_ERASEBKGND, shellwnd::PaintedWhole>,
    Cracked<WM_MOUSEACTIVATE, shellwnd::NoActivate>,
};

LRESULT CALLBACK OverlayProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return DispatchMessageTable(kOverlayHandlers, hwnd, msg, wParam, lParam);
}

HWND MakeOverlay(HINSTANCE hInst, LPCWSTR cls) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = OverlayProc;
    wc.hInstance = hInst;
    wc.lpszClassName = cls;
    if (!RegisterClassW(&wc)) return nullptr;
    return CreateWindowExW(WS_EX_TOPMOST | WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW, cls, L"", WS_POPUP, 0, 0, 1, 1,
                           nullptr, nullptr, hInst, nullptr);
}

}  // namespace

bool CreateShellOverlays(HINSTANCE hInst) {
    g_board.reset(CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(LONG), kWaitCursorBoard));
    if (g_board)
        g_pWaiting = static_cast<LONG volatile*>(MapViewOfFile(g_board.get(), FILE_MAP_WRITE, 0, 0, sizeof(LONG)));
    if (!g_pWaiting) NKDbgPrintfW(L"[shell] no wait-cursor word, error=%u\r\n", GetLastError());
    g_hwndBusy = MakeOverlay(hInst, kBusyClass);
    g_hwndNotice = MakeOverlay(hInst, kNoticeClass);
    if (!g_hwndBusy || !g_hwndNotice) return false;
    SetTimer(g_hwndBusy, kWatchTimer, kWatchMs, nullptr);
    return true;
}

void ShowShellNotice(LPCWSTR pszText) {
    if (!g_hwndNotice) return;
    SetWindowTextW(g_hwndNotice, pszText);
    RECT screen = ScreenRect();
    ShowCentred(g_hwndNotice, screen.right - 24 * ShellScale(), kNoticeBaseHeight * ShellScale());
    InvalidateRect(g_hwndNotice, nullptr, FALSE);
    SetTimer(g_hwndNotice, kNoticeTimer, kNoticeMs, nullptr);
}
