// Stand-in for the phone shell's status bar: the top 26 x s pixels of the
// screen, with signal, battery and the time, as the device shows them above
// every program. run.sh starts it on the emulated device; it ends with the
// device's session (or on WM_CLOSE).
#include <windows.h>

#include <cwchar>

namespace {

constexpr wchar_t kClass[] = L"QXStatusBarStandIn";
constexpr UINT_PTR kClockTimer = 1;

int Scale() {
    DWORD value = 0, size = sizeof(value);
    if (RegGetValueW(HKEY_LOCAL_MACHINE, L"Drivers\\Display\\GPE", L"LogicalPixelsX", RRF_RT_REG_DWORD,
                     nullptr, &value, &size) == ERROR_SUCCESS && value == 192)
        return 2;
    return 1;
}

void Fill(HDC hdc, int l, int t, int r, int b, COLORREF colour) {
    RECT rc = {l, t, r, b};
    HBRUSH brush = CreateSolidBrush(colour);
    FillRect(hdc, &rc, brush);
    DeleteObject(brush);
}

void PaintBar(HWND hwnd, HDC hdc) {
    RECT rc;
    GetClientRect(hwnd, &rc);
    const int s = Scale();
    Fill(hdc, 0, 0, rc.right, rc.bottom, RGB(0x10, 0x12, 0x16));

    // Signal: four rising bars at the left.
    const COLORREF light = RGB(0xE8, 0xEA, 0xEE);
    for (int i = 0; i < 4; ++i) {
        int h = (5 + 4 * i) * s;
        int x = (6 + 5 * i) * s;
        Fill(hdc, x, rc.bottom - 5 * s - h, x + 3 * s, rc.bottom - 5 * s, light);
    }
    // Battery: an outline with a nub, three quarters full, at the right.
    int bx = rc.right - 30 * s, by = 7 * s, bw = 20 * s, bh = 12 * s;
    Fill(hdc, bx, by, bx + bw, by + bh, light);
    Fill(hdc, bx + s, by + s, bx + bw - s, by + bh - s, RGB(0x10, 0x12, 0x16));
    Fill(hdc, bx + 2 * s, by + 2 * s, bx + 2 * s + (bw - 4 * s) * 3 / 4, by + bh - 2 * s, light);
    Fill(hdc, bx + bw, by + 4 * s, bx + bw + 2 * s, by + bh - 4 * s, light);

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
    SetTextColor(hdc, light);
    RECT clock = {rc.right - 110 * s, 0, rc.right - 36 * s, rc.bottom};
    DrawTextW(hdc, text, -1, &clock, DT_RIGHT | DT_VCENTER | DT_SINGLELINE);
    SelectObject(hdc, old);
    DeleteObject(font);
}

LRESULT CALLBACK BarProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC hdc = BeginPaint(hwnd, &ps);
        PaintBar(hwnd, hdc);
        EndPaint(hwnd, &ps);
        return 0;
    }
    case WM_TIMER:
        InvalidateRect(hwnd, nullptr, FALSE);
        return 0;
    case WM_MOUSEACTIVATE:
        return MA_NOACTIVATE;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE hInst, HINSTANCE, LPWSTR, int) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = BarProc;
    wc.hInstance = hInst;
    wc.lpszClassName = kClass;
    wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
    if (!RegisterClassW(&wc)) return 1;
    HWND hwnd = CreateWindowExW(WS_EX_TOPMOST | WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW, kClass, L"", WS_POPUP,
                                0, 0, GetSystemMetrics(SM_CXSCREEN), 26 * Scale(), nullptr, nullptr, hInst,
                                nullptr);
    if (!hwnd) return 1;
    SetTimer(hwnd, kClockTimer, 15000, nullptr);
    ShowWindow(hwnd, SW_SHOWNOACTIVATE);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
    return 0;
}
