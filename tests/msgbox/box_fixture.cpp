// Message-box test set-up, the in-loop driver and pixel counts.
#include "tests/msgbox/box_fixture.h"

#include <objbase.h>

#include <atomic>

#include "core/app_state.h"
#include "core/ui_config.h"
#include "platform/aygshell/aygshell.h"
#include "platform/base/imaging.h"
#include "platform/base/scoped.h"
#include "platform/base/screen.h"
#include "platform/base/screen_capture.h"

namespace {

struct Driver {
    std::vector<BoxStep> steps;
    size_t next = 0;
    DWORD deadlineMs = 0;
    DWORD lastTick = 0;
    bool closed = false;
};
Driver* g_pDriver = nullptr;
std::atomic<int> g_nFaults{0};

LONG CALLBACK CountFault(EXCEPTION_POINTERS* pInfo) {
    DWORD code = pInfo->ExceptionRecord->ExceptionCode;
    if (code == EXCEPTION_ACCESS_VIOLATION || code == EXCEPTION_INT_DIVIDE_BY_ZERO ||
        code == EXCEPTION_STACK_OVERFLOW)
        ++g_nFaults;
    return EXCEPTION_CONTINUE_SEARCH;
}

void CALLBACK DriverTick(HWND, UINT, UINT_PTR, DWORD) {
    Driver* d = g_pDriver;
    HWND hwndBox = g_hwndNotification;
    if (!d || !hwndBox || !IsWindowVisible(hwndBox)) return;
    if (d->next < d->steps.size()) {
        BoxStep step = d->steps[d->next++];  // a step may end the box
        step(hwndBox);
        d->lastTick = GetTickCount();
        return;
    }
    if (!d->lastTick) d->lastTick = GetTickCount();
    if (!d->closed && GetTickCount() - d->lastTick > d->deadlineMs) {
        d->closed = true;
        SendMessageW(hwndBox, WM_CLOSE, kNotEnded, 0);
    }
}

}  // namespace

void BoxTest::SetUp() {
    ResetAppState();
    AppState.hInst = GetModuleHandleW(nullptr);
    ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    ASSERT_TRUE(CreateImagingFactory(&AppState.pImagingFactory));
    UseScreen(480, 640, 2);
    SetScreenColour(kWhite);
    WriteSkin();
}

void BoxTest::TearDown() {
    ReleaseImagingFactory(&AppState.pImagingFactory);
    CoUninitialize();
    SetScreenPicture(nullptr);
    SetScreenSizeForTest(0, 0);
    DeleteRegTree(HKEY_LOCAL_MACHINE, L"Drivers\\Display\\GPE");
    ResetAppState();
    EXPECT_EQ(g_pNotificationUIInfo, nullptr);
    EXPECT_EQ(g_hwndNotification, nullptr);
}

void BoxTest::UseScreen(int width, int height, int scale) {
    SetScreenSizeForTest(width, height);
    SetRegDword(HKEY_LOCAL_MACHINE, L"Drivers\\Display\\GPE", L"LogicalPixelsX", scale == 2 ? 192 : 96);
    AppState.nScale = scale;
    ClassifyScreen(&AppState.nScreenType);
}

void BoxTest::WriteSkin(int buttonWidth, int buttonHeight) {
    struct {
        LPCWSTR file;
        int w, h;
        Argb colour;
    } images[] = {{L"\\Windows\\QXBS_NB_bg_P.png", 50, 40, kPanelArgb},
                  {L"\\Windows\\QXBS_NB_bg_L.png", 60, 40, kPanelLandscapeArgb},
                  {L"\\Windows\\QXBS_NB_btn_up.png", buttonWidth, buttonHeight, kButtonUpArgb},
                  {L"\\Windows\\QXBS_NB_btn_dn.png", buttonWidth, buttonHeight, kButtonDownArgb},
                  {L"\\Windows\\QXBS_P_INPUTBOX.png", 30, 10, kInputFrameArgb}};
    for (const auto& i : images) ASSERT_TRUE(WriteSolidPng(m_device.Path(i.file), i.w, i.h, i.colour));
}

void BoxTest::SetScreenColour(COLORREF colour) {
    int w = GetScreenWidth(), h = GetScreenHeight();
    scoped::WindowDC screen(nullptr);
    scoped::MemDC dc(CreateCompatibleDC(screen.get()));
    scoped::Bitmap bm(CreateCompatibleBitmap(screen.get(), w, h));
    {
        scoped::Select sel(dc.get(), bm.get());
        scoped::Brush brush(CreateSolidBrush(colour));
        RECT rc = {0, 0, w, h};
        FillRect(dc.get(), &rc, brush.get());
    }
    SetScreenPicture(bm.get());
}

int RunBox(const std::function<int()>& show, std::vector<BoxStep> steps, DWORD deadlineMs) {
    Driver driver;
    driver.steps = std::move(steps);
    driver.deadlineMs = deadlineMs;
    g_pDriver = &driver;
    g_nFaults = 0;
    PVOID handler = AddVectoredExceptionHandler(1, CountFault);
    UINT_PTR timer = SetTimer(nullptr, 0, 10, DriverTick);
    int result = show();
    KillTimer(nullptr, timer);
    RemoveVectoredExceptionHandler(handler);
    g_pDriver = nullptr;
    EXPECT_EQ(g_nFaults, 0) << "a fault while the box was up";
    EXPECT_EQ(driver.next, driver.steps.size()) << "the box ended before all its steps ran";
    return result;
}

BoxStep CloseWith(WPARAM code) {
    return [code](HWND hwnd) { SendMessageW(hwnd, WM_CLOSE, code, 0); };
}

ScreenBehind::ScreenBehind(COLORREF colour, COLORREF laidOutColour) : m_colour{colour, laidOutColour} {
    WNDCLASSW wc{};
    wc.lpfnWndProc = Proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = kClass;
    RegisterClassW(&wc);  // fails harmlessly when already registered
    RECT rc{};
    SHGetDefaultMainArea(&rc);
    m_hwnd = CreateWindowExW(0, kClass, L"Behind", WS_POPUP, rc.left, rc.top, rc.right - rc.left,
                             rc.bottom - rc.top, nullptr, nullptr, wc.hInstance, m_colour);
    m_hwndField = CreateWindowExW(0, L"Edit", L"", WS_CHILD | WS_VISIBLE, 10, 60, 80, 24, m_hwnd, nullptr,
                                  wc.hInstance, nullptr);
    ShowWindow(m_hwnd, SW_SHOW);
    SetFocus(m_hwndField);
    EXPECT_EQ(GetFocus(), m_hwndField);
}

ScreenBehind::~ScreenBehind() { DestroyWindow(m_hwnd); }

LRESULT CALLBACK ScreenBehind::Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* colours = reinterpret_cast<COLORREF*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    switch (msg) {
    case WM_CREATE:
        SetWindowLongPtrW(hwnd, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
        return 0;
    case WM_SETTINGCHANGE: {
        RECT rc{};
        SHGetDefaultMainArea(&rc);
        SetWindowPos(hwnd, nullptr, rc.left, rc.top, (rc.right - rc.left) / 2, rc.bottom - rc.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        colours[0] = colours[1];
        InvalidateRect(hwnd, nullptr, TRUE);
        return 0;
    }
    case WM_ERASEBKGND:
    case WM_PRINTCLIENT: {
        RECT rc{};
        GetClientRect(hwnd, &rc);
        scoped::Brush brush(CreateSolidBrush(colours[0]));
        FillRect(reinterpret_cast<HDC>(wParam), &rc, brush.get());
        return 1;
    }
    default:
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    }
}

void PressKey(UINT vk) {
    PostMessageW(GetFocus(), WM_KEYDOWN, vk, 1);
    PostMessageW(GetFocus(), WM_KEYUP, vk, 0xC0000001);
}

void StylusDown(HWND hwnd, POINT p) { SendMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(p.x, p.y)); }
void StylusUp(HWND hwnd, POINT p) { SendMessageW(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(p.x, p.y)); }
POINT Centre(const RECT& rc) { return POINT{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2}; }

// The whole screen, as the box's back buffer is; what the box does not
// paint stays magenta.
BoxPicture::BoxPicture(HWND hwndBox)
    : m_picture(GetScreenWidth(), GetScreenHeight(),
                [hwndBox](HDC hdc) {
                    SendMessageW(hwndBox, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(hdc), PRF_CLIENT);
                },
                RGB(0xFF, 0x00, 0xFF)) {}

int Count(HDC hdc, const RECT& rc, COLORREF colour) {
    int n = 0;
    for (int y = rc.top; y < rc.bottom; ++y)
        for (int x = rc.left; x < rc.right; ++x) n += GetPixel(hdc, x, y) == colour;
    return n;
}

int RowsWith(HDC hdc, const RECT& rc, COLORREF colour) {
    int first = -1, last = -2;
    for (int y = rc.top; y < rc.bottom; ++y)
        if (Count(hdc, RECT{rc.left, y, rc.right, y + 1}, colour)) {
            if (first < 0) first = y;
            last = y;
        }
    return last - first + 1;
}
