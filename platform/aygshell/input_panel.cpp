// The input panel: a phone keypad of class "SipWndClass" above the soft-key
// bar. It never takes activation, so the edit control being typed into keeps
// the focus; its keys post characters to that focus. On the device it is the
// shell's window, in the shell's process: the calls below find it and ask it
// by message, as the phone's do; without a shell the process makes its own.
#include "platform/aygshell/input_panel.h"

#include <vector>

#include "platform/aygshell/aygshell.h"
#include "platform/aygshell/shell_metrics.h"
#include "platform/aygshell/shell_window.h"
#include "platform/base/debug_out.h"
#include "platform/base/scoped.h"

namespace {

constexpr wchar_t kKeyAreaClass[] = L"SipKeyArea";
// Marks the shell's panel, so a program never takes another program's local
// panel for it.
constexpr wchar_t kShellPanelProp[] = L"QX.ShellInputPanel";
// To the panel window: wParam a SIPSTATE (up or down), lParam the thread that
// asks, whose focus the keys type into after SIP_UP. Answers TRUE.
constexpr UINT kSipMsgPreference = WM_USER + 0x60;
// How long a call waits for the panel's process.
constexpr UINT kPanelWaitMs = 5000;
constexpr int kRows = 4;
constexpr int kColumns = 4;
constexpr int kKeyBaseHeight = 20;
constexpr int kLabelBaseHeight = 12;
constexpr COLORREF kPanelColour = RGB(0x24, 0x28, 0x2E);
constexpr COLORREF kKeyColour = RGB(0x3A, 0x40, 0x48);
constexpr COLORREF kPressedColour = RGB(0x5E, 0x6C, 0x7C);
constexpr COLORREF kLabelColour = RGB(0xFF, 0xFF, 0xFF);
constexpr COLORREF kGreyedColour = RGB(0x70, 0x76, 0x7E);

enum class KeyKind { Char, Back, Hide };
struct SipKey {
    KeyKind kind;
    WCHAR ch;
    bool bPhoneOnly;  // greyed in the digits-only layout
};

constexpr SipKey kKeys[kRows * kColumns] = {
    {KeyKind::Char, L'1', false}, {KeyKind::Char, L'2', false}, {KeyKind::Char, L'3', false}, {KeyKind::Back, 0, false},
    {KeyKind::Char, L'4', false}, {KeyKind::Char, L'5', false}, {KeyKind::Char, L'6', false}, {KeyKind::Char, L'+', true},
    {KeyKind::Char, L'7', false}, {KeyKind::Char, L'8', false}, {KeyKind::Char, L'9', false}, {KeyKind::Char, L'p', true},
    {KeyKind::Char, L'*', true},  {KeyKind::Char, L'0', false}, {KeyKind::Char, L'#', true},  {KeyKind::Hide, 0, false},
};
constexpr int kKeyCount = static_cast<int>(sizeof(kKeys) / sizeof(kKeys[0]));

// This process's panel (the shell's, in the shell), owned by the thread that made it.
HWND g_hwndPanel = nullptr;
HWND g_hwndKeys = nullptr;
DWORD g_dwTargetThread = 0;  // whose focus the keys type into
WPARAM g_wLayout = kSipLayoutPhone;
int g_iPressed = -1;
bool g_bInside = false;
scoped::Surface g_surface;
SIZE g_sizeBmp{};

bool IsKeyActive(int i) { return !(g_wLayout == kSipLayoutDigits && kKeys[i].bPhoneOnly); }

RECT KeyRect(int i, int width, int height) {
    int col = i % kColumns, row = i / kColumns;
    return RECT{width * col / kColumns, height * row / kRows, width * (col + 1) / kColumns,
                height * (row + 1) / kRows};
}

void ReleaseBuffer() {
    g_surface.Release();
    g_sizeBmp = SIZE{};
}

void DrawBackGlyph(HDC hdc, const RECT& rc, int s, HBRUSH brush) {
    // An arrow pointing left: a shaft and a head of shrinking bars.
    int cx = (rc.left + rc.right) / 2, cy = (rc.top + rc.bottom) / 2;
    RECT shaft{cx - 3 * s, cy - s / 2, cx + 7 * s, cy - s / 2 + s};
    FillRect(hdc, &shaft, brush);
    for (int k = 0; k < 5 * s; ++k) {
        RECT bar{cx - 7 * s + k, cy - k, cx - 6 * s + k, cy + k + 1};
        FillRect(hdc, &bar, brush);
    }
}

void DrawHideGlyph(HDC hdc, const RECT& rc, int s, HBRUSH brush) {
    // A chevron pointing down: the panel goes down.
    int cx = (rc.left + rc.right) / 2, cy = (rc.top + rc.bottom) / 2;
    for (int k = 0; k < 5 * s; ++k) {
        RECT l{cx - 5 * s + k, cy - 2 * s + k, cx - 5 * s + k + s, cy - s + k};
        RECT r{cx + 5 * s - k - s, cy - 2 * s + k, cx + 5 * s - k, cy - s + k};
        FillRect(hdc, &l, brush);
        FillRect(hdc, &r, brush);
    }
}

// Composes the key area at its window's size.
void Compose() {
    RECT rc{};
    if (!g_hwndKeys || !GetClientRect(g_hwndKeys, &rc) || rc.right <= 0 || rc.bottom <= 0) return;
    if (!g_surface || g_sizeBmp.cx != rc.right || g_sizeBmp.cy != rc.bottom) {
        ReleaseBuffer();
        scoped::WindowDC screen(nullptr);
        if (!g_surface.Create(screen.get(), rc.right, rc.bottom)) {
            NKDbgPrintfW(L"[aygshell] input panel: no drawing surface, error=%u\r\n", GetLastError());
            ReleaseBuffer();
            return;
        }
        g_sizeBmp = SIZE{rc.right, rc.bottom};
    }
    HDC hdc = g_surface.hdc();
    int s = ShellScale();
    scoped::Brush panel(CreateSolidBrush(kPanelColour));
    scoped::Brush key(CreateSolidBrush(kKeyColour));
    scoped::Brush pressed(CreateSolidBrush(kPressedColour));
    scoped::Brush label(CreateSolidBrush(kLabelColour));
    scoped::Brush greyed(CreateSolidBrush(kGreyedColour));
    FillRect(hdc, &rc, panel.get());
    scoped::Font font(shellwnd::CreateShellFont(kLabelBaseHeight * s, true));
    scoped::Select selFont(hdc, font.get());
    SetBkMode(hdc, TRANSPARENT);
    for (int i = 0; i < kKeyCount; ++i) {
        RECT rcKey = KeyRect(i, rc.right, rc.bottom);
        InflateRect(&rcKey, -s, -s);
        FillRect(hdc, &rcKey, (g_iPressed == i && g_bInside) ? pressed.get() : key.get());
        bool bActive = IsKeyActive(i);
        switch (kKeys[i].kind) {
        case KeyKind::Char: {
            WCHAR text[2] = {kKeys[i].ch, 0};
            SetTextColor(hdc, bActive ? kLabelColour : kGreyedColour);
            DrawTextW(hdc, text, 1, &rcKey, DT_SINGLELINE | DT_CENTER | DT_VCENTER | DT_NOPREFIX);
            break;
        }
        case KeyKind::Back:
            DrawBackGlyph(hdc, rcKey, s, label.get());
            break;
        case KeyKind::Hide:
            DrawHideGlyph(hdc, rcKey, s, label.get());
            break;
        }
    }
}

void Redraw() {
    Compose();
    if (g_hwndKeys) InvalidateRect(g_hwndKeys, nullptr, FALSE);
}

void CopyTo(HDC hdc) {
    if (!g_surface) Compose();
    if (g_surface) BitBlt(hdc, 0, 0, g_sizeBmp.cx, g_sizeBmp.cy, g_surface.hdc(), 0, 0, SRCCOPY);
}

int HitKey(POINT pt) {
    RECT rc{};
    GetClientRect(g_hwndKeys, &rc);
    for (int i = 0; i < kKeyCount; ++i) {
        RECT rcKey = KeyRect(i, rc.right, rc.bottom);
        if (PtInRect(&rcKey, pt)) return IsKeyActive(i) ? i : -1;
    }
    return -1;
}

// Types one key into the focus of the thread the panel serves. Posted, as
// the keyboard's own characters are.
void RunKey(int i) {
    if (kKeys[i].kind == KeyKind::Hide) {
        SHSipPreference(nullptr, SIP_FORCEDOWN);
        return;
    }
    GUITHREADINFO gti{};
    gti.cbSize = sizeof(gti);
    if (!g_dwTargetThread || !GetGUIThreadInfo(g_dwTargetThread, &gti) || !gti.hwndFocus) {
        NKDbgPrintfW(L"[aygshell] input panel: no window has the focus; key dropped\r\n");
        return;
    }
    WCHAR ch = kKeys[i].kind == KeyKind::Back ? static_cast<WCHAR>(VK_BACK) : kKeys[i].ch;
    PostMessageW(gti.hwndFocus, WM_CHAR, ch, 1);
}

LRESULT OnKeysPaint(HWND hwnd) {
    scoped::Paint paint(hwnd);
    CopyTo(paint.hdc());
    return 0;
}

LRESULT OnKeysPrintClient(HWND, HDC hdc) {
    CopyTo(hdc);
    return 0;
}

LRESULT OnKeysSize(HWND) {
    Redraw();
    return 0;
}

LRESULT OnKeysLButtonDown(HWND hwnd, POINT pt) {
    int i = HitKey(pt);
    if (i < 0) return 0;
    g_iPressed = i;
    g_bInside = true;
    SetCapture(hwnd);
    Redraw();
    return 0;
}

LRESULT OnKeysMouseMove(HWND hwnd, POINT pt) {
    if (g_iPressed < 0) return 0;
    RECT rc{};
    GetClientRect(hwnd, &rc);
    RECT rcKey = KeyRect(g_iPressed, rc.right, rc.bottom);
    bool bInside = PtInRect(&rcKey, pt) != 0;
    if (bInside != g_bInside) {
        g_bInside = bInside;
        Redraw();
    }
    return 0;
}

LRESULT OnKeysLButtonUp(HWND hwnd, POINT pt) {
    if (g_iPressed < 0) return 0;
    int i = g_iPressed;
    RECT rc{};
    GetClientRect(hwnd, &rc);
    RECT rcKey = KeyRect(i, rc.right, rc.bottom);
    bool bInside = PtInRect(&rcKey, pt) != 0;
    g_iPressed = -1;
    g_bInside = false;
    ReleaseCapture();
    Redraw();
    if (bInside) RunKey(i);
    return 0;
}

LRESULT OnKeysCaptureChanged(HWND hwnd, HWND hwndNew) {
    if (g_iPressed >= 0 && hwndNew != hwnd) {
        g_iPressed = -1;
        g_bInside = false;
        Redraw();
    }
    return 0;
}

// The private message: wParam is the layout.
LRESULT OnSetLayout(HWND, UINT, WPARAM wParam, LPARAM) {
    if (wParam != kSipLayoutPhone && wParam != kSipLayoutDigits) {
        NKDbgPrintfW(L"[aygshell] input panel: layout %u unknown, kept\r\n", static_cast<UINT>(wParam));
        return 0;
    }
    if (g_wLayout != wParam) {
        g_wLayout = wParam;
        Redraw();
    }
    return 0;
}

LRESULT OnKeysNcDestroy(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    ReleaseBuffer();
    g_hwndKeys = nullptr;
    g_iPressed = -1;
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

constexpr MessageHandler kKeyHandlers[] = {
    Cracked<WM_PAINT, OnKeysPaint>,
    Cracked<WM_PRINTCLIENT, OnKeysPrintClient>,
    Cracked<WM_ERASEBKGND, shellwnd::PaintedWhole>,
    Cracked<WM_SIZE, OnKeysSize>,
    Cracked<WM_MOUSEACTIVATE, shellwnd::NoActivate>,
    Cracked<WM_LBUTTONDOWN, OnKeysLButtonDown>,
    Cracked<WM_MOUSEMOVE, OnKeysMouseMove>,
    Cracked<WM_LBUTTONUP, OnKeysLButtonUp>,
    Cracked<WM_CAPTURECHANGED, OnKeysCaptureChanged>,
    {kSipMsgSetLayout, OnSetLayout},
    {WM_NCDESTROY, OnKeysNcDestroy},
};

LRESULT CALLBACK KeyAreaProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return DispatchMessageTable(kKeyHandlers, hwnd, msg, wParam, lParam);
}

LRESULT OnPanelSize(HWND hwnd) {
    RECT rc{};
    GetClientRect(hwnd, &rc);
    if (HWND hwndKeys = GetWindow(hwnd, GW_CHILD))
        SetWindowPos(hwndKeys, nullptr, 0, 0, rc.right, rc.bottom, SWP_NOZORDER | SWP_NOACTIVATE);
    return 0;
}

LRESULT OnPanelScreenChange(HWND hwnd) {
    if (IsWindowVisible(hwnd)) PlaceInputPanel();
    return 0;
}

BOOL CALLBACK CollectWindow(HWND hwnd, LPARAM lParam) {
    reinterpret_cast<std::vector<HWND>*>(lParam)->push_back(hwnd);
    return TRUE;
}

// The panel went up or down: the windows of the thread it types for hear it
// as the device's programs do, so they can give the field being typed room.
// One at a time, and never held up for long by a program that does not answer.
void NotifyPanelChange(DWORD dwAsking) {
    std::vector<HWND> windows;
    EnumThreadWindows(g_dwTargetThread ? g_dwTargetThread : dwAsking, CollectWindow,
                      reinterpret_cast<LPARAM>(&windows));
    for (HWND hwnd : windows) {
        DWORD_PTR result = 0;
        if (hwnd != g_hwndPanel && IsWindow(hwnd))
            SendMessageTimeoutW(hwnd, WM_SETTINGCHANGE, SPI_SETSIPINFO, 0, SMTO_NORMAL | SMTO_ABORTIFHUNG,
                                kPanelWaitMs, &result);
    }
}

// A program's SHSipPreference, from this process or another.
LRESULT OnPreference(HWND hwnd, UINT, WPARAM wParam, LPARAM lParam) {
    const DWORD dwAsking = static_cast<DWORD>(lParam);
    const bool bWasUp = IsWindowVisible(hwnd) != FALSE;
    if (wParam == SIP_UP) {
        g_dwTargetThread = dwAsking;
        PlaceInputPanel();
        // Already up, it may lie under the window just activated on the X
        // server though Win32 has it on top: stepping out of the top-most
        // band and back restacks it there too.
        if (bWasUp) SetWindowPos(hwnd, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        SetWindowPos(hwnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
        if (!bWasUp) NotifyPanelChange(dwAsking);
    } else if (bWasUp) {
        ShowWindow(hwnd, SW_HIDE);
        NotifyPanelChange(dwAsking);
    }
    return TRUE;
}

LRESULT OnPanelNcDestroy(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    g_hwndPanel = nullptr;
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

constexpr MessageHandler kPanelHandlers[] = {
    Cracked<WM_SIZE, OnPanelSize>,
    Cracked<WM_ERASEBKGND, shellwnd::PaintedWhole>,
    Cracked<WM_MOUSEACTIVATE, shellwnd::NoActivate>,
    Cracked<WM_SETTINGCHANGE, OnPanelScreenChange>,
    Cracked<WM_DISPLAYCHANGE, OnPanelScreenChange>,
    {kSipMsgPreference, OnPreference},
    {WM_NCDESTROY, OnPanelNcDestroy},
};

LRESULT CALLBACK PanelProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return DispatchMessageTable(kPanelHandlers, hwnd, msg, wParam, lParam);
}

RECT PanelRect() {
    RECT screen = ScreenRect();
    int height = kRows * kKeyBaseHeight * ShellScale();
    int bottom = screen.bottom - SHGetBarHeight();
    int top = bottom - height < 0 ? 0 : bottom - height;
    return RECT{0, top, screen.right, bottom};
}


// The shell's panel on this desktop, when a shell runs.
HWND ShellPanel() {
    for (HWND h = FindWindowExW(nullptr, nullptr, kSipClass, nullptr); h; h = FindWindowExW(nullptr, h, kSipClass, nullptr))
        if (GetPropW(h, kShellPanelProp)) return h;
    return nullptr;
}

// The panel the calls address: the shell's, or else this process's own if made.
HWND CurrentPanel() {
    if (HWND h = ShellPanel()) return h;
    return g_hwndPanel && IsWindow(g_hwndPanel) ? g_hwndPanel : nullptr;
}

HWND MakeOwnPanel() {
    if (g_hwndPanel && IsWindow(g_hwndPanel)) return g_hwndPanel;
    if (!shellwnd::RegisterClassOnce(kSipClass, PanelProc, 0) ||
        !shellwnd::RegisterClassOnce(kKeyAreaClass, KeyAreaProc, 0))
        return nullptr;
    RECT rc = PanelRect();
    g_hwndPanel = CreateWindowExW(WS_EX_NOACTIVATE | WS_EX_TOPMOST | WS_EX_TOOLWINDOW, kSipClass, L"",
                                  WS_POPUP | WS_CLIPCHILDREN, rc.left, rc.top, rc.right - rc.left,
                                  rc.bottom - rc.top, nullptr, nullptr, shellwnd::Module(), nullptr);
    if (!g_hwndPanel) {
        NKDbgPrintfW(L"[aygshell] input panel: CreateWindowExW failed, error=%u\r\n", GetLastError());
        return nullptr;
    }
    g_hwndKeys = CreateWindowExW(0, kKeyAreaClass, L"", WS_CHILD | WS_VISIBLE, 0, 0, rc.right - rc.left,
                                 rc.bottom - rc.top, g_hwndPanel, nullptr, shellwnd::Module(), nullptr);
    if (!g_hwndKeys)
        NKDbgPrintfW(L"[aygshell] input panel: key area not made, error=%u\r\n", GetLastError());
    return g_hwndPanel;
}

}  // namespace

HWND EnsureInputPanel() {
    if (HWND h = ShellPanel()) return h;
    return MakeOwnPanel();
}

HWND HostShellInputPanel() {
    HWND h = MakeOwnPanel();
    if (h && !SetPropW(h, kShellPanelProp, reinterpret_cast<HANDLE>(1))) {
        NKDbgPrintfW(L"[aygshell] input panel: not marked as the shell's, error=%u\r\n", GetLastError());
        return nullptr;
    }
    return h;
}

void PlaceInputPanel() {
    // Only a panel of this process; the shell's places itself on the setting change.
    if (!g_hwndPanel) return;
    RECT rc = PanelRect();
    SetWindowPos(g_hwndPanel, HWND_TOPMOST, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top,
                 SWP_NOACTIVATE);
}

BOOL SHSipPreference(HWND, SIPSTATE st) {
    if (st == SIP_UNCHANGED) return TRUE;
    if (st != SIP_UP && st != SIP_DOWN && st != SIP_FORCEDOWN) {
        NKDbgPrintfW(L"[aygshell] SHSipPreference: state %d not supported\r\n", static_cast<int>(st));
        return FALSE;
    }
    HWND hwndPanel = st == SIP_UP ? EnsureInputPanel() : CurrentPanel();
    if (!hwndPanel) return st != SIP_UP;  // no panel is down already
    DWORD_PTR result = FALSE;
    if (!SendMessageTimeoutW(hwndPanel, kSipMsgPreference, st, GetCurrentThreadId(), SMTO_NORMAL | SMTO_ABORTIFHUNG,
                             kPanelWaitMs, &result)) {
        NKDbgPrintfW(L"[aygshell] SHSipPreference: the input panel did not answer, error=%u\r\n", GetLastError());
        return FALSE;
    }
    return static_cast<BOOL>(result);
}

BOOL SHSipIsUp() {
    HWND hwndPanel = CurrentPanel();
    return hwndPanel && IsWindowVisible(hwndPanel);
}

HWND SHSipSetLayout(WPARAM wLayout) {
    HWND hwndPanel = CurrentPanel();
    DWORD_PTR result = 0;
    if (hwndPanel)
        if (HWND hwndKeys = GetWindow(hwndPanel, GW_CHILD))
            SendMessageTimeoutW(hwndKeys, kSipMsgSetLayout, wLayout, 0, SMTO_NORMAL | SMTO_ABORTIFHUNG, kPanelWaitMs,
                                &result);
    return hwndPanel;
}

BOOL SHSipInfo(UINT uiAction, UINT, PVOID pvParam, UINT) {
    auto* pInfo = static_cast<SIPINFO*>(pvParam);
    if (uiAction != SPI_GETSIPINFO || !pInfo || pInfo->cbSize != sizeof(SIPINFO)) {
        NKDbgPrintfW(L"[aygshell] SHSipInfo: action %u or its record not supported\r\n", uiAction);
        return FALSE;
    }
    // The panel's place follows the screen as it is now, even before the
    // panel itself has heard of a turn.
    const bool bUp = SHSipIsUp() != FALSE;
    pInfo->fdwFlags = bUp ? SIPF_ON : SIPF_OFF;
    pInfo->rcSipRect = PanelRect();
    SHGetDefaultMainArea(&pInfo->rcVisibleDesktop);
    if (bUp && pInfo->rcSipRect.top < pInfo->rcVisibleDesktop.bottom)
        pInfo->rcVisibleDesktop.bottom = pInfo->rcSipRect.top;
    if (pInfo->rcVisibleDesktop.bottom < pInfo->rcVisibleDesktop.top)
        pInfo->rcVisibleDesktop.bottom = pInfo->rcVisibleDesktop.top;
    pInfo->dwImDataSize = 0;
    pInfo->pvImData = nullptr;
    return TRUE;
}
