// The soft-key bar: a window of ours along the bottom of the screen with the
// two keys of a menu-bar resource and the input-panel key between them.
#include "platform/aygshell/soft_key_bar.h"

#include <memory>
#include <vector>

#include "platform/aygshell/aygshell.h"
#include "platform/aygshell/input_panel.h"
#include "platform/aygshell/menubar_resource.h"
#include "platform/aygshell/shell_metrics.h"
#include "platform/aygshell/shell_window.h"
#include "platform/base/debug_out.h"
#include "platform/base/scoped.h"

namespace {

constexpr COLORREF kBarColour = RGB(0x24, 0x28, 0x2E);
constexpr COLORREF kEdgeColour = RGB(0x4A, 0x50, 0x58);
constexpr COLORREF kPressedColour = RGB(0x56, 0x62, 0x70);
constexpr COLORREF kTextColour = RGB(0xFF, 0xFF, 0xFF);
constexpr COLORREF kDisabledTextColour = RGB(0x80, 0x86, 0x8E);
constexpr int kSipKeyBaseWidth = 36;
constexpr int kTextBaseHeight = 13;
constexpr int kKeyCount = 3;

struct Key {
    WCHAR szText[64];
    UINT uCommand;
    bool bPresent;
    bool bEnabled;
    RECT rc;
};

struct Bar {
    HWND hwnd = nullptr;
    HWND hwndOwner = nullptr;  // receives the commands
    DWORD dwFlags = 0;
    COLORREF clrBar = kBarColour;
    Key keys[kKeyCount] = {};  // left, right, input panel
    int iStylus = -1;          // key under a stylus press
    bool bStylusInside = false;
    int iKeyboard = -1;        // key held down with F1 / F2
    scoped::Surface surface;   // the composed picture
    SIZE sizeBmp{};
};

struct CreateContext {
    Bar* pBar;
    bool bAdopted;  // the window took the record over
};

Bar* GetBar(HWND hwnd) { return reinterpret_cast<Bar*>(GetWindowLongPtrW(hwnd, 0)); }

// Only bars of this process: the record pointer means nothing elsewhere.
bool IsBarWindow(HWND hwnd) {
    WCHAR szClass[32] = {};
    DWORD dwProcess = 0;
    if (!hwnd || !GetWindowThreadProcessId(hwnd, &dwProcess) || dwProcess != GetCurrentProcessId()) return false;
    return GetClassNameW(hwnd, szClass, 32) && lstrcmpW(szClass, kSoftKeyBarClass) == 0 &&
           GetBar(hwnd) != nullptr;
}

void LayoutKeys(Bar* bar, int width, int height) {
    Key& left = bar->keys[kSoftKeyLeft];
    Key& right = bar->keys[kSoftKeyRight];
    Key& sip = bar->keys[kSoftKeySip];
    if (sip.bPresent) {
        int sipWidth = kSipKeyBaseWidth * ShellScale();
        sip.rc = RECT{width / 2 - sipWidth / 2, 0, width / 2 - sipWidth / 2 + sipWidth, height};
        left.rc = RECT{0, 0, sip.rc.left, height};
        right.rc = RECT{sip.rc.right, 0, width, height};
    } else {
        left.rc = RECT{0, 0, width / 2, height};
        right.rc = RECT{width / 2, 0, width, height};
    }
}

void ReleaseBuffer(Bar* bar) {
    bar->surface.Release();
    bar->sizeBmp = SIZE{};
}

bool IsKeyDrawnPressed(const Bar* bar, int i) {
    return (bar->iStylus == i && bar->bStylusInside) || bar->iKeyboard == i;
}

void DrawSipGlyph(HDC hdc, const RECT& rc, int s) {
    // A small keyboard: an outline with three rows of keys.
    int w = 18 * s, h = 11 * s;
    int x = (rc.left + rc.right - w) / 2, y = (rc.top + rc.bottom - h) / 2;
    scoped::Brush white(CreateSolidBrush(kTextColour));
    RECT frame{x, y, x + w, y + h};
    FrameRect(hdc, &frame, white.get());
    for (int row = 0; row < 2; ++row)
        for (int col = 0; col < 5; ++col) {
            RECT dot{x + (2 + col * 3) * s, y + (2 + row * 3) * s, x + (3 + col * 3) * s, y + (3 + row * 3) * s};
            FillRect(hdc, &dot, white.get());
        }
    RECT space{x + 5 * s, y + 8 * s, x + 13 * s, y + 9 * s};
    FillRect(hdc, &space, white.get());
}

// Composes the whole bar into its buffer at the window's size.
void Compose(Bar* bar) {
    RECT rc{};
    GetClientRect(bar->hwnd, &rc);
    if (rc.right <= 0 || rc.bottom <= 0) return;
    if (!bar->surface || bar->sizeBmp.cx != rc.right || bar->sizeBmp.cy != rc.bottom) {
        ReleaseBuffer(bar);
        scoped::WindowDC screen(nullptr);
        if (!bar->surface.Create(screen.get(), rc.right, rc.bottom)) {
            NKDbgPrintfW(L"[aygshell] soft-key bar: no drawing surface, error=%u\r\n", GetLastError());
            ReleaseBuffer(bar);
            return;
        }
        bar->sizeBmp = SIZE{rc.right, rc.bottom};
    }
    LayoutKeys(bar, rc.right, rc.bottom);

    HDC hdc = bar->surface.hdc();
    int s = ShellScale();
    scoped::Brush back(CreateSolidBrush(bar->clrBar));
    scoped::Brush pressed(CreateSolidBrush(kPressedColour));
    scoped::Brush edge(CreateSolidBrush(kEdgeColour));
    FillRect(hdc, &rc, back.get());
    for (int i = 0; i < kKeyCount; ++i)
        if (bar->keys[i].bPresent && IsKeyDrawnPressed(bar, i)) FillRect(hdc, &bar->keys[i].rc, pressed.get());
    RECT top{0, 0, rc.right, 1};
    FillRect(hdc, &top, edge.get());

    scoped::Font font(shellwnd::CreateShellFont(kTextBaseHeight * s, true));
    scoped::Select selFont(hdc, font.get());
    SetBkMode(hdc, TRANSPARENT);
    for (int i : {kSoftKeyLeft, kSoftKeyRight}) {
        const Key& key = bar->keys[i];
        if (!key.bPresent || !key.szText[0]) continue;
        SetTextColor(hdc, key.bEnabled ? kTextColour : kDisabledTextColour);
        RECT rcText = key.rc;
        InflateRect(&rcText, -4 * s, 0);
        DrawTextW(hdc, key.szText, -1, &rcText,
                  DT_SINGLELINE | DT_CENTER | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
    }
    if (bar->keys[kSoftKeySip].bPresent) DrawSipGlyph(hdc, bar->keys[kSoftKeySip].rc, s);
}

void Redraw(Bar* bar) {
    Compose(bar);
    InvalidateRect(bar->hwnd, nullptr, FALSE);
}

void CopyTo(Bar* bar, HDC hdc) {
    if (!bar->surface) Compose(bar);
    if (bar->surface) BitBlt(hdc, 0, 0, bar->sizeBmp.cx, bar->sizeBmp.cy, bar->surface.hdc(), 0, 0, SRCCOPY);
}

// Places the bar along the bottom of the current screen.
void Place(Bar* bar) {
    RECT rc = SoftKeyBarRect();
    SetWindowPos(bar->hwnd, nullptr, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    Redraw(bar);
}

int HitKey(const Bar* bar, POINT pt) {
    for (int i = 0; i < kKeyCount; ++i) {
        const Key& key = bar->keys[i];
        if (key.bPresent && key.bEnabled && PtInRect(&key.rc, pt)) return i;
    }
    return -1;
}

// Runs a key. The owner may destroy the bar while it handles the command, so
// nothing of the bar is touched afterwards.
void Fire(Bar* bar, int iKey, bool bSend) {
    if (iKey == kSoftKeySip) {
        SHSipPreference(bar->hwndOwner, SHSipIsUp() ? SIP_FORCEDOWN : SIP_UP);
        return;
    }
    HWND hwndOwner = bar->hwndOwner;
    WPARAM wParam = MAKEWPARAM(bar->keys[iKey].uCommand, 0);  // as a menu command
    if (bSend)
        SendMessageW(hwndOwner, WM_COMMAND, wParam, 0);
    else
        PostMessageW(hwndOwner, WM_COMMAND, wParam, 0);
}

// The keys of the resource: the first two that are neither separators nor
// hidden become the left and the right key.
bool LoadKeys(Bar* bar, HINSTANCE hInstRes, UINT nId) {
    HRSRC hRes = FindResourceW(hInstRes, MAKEINTRESOURCEW(nId), RT_RCDATA);
    HGLOBAL hData = hRes ? LoadResource(hInstRes, hRes) : nullptr;
    const BYTE* pData = hData ? static_cast<const BYTE*>(LockResource(hData)) : nullptr;
    if (!pData) {
        NKDbgPrintfW(L"[aygshell] SHCreateMenuBar: menu-bar resource %u not found, error=%u\r\n", nId,
                     GetLastError());
        return false;
    }
    std::vector<MenuBarButton> buttons;
    if (!ParseMenuBarResource(pData, SizeofResource(hInstRes, hRes), nullptr, &buttons)) {
        NKDbgPrintfW(L"[aygshell] SHCreateMenuBar: menu-bar resource %u is malformed (%u bytes)\r\n", nId,
                     SizeofResource(hInstRes, hRes));
        return false;
    }
    int iKey = kSoftKeyLeft;
    for (const MenuBarButton& b : buttons) {
        if ((b.wStyle & kMenuBarStyleSeparator) || (b.wState & kMenuBarStateHidden)) continue;
        if (iKey > kSoftKeyRight) {
            NKDbgPrintfW(L"[aygshell] SHCreateMenuBar: resource %u has more than two keys; command %u left out\r\n",
                         nId, b.wCommand);
            continue;
        }
        Key& key = bar->keys[iKey++];
        key.bPresent = true;
        key.bEnabled = (b.wState & kMenuBarStateEnabled) != 0;
        key.uCommand = b.wCommand;
        if (LoadStringW(hInstRes, b.wString, key.szText, 64) <= 0) {
            key.szText[0] = L'\0';
            NKDbgPrintfW(L"[aygshell] SHCreateMenuBar: no text %u for command %u\r\n", b.wString, b.wCommand);
        }
        if (b.wSubMenu != kMenuBarNoSubMenu)
            NKDbgPrintfW(L"[aygshell] SHCreateMenuBar: submenus are not supported; command %u is sent instead\r\n",
                         b.wCommand);
    }
    return true;
}

LRESULT OnNcCreate(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* ctx = static_cast<CreateContext*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    ctx->bAdopted = true;
    ctx->pBar->hwnd = hwnd;
    SetWindowLongPtrW(hwnd, 0, reinterpret_cast<LONG_PTR>(ctx->pBar));
    RetainSoftKeyHook();
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

LRESULT OnNcDestroy(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (Bar* bar = GetBar(hwnd)) {
        SetWindowLongPtrW(hwnd, 0, 0);
        ReleaseBuffer(bar);
        delete bar;
        ReleaseSoftKeyHook();
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

LRESULT OnPaint(HWND hwnd) {
    scoped::Paint paint(hwnd);
    if (Bar* bar = GetBar(hwnd)) CopyTo(bar, paint.hdc());
    return 0;
}

LRESULT OnPrintClient(HWND hwnd, HDC hdc) {
    if (Bar* bar = GetBar(hwnd)) CopyTo(bar, hdc);
    return 0;
}

LRESULT OnSize(HWND hwnd) {
    if (Bar* bar = GetBar(hwnd)) Redraw(bar);
    return 0;
}

LRESULT OnScreenChange(HWND hwnd) {
    if (Bar* bar = GetBar(hwnd)) Place(bar);
    return 0;
}

LRESULT OnLButtonDown(HWND hwnd, POINT pt) {
    Bar* bar = GetBar(hwnd);
    if (!bar) return 0;
    int i = HitKey(bar, pt);
    if (i < 0) return 0;
    bar->iStylus = i;
    bar->bStylusInside = true;
    SetCapture(hwnd);
    Redraw(bar);
    return 0;
}

LRESULT OnMouseMove(HWND hwnd, POINT pt) {
    Bar* bar = GetBar(hwnd);
    if (!bar || bar->iStylus < 0) return 0;
    bool bInside = PtInRect(&bar->keys[bar->iStylus].rc, pt) != 0;
    if (bInside != bar->bStylusInside) {
        bar->bStylusInside = bInside;
        Redraw(bar);
    }
    return 0;
}

LRESULT OnLButtonUp(HWND hwnd, POINT pt) {
    Bar* bar = GetBar(hwnd);
    if (!bar || bar->iStylus < 0) return 0;
    int i = bar->iStylus;
    bool bInside = PtInRect(&bar->keys[i].rc, pt) != 0;
    bar->iStylus = -1;
    bar->bStylusInside = false;
    ReleaseCapture();
    Redraw(bar);
    if (bInside) Fire(bar, i, true);
    return 0;
}

LRESULT OnCaptureChanged(HWND hwnd, HWND hwndNew) {
    Bar* bar = GetBar(hwnd);
    // Another window took the stylus: the press is over without a command.
    if (bar && bar->iStylus >= 0 && hwndNew != hwnd) {
        bar->iStylus = -1;
        bar->bStylusInside = false;
        Redraw(bar);
    }
    return 0;
}

constexpr MessageHandler kBarHandlers[] = {
    {WM_NCCREATE, OnNcCreate},
    {WM_NCDESTROY, OnNcDestroy},
    Cracked<WM_PAINT, OnPaint>,
    Cracked<WM_PRINTCLIENT, OnPrintClient>,
    Cracked<WM_ERASEBKGND, shellwnd::PaintedWhole>,
    Cracked<WM_SIZE, OnSize>,
    Cracked<WM_SETTINGCHANGE, OnScreenChange>,
    Cracked<WM_DISPLAYCHANGE, OnScreenChange>,
    Cracked<WM_MOUSEACTIVATE, shellwnd::NoActivate>,
    Cracked<WM_LBUTTONDOWN, OnLButtonDown>,
    Cracked<WM_MOUSEMOVE, OnMouseMove>,
    Cracked<WM_LBUTTONUP, OnLButtonUp>,
    Cracked<WM_CAPTURECHANGED, OnCaptureChanged>,
};

LRESULT CALLBACK SoftKeyBarProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return DispatchMessageTable(kBarHandlers, hwnd, msg, wParam, lParam);
}

struct FindContext {
    HWND hwndRoot;
    HWND hwndFound;
    HWND hwndHidden;  // a matching bar that is hidden, if no visible one
};

BOOL CALLBACK FindBarProc(HWND hwnd, LPARAM lParam) {
    auto* ctx = reinterpret_cast<FindContext*>(lParam);
    if (!IsBarWindow(hwnd)) return TRUE;
    Bar* bar = GetBar(hwnd);
    if (hwnd != ctx->hwndRoot && GetAncestor(bar->hwndOwner, GA_ROOT) != ctx->hwndRoot) return TRUE;
    if (IsWindowVisible(hwnd)) {
        ctx->hwndFound = hwnd;
        return FALSE;
    }
    if (!ctx->hwndHidden) ctx->hwndHidden = hwnd;
    return TRUE;
}

}  // namespace

HWND FindSoftKeyBarFor(HWND hwnd) {
    FindContext ctx{GetAncestor(hwnd, GA_ROOT), nullptr, nullptr};
    if (!ctx.hwndRoot) return nullptr;
    EnumThreadWindows(GetCurrentThreadId(), FindBarProc, reinterpret_cast<LPARAM>(&ctx));
    return ctx.hwndFound ? ctx.hwndFound : ctx.hwndHidden;
}

void SoftKeyBarKeyboard(HWND hwndBar, int iKey, bool bDown, bool bRepeat) {
    Bar* bar = IsBarWindow(hwndBar) ? GetBar(hwndBar) : nullptr;
    if (!bar || iKey < kSoftKeyLeft || iKey > kSoftKeyRight) return;
    const Key& key = bar->keys[iKey];
    if (bDown) {
        if (bRepeat || !key.bPresent || !key.bEnabled) return;
        bar->iKeyboard = iKey;
        Redraw(bar);
        return;
    }
    // A release without its press (it went elsewhere) does nothing.
    if (bar->iKeyboard != iKey) return;
    bar->iKeyboard = -1;
    Redraw(bar);
    // Posted: the hook runs inside the loop's message retrieval.
    Fire(bar, iKey, false);
}

BOOL SHCreateMenuBar(SHMENUBARINFO* pmbi) {
    if (!pmbi || pmbi->cbSize < kCeSizeofSHMENUBARINFO) {
        NKDbgPrintfW(L"[aygshell] SHCreateMenuBar: bad structure (size %u)\r\n", pmbi ? pmbi->cbSize : 0u);
        return FALSE;
    }
    pmbi->hwndMB = nullptr;
    if (!pmbi->hwndParent || !IsWindow(pmbi->hwndParent)) {
        NKDbgPrintfW(L"[aygshell] SHCreateMenuBar: no parent window\r\n");
        return FALSE;
    }
    if (pmbi->dwFlags & SHCMBF_HMENU) {
        NKDbgPrintfW(L"[aygshell] SHCreateMenuBar: menu handles (SHCMBF_HMENU) are not supported\r\n");
        return FALSE;
    }
    auto bar = std::make_unique<Bar>();
    bar->hwndOwner = pmbi->hwndParent;
    bar->dwFlags = pmbi->dwFlags;
    if (pmbi->dwFlags & SHCMBF_COLORBK) bar->clrBar = pmbi->clrBk;
    bool bEmpty = (pmbi->dwFlags & SHCMBF_EMPTYBAR) || pmbi->nToolBarId == 0;
    if (!bEmpty && !LoadKeys(bar.get(), pmbi->hInstRes, pmbi->nToolBarId)) return FALSE;
    bar->keys[kSoftKeySip].bPresent = (pmbi->dwFlags & SHCMBF_HIDESIPBUTTON) == 0;
    bar->keys[kSoftKeySip].bEnabled = true;

    if (!shellwnd::RegisterClassOnce(kSoftKeyBarClass, SoftKeyBarProc, sizeof(Bar*))) return FALSE;
    RECT rc = SoftKeyBarRect();
    CreateContext ctx{bar.release(), false};
    HWND hwnd = CreateWindowExW(WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW, kSoftKeyBarClass, L"",
                                WS_POPUP | WS_CLIPSIBLINGS, rc.left, rc.top, rc.right - rc.left,
                                rc.bottom - rc.top, pmbi->hwndParent, nullptr, shellwnd::Module(), &ctx);
    if (!ctx.bAdopted) delete ctx.pBar;  // else the window's destruction freed it
    if (!hwnd) {
        NKDbgPrintfW(L"[aygshell] SHCreateMenuBar: CreateWindowExW failed, error=%u\r\n", GetLastError());
        return FALSE;
    }
    // The bar is owned by its parent, so it stays above the parent's windows.
    if (!(pmbi->dwFlags & SHCMBF_HIDDEN))
        SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    // The device's input panel always exists; ours from the first bar on.
    EnsureInputPanel();
    pmbi->hwndMB = hwnd;
    return TRUE;
}

BOOL SHGetSoftKeyInfo(HWND hwndMB, int iKey, SoftKeyInfo* pInfo) {
    if (!pInfo || !IsBarWindow(hwndMB) || iKey < 0 || iKey >= kKeyCount) return FALSE;
    Bar* bar = GetBar(hwndMB);
    const Key& key = bar->keys[iKey];
    if (!key.bPresent) return FALSE;
    RECT rc{};
    GetClientRect(hwndMB, &rc);
    LayoutKeys(bar, rc.right, rc.bottom);
    lstrcpynW(pInfo->szText, key.szText, 64);
    pInfo->uCommand = key.uCommand;
    pInfo->bEnabled = key.bEnabled;
    pInfo->bPressed = IsKeyDrawnPressed(bar, iKey);
    pInfo->rcKey = key.rc;
    return TRUE;
}
