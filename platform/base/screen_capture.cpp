// Screen picture: a block copy from the desktop, or the picture supplied;
// or painted from the windows behind a window that covers the screen.
#include "platform/base/screen_capture.h"

#include <mutex>

#include "platform/base/debug_out.h"
#include "platform/base/scoped.h"
#include "platform/base/screen.h"

namespace {

std::mutex g_lock;
scoped::Bitmap g_picture;  // our own copy

// The supplied picture into hdcDst; call with g_lock held.
BOOL CopySuppliedPicture(HDC hdcDst, int x, int y, int cx, int cy) {
    scoped::MemDC source(CreateCompatibleDC(hdcDst));
    if (!source) {
        NKDbgPrintfW(L"[screen] [err]:the supplied picture, CreateCompatibleDC failed, error=[%lu].\r\n",
                     GetLastError());
        return FALSE;
    }
    scoped::Select selected(source.get(), g_picture.get());
    return BitBlt(hdcDst, x, y, cx, cy, source.get(), 0, 0, SRCCOPY);
}

// The visible children of hwnd, bottom first.
std::vector<HWND> ChildrenBottomFirst(HWND hwnd) {
    std::vector<HWND> children;
    for (HWND c = GetWindow(hwnd, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
        if (IsWindowVisible(c)) children.insert(children.begin(), c);
    return children;
}

// hwnd's client area, then its children over it, each clipped to what its
// parents show (rcShown); hdc's pixels are the screen's moved by (dx, dy).
void PrintWindowTree(HWND hwnd, HDC hdc, int dx, int dy, const RECT& rcShown) {
    RECT rc{};
    GetClientRect(hwnd, &rc);
    MapWindowPoints(hwnd, HWND_DESKTOP, reinterpret_cast<POINT*>(&rc), 2);
    OffsetRect(&rc, dx, dy);
    RECT rcVisible{};
    if (!IntersectRect(&rcVisible, &rc, &rcShown)) return;
    int nSaved = SaveDC(hdc);
    IntersectClipRect(hdc, rcVisible.left, rcVisible.top, rcVisible.right, rcVisible.bottom);
    SetViewportOrgEx(hdc, rc.left, rc.top, nullptr);
    SendMessageW(hwnd, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(hdc), PRF_CLIENT);
    RestoreDC(hdc, nSaved);
    for (HWND child : ChildrenBottomFirst(hwnd)) PrintWindowTree(child, hdc, dx, dy, rcVisible);
}

}  // namespace

void SetScreenPicture(HBITMAP hbmPicture) {
    HBITMAP copy = nullptr;
    if (hbmPicture) {
        copy = static_cast<HBITMAP>(CopyImage(hbmPicture, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
        if (!copy)
            NKDbgPrintfW(L"[screen] [err]:SetScreenPicture(), CopyImage failed, error=[%lu].\r\n",
                         GetLastError());
    }
    std::lock_guard<std::mutex> lock(g_lock);
    g_picture.reset(copy);
}

BOOL CopyScreenPicture(HDC hdcDst, int x, int y, int cx, int cy, HDC hdcScreen) {
    if (!hdcDst) return FALSE;
    std::lock_guard<std::mutex> lock(g_lock);
    if (g_picture) return CopySuppliedPicture(hdcDst, x, y, cx, cy);
    if (!hdcScreen || !BitBlt(hdcDst, x, y, cx, cy, hdcScreen, 0, 0, SRCCOPY)) {
        NKDbgPrintfW(L"[screen] [err]:CopyScreenPicture(), BitBlt from the screen failed, error=[%lu].\r\n",
                     GetLastError());
        return FALSE;
    }
    return TRUE;
}

std::vector<HWND> OwnWindowsBehind(HWND hwnd) {
    std::vector<HWND> windows;
    for (HWND w = hwnd ? GetWindow(hwnd, GW_HWNDNEXT) : nullptr; w; w = GetWindow(w, GW_HWNDNEXT)) {
        DWORD dwProcess = 0;
        GetWindowThreadProcessId(w, &dwProcess);
        if (dwProcess == GetCurrentProcessId() && IsWindowVisible(w)) windows.push_back(w);
    }
    return windows;
}

BOOL PaintScreenBehind(HWND hwndTop, HDC hdcDst, int x, int y) {
    if (!hdcDst) return FALSE;
    const RECT rcScreen = {x, y, x + GetScreenWidth(), y + GetScreenHeight()};
    bool bPainted = false;
    {
        std::lock_guard<std::mutex> lock(g_lock);
        if (g_picture) {
            bPainted = CopySuppliedPicture(hdcDst, x, y, GetScreenWidth(), GetScreenHeight());
        } else {
            // The desktop's colour: Wine's PaintDesktop paints another one
            // than its desktop shows.
            bPainted = FillRect(hdcDst, &rcScreen, GetSysColorBrush(COLOR_DESKTOP));
        }
    }
    std::vector<HWND> windows = OwnWindowsBehind(hwndTop);
    for (auto it = windows.rbegin(); it != windows.rend(); ++it) PrintWindowTree(*it, hdcDst, x, y, rcScreen);
    if (!bPainted && windows.empty()) {
        NKDbgPrintfW(L"[screen] [err]:PaintScreenBehind(), nothing to paint, error=[%lu].\r\n", GetLastError());
        return FALSE;
    }
    return TRUE;
}
