// Main window: owner of the soft-key bar and parent of the title and list.
// Creating it loads the skin and the rows; destroying it ends the program.
#include "shell/main_window.h"

#include "core/app_state.h"
#include "core/screen_profile.h"
#include "core/skin_resources.h"
#include "core/trace.h"
#include "core/window_class.h"
#include "platform/aygshell/aygshell.h"
#include "platform/base/message_table.h"
#include "platform/base/scoped.h"
#include "platform/base/screen.h"
#include "platform/base/window.h"
#include "res/resource.h"
#include "shell/release_resources.h"
#include "shell/settings_conversation.h"
#include "shell/soft_keys.h"

namespace {

LRESULT OnCommand(HWND hwnd, UINT id, UINT code, HWND hwndCtl) {
    switch (id) {
    case IDM_DONE:
        if (SaveOnDone(hwnd)) PostMessageW(hwnd, WM_CLOSE, 0, 0);
        return 0;
    case IDM_CANCEL:
        // Not while Done's report is up: the screen must not close under it.
        if (IsDoneReportUp()) return 0;
        PostMessageW(hwnd, WM_CLOSE, 0, 0);
        return 0;
    default:
        return DefWindowProcW(hwnd, WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(hwndCtl));
    }
}

// White with the context's default pen: a one-pixel black outline.
void PaintMain(HWND hwnd, HDC hdc) {
    RECT rc;
    GetClientRect(hwnd, &rc);
    scoped::Select brush(hdc, GetStockObject(WHITE_BRUSH));
    Rectangle(hdc, rc.left, rc.top, rc.right, rc.bottom);
}

LRESULT OnPaint(HWND hwnd) {
    scoped::Paint paint(hwnd);
    PaintMain(hwnd, paint.hdc());
    return 0;
}

LRESULT OnPrintClient(HWND hwnd, HDC hdc) {
    if (hdc) PaintMain(hwnd, hdc);
    return 0;
}

LRESULT OnCreate(HWND hwnd) {
    AppState.hwndMenuBar = CreateSoftKeyBar(hwnd, AppState.hInst);
    // The list window does not exist yet: resources are made for the screen.
    TimedStep(L"LoadResource", [] { return LoadSkinResources(); });
    TimedStep(L"LoadSetting", [] { return LoadSetting(); });
    return 0;
}

LRESULT OnDestroy(HWND) {
    if (AppState.hwndMenuBar) DestroyWindow(AppState.hwndMenuBar);
    AppState.hwndMenuBar = nullptr;
    ReleaseResources();
    PostQuitMessage(0);
    return 0;
}

// Handed on to the list as it came.
LRESULT OnActivate(HWND, UINT, WPARAM wParam, LPARAM lParam) {
    if (AppState.hwndItem) SendMessageW(AppState.hwndItem, WM_ACTIVATE, wParam, lParam);
    return 0;
}

// Only a turn of the screen is passed on, once per turn; and the input
// panel's going up or down, to the list, which gives the field being typed
// room.
LRESULT OnSettingChange(HWND, UINT_PTR flag, LPCWSTR section) {
    const LPARAM lParam = reinterpret_cast<LPARAM>(section);
    if (flag == SPI_SETSIPINFO) {
        if (AppState.hwndItem) SendMessageW(AppState.hwndItem, WM_SETTINGCHANGE, flag, lParam);
        return 0;
    }
    int w = GetScreenWidth(), h = GetScreenHeight();
    bool flipped = false;
    if (w > h && !AppState.bLandscape) {
        AppState.bLandscape = TRUE;
        flipped = true;
    } else if (w < h && AppState.bLandscape) {
        AppState.bLandscape = FALSE;
        flipped = true;
    }
    if (flipped) {
        if (AppState.hwndTitle) SendMessageW(AppState.hwndTitle, WM_SETTINGCHANGE, flag, lParam);
        if (AppState.hwndItem) SendMessageW(AppState.hwndItem, WM_SETTINGCHANGE, flag, lParam);
    }
    return 0;
}

constexpr MessageHandler kMainHandlers[] = {
    Cracked<WM_COMMAND, OnCommand>,
    Cracked<WM_PAINT, OnPaint>,
    Cracked<WM_CREATE, OnCreate>,
    Cracked<WM_DESTROY, OnDestroy>,
    {WM_SIZE, IgnoreMessage},
    {WM_ERASEBKGND, IgnoreMessage},  // the background is never erased by the platform
    {WM_ACTIVATE, OnActivate},
    Cracked<WM_SETTINGCHANGE, OnSettingChange>,
    // Not on the device: lets a memory context receive the same picture.
    Cracked<WM_PRINTCLIENT, OnPrintClient>,
};

}  // namespace

LRESULT CALLBACK MainWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return DispatchMessageTable(kMainHandlers, hwnd, msg, wParam, lParam);
}

BOOL CreateMainWindow(HINSTANCE hInstance, int) {
    if (!RegisterSkinClass(hInstance, L"QXCFMainClass", MainWndProc)) return FALSE;
    bool useDefault = false;
    WindowBox box = MainWindowBox(&useDefault);
    if (useDefault) {
        RECT area = DefaultTopLevelArea();
        box = {area.left, area.top, area.right - area.left, area.bottom - area.top};
    }
    AppState.hwndMain = CreateWindowExW(0, L"QXCFMainClass", AppState.szAppTitle,
                                        TopLevelStyle(WS_VISIBLE), box.x, box.y, box.cx, box.cy,
                                        nullptr, nullptr, hInstance, nullptr);
    return AppState.hwndMain != nullptr;
}
