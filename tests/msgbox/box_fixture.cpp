// Message-box test set-up and the in-loop driver.
#include "tests/msgbox/box_fixture.h"

#include <objbase.h>

#include <atomic>

#include "platform/imaging.h"
#include "platform/scoped.h"
#include "platform/screen.h"
#include "platform/screen_capture.h"
#include "shell/app_state.h"
#include "shell/ui_config.h"

namespace {

constexpr wchar_t kGpeKey[] = L"Drivers\\Display\\GPE";

struct Driver {
    std::vector<BoxStep> steps;
    size_t next = 0;
    DWORD deadlineMs = 0;
    DWORD lastStepTick = 0;
    bool closedByDriver = false;
};
Driver* g_pDriver = nullptr;

// A fault inside a window procedure may be swallowed on the way back to the
// sender; a first-chance handler still sees it.
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
        // A step may end the box; the next tick finds the next one.
        BoxStep step = d->steps[d->next++];
        step(hwndBox);
        d->lastStepTick = GetTickCount();
        return;
    }
    if (d->lastStepTick == 0) d->lastStepTick = GetTickCount();
    if (!d->closedByDriver && GetTickCount() - d->lastStepTick > d->deadlineMs) {
        d->closedByDriver = true;
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
    SetScreenColour(RGB(255, 255, 255));
}

void BoxTest::TearDown() {
    ReleaseImagingFactory(&AppState.pImagingFactory);
    CoUninitialize();
    SetScreenPicture(nullptr);
    SetScreenSizeForTest(0, 0);
    DeleteRegTree(HKEY_LOCAL_MACHINE, kGpeKey);
    ResetAppState();
    EXPECT_EQ(g_pNotificationUIInfo, nullptr);
    EXPECT_EQ(g_hwndNotification, nullptr);
}

void BoxTest::UseScreen(int width, int height, int scale) {
    SetScreenSizeForTest(width, height);
    SetRegDword(HKEY_LOCAL_MACHINE, kGpeKey, L"LogicalPixelsX", scale == 2 ? 192 : 96);
    AppState.nScale = scale;
    ClassifyScreen(&AppState.nScreenType);
}

void BoxTest::WriteSkin(int buttonWidth, int buttonHeight) {
    ASSERT_TRUE(WriteSolidPng(m_device.Path(L"\\Windows\\QXBS_NB_bg_P.png"), 50, 40, kPanelArgb));
    ASSERT_TRUE(WriteSolidPng(m_device.Path(L"\\Windows\\QXBS_NB_bg_L.png"), 60, 40, kPanelLandscapeArgb));
    ASSERT_TRUE(WriteSolidPng(m_device.Path(L"\\Windows\\QXBS_NB_btn_up.png"), buttonWidth, buttonHeight,
                              kButtonUpArgb));
    ASSERT_TRUE(WriteSolidPng(m_device.Path(L"\\Windows\\QXBS_NB_btn_dn.png"), buttonWidth, buttonHeight,
                              kButtonDownArgb));
    ASSERT_TRUE(WriteSolidPng(m_device.Path(L"\\Windows\\QXBS_P_INPUTBOX.png"), 30, 10, kInputFrameArgb));
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

void StylusDown(HWND hwnd, int x, int y) { SendMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y)); }
void StylusUp(HWND hwnd, int x, int y) { SendMessageW(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(x, y)); }
void Tap(HWND hwnd, int x, int y) {
    StylusDown(hwnd, x, y);
    StylusUp(hwnd, x, y);
}
POINT Centre(const RECT& rc) { return POINT{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2}; }

Snapshot::Snapshot(HDC hdc) {
    HBITMAP hbm = static_cast<HBITMAP>(GetCurrentObject(hdc, OBJ_BITMAP));
    BITMAP bm{};
    if (!hbm || !GetObjectW(hbm, sizeof(bm), &bm)) return;
    BITMAPINFO bmi{};
    bmi.bmiHeader.biSize = sizeof(bmi.bmiHeader);
    bmi.bmiHeader.biWidth = bm.bmWidth;
    bmi.bmiHeader.biHeight = -bm.bmHeight;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    bmi.bmiHeader.biCompression = BI_RGB;
    m_bgrx.resize(size_t(bm.bmWidth) * bm.bmHeight);
    if (GetDIBits(hdc, hbm, 0, bm.bmHeight, m_bgrx.data(), &bmi, DIB_RGB_COLORS) != bm.bmHeight) {
        m_bgrx.clear();
        return;
    }
    m_width = bm.bmWidth;
    m_height = bm.bmHeight;
}

COLORREF Snapshot::At(int x, int y) const {
    if (x < 0 || y < 0 || x >= m_width || y >= m_height) return CLR_INVALID;
    DWORD v = m_bgrx[size_t(y) * m_width + x];
    return RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
}

int Snapshot::Count(const RECT& rc, COLORREF colour) const {
    int n = 0;
    for (int y = rc.top; y < rc.bottom; ++y)
        for (int x = rc.left; x < rc.right; ++x)
            if (At(x, y) == colour) ++n;
    return n;
}

std::pair<int, int> Snapshot::RowSpan(const RECT& rc, COLORREF colour) const {
    int first = -1, last = -1;
    for (int y = rc.top; y < rc.bottom; ++y)
        for (int x = rc.left; x < rc.right; ++x)
            if (At(x, y) == colour) {
                if (first < 0) first = y;
                last = y;
                break;
            }
    return {first, last};
}
