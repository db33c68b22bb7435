// The main and title windows: commands, the orientation check, the title's
// geometry after a turn, its shrinking font and its picture.
#include <gtest/gtest.h>

#include <objbase.h>

#include <vector>

#include "platform/screen.h"
#include "res/resource.h"
#include "shell/app_state.h"
#include "shell/main_window.h"
#include "shell/skin_resources.h"
#include "shell/title_window.h"
#include "tests/support/png_writer.h"
#include "tests/support/scratch.h"

namespace {

// Counts what reaches a stand-in for the title or list window.
struct Recorder {
    std::vector<UINT> messages;
};

LRESULT CALLBACK RecorderProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* rec = reinterpret_cast<Recorder*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (rec && (msg == WM_SETTINGCHANGE || msg == WM_ACTIVATE)) rec->messages.push_back(msg);
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

HWND MakeRecorder(Recorder* rec) {
    static bool registered = false;
    if (!registered) {
        WNDCLASSW wc{};
        wc.lpfnWndProc = RecorderProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"QxRecorder";
        registered = RegisterClassW(&wc) != 0;
    }
    HWND hwnd = CreateWindowExW(0, L"QxRecorder", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(rec));
    return hwnd;
}

class ScreenWindowsTest : public testing::Test {
protected:
    void SetUp() override {
        ResetAppState();
        AppState.hInst = GetModuleHandleW(nullptr);
        ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    }
    void TearDown() override {
        for (HWND h : {AppState.hwndItem, AppState.hwndTitle, AppState.hwndMain})
            if (h && IsWindow(h)) DestroyWindow(h);
        ReleaseResources();
        PumpMessages(0);
        MSG msg;
        while (PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
        }
        ResetAppState();
        SetScreenSizeForTest(0, 0);
        CoUninitialize();
    }
    void WriteTitles(int s, Argb colour) {
        ASSERT_TRUE(WriteSolidPng(device.Path(L"\\Windows\\QXBS_P_Title.png"), 240 * s, 30 * s, colour));
        ASSERT_TRUE(WriteSolidPng(device.Path(L"\\Windows\\QXBS_L_Title.png"), 320 * s, 30 * s, colour));
    }
    ScratchDevice device;
};

TEST_F(ScreenWindowsTest, CancelClosesAndDestroyEndsTheLoop) {
    SetScreenSizeForTest(240, 320);
    ASSERT_TRUE(CreateMainWindow(AppState.hInst, SW_SHOW));
    HWND main = AppState.hwndMain;
    EXPECT_EQ(GetWindowLongW(main, GWL_STYLE) & WS_CAPTION, 0) << "a bare popup, as on the phone";

    SendMessageW(main, WM_COMMAND, MAKEWPARAM(IDM_CANCEL, 0), 0);
    EXPECT_TRUE(IsWindow(main)) << "the close is posted, not done at once";
    MSG msg;
    bool quit = false;
    for (int i = 0; i < 100 && !quit; ++i) {
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                quit = true;
                EXPECT_EQ(msg.wParam, 0u);
                break;
            }
            DispatchMessageW(&msg);
        }
    }
    EXPECT_TRUE(quit);
    EXPECT_FALSE(IsWindow(main));
}

TEST_F(ScreenWindowsTest, OnlyAFlipIsForwardedAndOnlyOnce) {
    SetScreenSizeForTest(240, 320);
    ASSERT_TRUE(CreateMainWindow(AppState.hInst, SW_SHOW));
    Recorder title, list;
    AppState.hwndTitle = MakeRecorder(&title);
    AppState.hwndItem = MakeRecorder(&list);

    SendMessageW(AppState.hwndMain, WM_SETTINGCHANGE, 0, 0);  // still portrait
    EXPECT_TRUE(title.messages.empty());

    SetScreenSizeForTest(320, 240);
    SendMessageW(AppState.hwndMain, WM_SETTINGCHANGE, 0, 0);
    SendMessageW(AppState.hwndMain, WM_SETTINGCHANGE, 0, 0);  // no second flip
    EXPECT_EQ(title.messages.size(), 1u);
    EXPECT_EQ(list.messages.size(), 1u);
    EXPECT_TRUE(AppState.bLandscape);

    SetScreenSizeForTest(240, 320);
    SendMessageW(AppState.hwndMain, WM_SETTINGCHANGE, 0, 0);
    EXPECT_EQ(title.messages.size(), 2u);
    EXPECT_FALSE(AppState.bLandscape);

    SetScreenSizeForTest(300, 300);  // a square screen never flips
    SendMessageW(AppState.hwndMain, WM_SETTINGCHANGE, 0, 0);
    EXPECT_EQ(title.messages.size(), 2u);

    SendMessageW(AppState.hwndMain, WM_ACTIVATE, WA_ACTIVE, 0);
    EXPECT_EQ(list.messages.back(), UINT(WM_ACTIVATE));
}

TEST_F(ScreenWindowsTest, TitleTakesItsImageHeightAndTurnsWithTheScreen) {
    WriteTitles(2, 0xFFE0E0E0);
    AppState.nScale = 2;
    AppState.LandscapeXExtension = 160;
    AppState.nScreenType = 5;
    SetScreenSizeForTest(480, 800);
    ASSERT_TRUE(CreateMainWindow(AppState.hInst, SW_SHOW));
    ASSERT_TRUE(CreateTitleWindow(AppState.hInst, SW_SHOW));
    EXPECT_EQ(AppState.nTitleHeight, 30);

    RECT rc;
    GetWindowRect(AppState.hwndTitle, &rc);
    EXPECT_EQ(rc.right - rc.left, 480);
    EXPECT_EQ(rc.bottom - rc.top, 60);

    AppState.bLandscape = TRUE;
    SendMessageW(AppState.hwndTitle, WM_SETTINGCHANGE, 0, 0);
    GetWindowRect(AppState.hwndTitle, &rc);
    EXPECT_EQ(rc.right - rc.left, 160 + 640);
    EXPECT_EQ(rc.bottom - rc.top, 60) << "a turn keeps the title height";

    AppState.bLandscape = FALSE;
    AppState.nScreenType = 6;  // no 320 x 480 case after a turn
    SendMessageW(AppState.hwndTitle, WM_SETTINGCHANGE, 0, 0);
    GetWindowRect(AppState.hwndTitle, &rc);
    EXPECT_EQ(rc.right - rc.left, 480);
}

TEST_F(ScreenWindowsTest, MissingTitleImageGivesNoTitleHeight) {
    SetScreenSizeForTest(240, 320);
    ASSERT_TRUE(CreateMainWindow(AppState.hInst, SW_SHOW));
    ASSERT_TRUE(CreateTitleWindow(AppState.hInst, SW_SHOW));
    EXPECT_EQ(AppState.nTitleHeight, 0);
}

TEST(TitleFont, ConfiguredSizeFirstThenDownFromTheBaseSize) {
    ResetAppState();
    AppState.bHasTextSize = TRUE;
    AppState.TextSizeSetting[0] = 30;
    HDC hdc = CreateCompatibleDC(nullptr);
    std::vector<int> tried;
    HFONT font = FitTitleFont(hdc, L"Voice Mail and Text Messages", &tried);
    ASSERT_NE(font, nullptr);
    DeleteObject(font);
    ASSERT_GE(tried.size(), 3u) << "the title at 30 pixels does not fit 240";
    EXPECT_EQ(tried[0], 30);
    EXPECT_EQ(tried[1], 20);
    EXPECT_EQ(tried[2], 19);

    // A title that never fits still ends, at the smallest size.
    tried.clear();
    font = FitTitleFont(hdc, std::wstring(400, L'W').c_str(), &tried);
    DeleteObject(font);
    EXPECT_LE(tried.size(), 21u);
    EXPECT_GE(tried.back(), 6);

    // At scale 2 the steps are 2: 42, then 38, 34 (base 21 -> 19 -> 17).
    AppState.bHasTextSize = FALSE;
    AppState.nScale = 2;
    tried.clear();
    font = FitTitleFont(hdc, std::wstring(60, L'W').c_str(), &tried);
    DeleteObject(font);
    ASSERT_GE(tried.size(), 3u);
    EXPECT_EQ(tried[0], 42);
    EXPECT_EQ(tried[1], 38);
    EXPECT_EQ(tried[2], 34);
    DeleteDC(hdc);
    ResetAppState();
}

TEST_F(ScreenWindowsTest, TitlePictureIsTheImageWithGreyTextInTheMiddle) {
    WriteTitles(1, 0xFFFFFFFF);
    SetScreenSizeForTest(240, 320);
    ASSERT_TRUE(LoadSkinImage(kSkinPTitle));
    RECT rc = {0, 0, 240, 30};
    HDC screen = GetDC(nullptr);
    HDC mem = CreateCompatibleDC(screen);
    HBITMAP bmp = CreateCompatibleBitmap(screen, 240, 30);
    HGDIOBJ old = SelectObject(mem, bmp);
    PaintTitle(mem, rc);

    EXPECT_EQ(GetPixel(mem, 1, 1), RGB(255, 255, 255)) << "the image, outside the text";
    int textPixels = 0;
    for (int x = 60; x < 180; ++x)
        for (int y = 8; y < 22; ++y) {
            COLORREF c = GetPixel(mem, x, y);
            if (c != RGB(255, 255, 255)) ++textPixels;
            EXPECT_TRUE(GetRValue(c) >= 0x66 && GetGValue(c) >= 0x66) << "no darker than 0x666666";
        }
    EXPECT_GT(textPixels, 50) << "the title text is drawn";
    SelectObject(mem, old);
    DeleteObject(bmp);
    DeleteDC(mem);
    ReleaseDC(nullptr, screen);
}

}  // namespace
