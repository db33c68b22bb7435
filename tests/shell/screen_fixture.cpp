// The screen tests' set-up and clean-up.
#include "tests/shell/screen_fixture.h"

#include <objbase.h>

#include "core/app_state.h"
#include "platform/base/screen.h"
#include "shell/release_resources.h"

void ScreenTest::SetUp() {
    ResetAppState();
    AppState.hInst = GetModuleHandleW(nullptr);
    ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
}

void ScreenTest::TearDown() {
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
