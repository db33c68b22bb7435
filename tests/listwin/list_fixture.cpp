// The list tests' device, skin, rows, windows and captures.
#include "tests/listwin/list_fixture.h"

#include <objbase.h>

#include "core/app_state.h"
#include "core/skin_resources.h"
#include "listwin/item_window.h"
#include "listwin/list_paint.h"
#include "listwin/list_scroll.h"
#include "platform/aygshell/aygshell.h"
#include "platform/base/imaging.h"
#include "platform/base/screen.h"
#include "shell/release_resources.h"
#include "tests/support/client_picture.h"

namespace {

constexpr wchar_t kMainStandIn[] = L"QxListTestMain";
int g_nCloseRequests = 0;

LRESULT CALLBACK MainStandInProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_CLOSE) {
        ++g_nCloseRequests;
        return 0;  // the test closes the windows itself
    }
    // The input panel's going up or down, passed on as the main window does.
    if (msg == WM_SETTINGCHANGE && wParam == SPI_SETSIPINFO && AppState.hwndItem)
        return SendMessageW(AppState.hwndItem, msg, wParam, lParam);
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

Argb ArgbOf(COLORREF c) { return 0xFF000000u | GetRValue(c) << 16 | GetGValue(c) << 8 | GetBValue(c); }

struct TestSkinImage {
    int index;
    int width, height;
    COLORREF colour;
};

// Sizes of the committed 480x640 skin; colours of the test's own.
constexpr TestSkinImage kTestSkin[] = {
    {kSkinButtonOff, 32, 32, kOffColour},
    {kSkinButtonOn, 32, 32, kOnColour},
    {kSkinLLine, 640, 2, kLineColour},
    {kSkinLSubTitle, 640, 40, kSubTitleColour},
    {kSkinLTitle, 640, 60, RGB(0xEE, 0xEE, 0xEE)},
    {kSkinLButtonFocus, 640, 80, kFocusColour},
    {kSkinPLine, 480, 2, kLineColour},
    {kSkinPSubTitle, 480, 40, kSubTitleColour},
    {kSkinPTitle, 480, 60, RGB(0xEE, 0xEE, 0xEE)},
    {kSkinPButtonFocus, 480, 80, kFocusColour},
    {kSkinButtonOffMask, 32, 32, RGB(0xFF, 0xFF, 0xFF)},
    {kSkinButtonOnMask, 32, 32, RGB(0xFF, 0xFF, 0xFF)},
    {kSkinSwitchOn, 72, 28, kOnColour},
    {kSkinSwitchOff, 72, 28, kOffColour},
    {kSkinSwitchOnDisable, 72, 28, kOnDisabledColour},
    {kSkinSwitchOffDisable, 72, 28, kOffDisabledColour},
    {kSkinClickBoxOn, 32, 32, kOnColour},
    {kSkinClickBoxOff, 32, 32, kOffColour},
    {kSkinClickBoxOnDisable, 32, 32, kOnDisabledColour},
    {kSkinClickBoxOffDisable, 32, 32, kOffDisabledColour},
    {kSkinPInputBox, 464, 46, kFrameColour},
    {kSkinLInputBox, 624, 46, kFrameColour},
};

// Rows built by the test, freed as ReleaseListItems frees the program's.
ListItem* AllocRows(UINT n) { return static_cast<ListItem*>(LocalAlloc(LPTR, n * sizeof(ListItem))); }

}  // namespace

int Capture::CountDark(const RECT& rc) const {
    int n = 0;
    for (int y = rc.top; y < rc.bottom; ++y)
        for (int x = rc.left; x < rc.right; ++x) {
            COLORREF c = At(x, y);
            if (GetRValue(c) < 0x40 && GetGValue(c) < 0x40 && GetBValue(c) < 0x40) ++n;
        }
    return n;
}

int Capture::CountColour(const RECT& rc, COLORREF colour) const {
    int n = 0;
    for (int y = rc.top; y < rc.bottom; ++y)
        for (int x = rc.left; x < rc.right; ++x) n += At(x, y) == colour;
    return n;
}

FakeScrollLib::FakeScrollLib(const std::wstring& win32Path) {
    // Our own reference keeps the module (and its record) after the list lets go.
    if (GetModuleHandleW(win32Path.c_str())) m_hLib = LoadLibraryW(win32Path.c_str());
}

FakeScrollLib::~FakeScrollLib() {
    if (m_hLib) FreeLibrary(m_hLib);
}

int FakeScrollLib::Fire(int nEvent, int x, int v) const {
    auto fn = reinterpret_cast<int (*)(int, int, int)>(
        reinterpret_cast<void*>(GetProcAddress(m_hLib, "FakeScrollFire")));
    return fn ? fn(nEvent, x, v) : -2;
}

std::wstring FakeScrollLib::TakeLog() const {
    auto fn = reinterpret_cast<void (*)(wchar_t*, int)>(
        reinterpret_cast<void*>(GetProcAddress(m_hLib, "FakeScrollTakeLog")));
    std::wstring log(16384, L'\0');
    if (!fn) return L"<no log>";
    fn(log.data(), static_cast<int>(log.size()));
    log.resize(wcslen(log.c_str()));
    return log;
}

void FakeScrollLib::AnswerNext(int count, int y, int step) const {
    auto fn = reinterpret_cast<void (*)(int, int, int)>(
        reinterpret_cast<void*>(GetProcAddress(m_hLib, "FakeScrollAnswerNext")));
    if (fn) fn(count, y, step);
}

void FakeScrollLib::SetState(DWORD state) const {
    auto fn = reinterpret_cast<void (*)(DWORD)>(reinterpret_cast<void*>(GetProcAddress(m_hLib, "FakeScrollSetState")));
    if (fn) fn(state);
}

std::vector<double> FakeScrollLib::TakeStepTimes() const {
    auto fn = reinterpret_cast<int (*)(double*, int)>(
        reinterpret_cast<void*>(GetProcAddress(m_hLib, "FakeScrollTakeStepTimes")));
    std::vector<double> times(256);
    times.resize(fn ? fn(times.data(), static_cast<int>(times.size())) : 0);
    return times;
}

void ListViewTest::SetUp() {
    ResetAppState();
    AppState.hInst = GetModuleHandleW(nullptr);
    ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    ASSERT_TRUE(CreateImagingFactory(&AppState.pImagingFactory));
    // The vga profile: 480 x 640 portrait, class 3, s = 2, no extension.
    SetScreenSizeForTest(480, 640);
    AppState.nScale = 2;
    AppState.nScreenType = 3;
    AppState.bLandscape = FALSE;
    AppState.LandscapeXExtension = 0;
    g_nCloseRequests = 0;
    // The list state is process-wide: every case starts from the program's start.
    g_rcExtent[0] = g_rcExtent[1] = RECT{};
    g_iCurSel = -1;
    g_iCurTop = 0;
}

void ListViewTest::TearDown() {
    for (HWND h : {AppState.hwndItem, AppState.hwndMain})
        if (h && IsWindow(h)) DestroyWindow(h);
    SHSipPreference(nullptr, SIP_FORCEDOWN);
    ReleaseResources();
    PumpMessages(0);
    ResetAppState();
    g_iCurSel = -1;
    g_iCurTop = 0;
    g_nScrollKind = 0;
    SetScreenSizeForTest(0, 0);
    CoUninitialize();
}

void ListViewTest::LoadTestSkin() {
    for (const TestSkinImage& img : kTestSkin)
        ASSERT_TRUE(WriteSolidPng(m_device.Path(kSkinImageFiles[img.index]), img.width, img.height,
                                  ArgbOf(img.colour)));
    ASSERT_TRUE(LoadSkinResources());
}

void ListViewTest::MakeSettingsRows(LPCWSTR szCentre, LPCWSTR szVoiceMail) {
    ListItem& group = MakeSingleRow(IK_GROUP, kSettingsItemCount);
    (void)group;
    wcscpy_s(Item(0).szName, L"TextMessageLabel");
    wcscpy_s(Item(0).szText, L"Text messages service center:");
    Item(1).nKind = IK_GROUP_TEXTBOX;
    wcscpy_s(Item(1).szName, L"TextMessageTextBox");
    wcscpy_s(Item(1).szText, szCentre);
    wcscpy_s(Item(2).szName, L"VoiceMailLabel");
    wcscpy_s(Item(2).szText, L"Voice Mail:");
    Item(3).nKind = IK_GROUP_TEXTBOX;
    wcscpy_s(Item(3).szName, L"VoiceMailTextBox");
    wcscpy_s(Item(3).szText, szVoiceMail);
}

ListItem& ListViewTest::MakeSingleRow(int nKind, int nItems, int itemKind) {
    ReleaseListItems();
    g_pItems = AllocRows(g_nItems);
    ListItem& row = g_pItems[0];
    row.nKind = nKind;
    if (nItems > 0) {
        row.nItems = nItems;
        row.pItems = AllocRows(static_cast<UINT>(nItems));
        for (int k = 0; k < nItems; ++k) row.pItems[k].nKind = itemKind;
    }
    return row;
}

void ListViewTest::OpenList() {
    WNDCLASSW wc{};
    wc.lpfnWndProc = MainStandInProc;
    wc.hInstance = AppState.hInst;
    wc.lpszClassName = kMainStandIn;
    RegisterClassW(&wc);
    AppState.hwndMain = CreateWindowExW(0, kMainStandIn, L"main", WS_POPUP | WS_VISIBLE, 0, 52,
                                        GetScreenWidth(), GetScreenHeight() - 104, nullptr, nullptr,
                                        AppState.hInst, nullptr);
    ASSERT_TRUE(AppState.hwndMain);
    ASSERT_TRUE(CreateItemWindow(AppState.hInst, SW_SHOW));
}

void ListViewTest::PaintNow() {
    RedrawWindow(AppState.hwndItem, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    PumpMessages(0);
}

Capture ListViewTest::CaptureList() const {
    return CapturePainted([](HDC hdc) {
        SendMessageW(AppState.hwndItem, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(hdc), PRF_CLIENT);
    });
}

Capture ListViewTest::CapturePainted(const std::function<void(HDC)>& paint) const {
    Capture cap;
    RECT rc{};
    GetClientRect(AppState.hwndItem, &rc);
    ClientPicture picture(rc.right, rc.bottom, paint);
    if (!picture.Ok()) return cap;
    cap.width = picture.Width();
    cap.height = picture.Height();
    cap.pixels = picture.Pixels();
    return cap;
}

void ListViewTest::InstallFake(LPCWSTR cePath) { ASSERT_TRUE(m_device.Install(L"FakeScroll.dll", cePath)); }

void ListViewTest::InstallScrollLibrary(LPCWSTR builtName, LPCWSTR cePath) {
    ASSERT_TRUE(m_device.Install(builtName, cePath));
}

RECT ListViewTest::ChildRect(HWND child) {
    RECT rc{};
    GetWindowRect(child, &rc);
    MapWindowPoints(nullptr, AppState.hwndItem, reinterpret_cast<POINT*>(&rc), 2);
    return rc;
}

std::wstring ListViewTest::TextOf(HWND hwnd) {
    wchar_t buf[512] = {};
    GetWindowTextW(hwnd, buf, 512);
    return buf;
}

int ListViewTest::CloseRequests() { return g_nCloseRequests; }
