// The list window: its message table, creation with the scroll component
// and the layout, and destruction of the component and the list image.
#include "listwin/item_window.h"

#include "listwin/list_edit.h"
#include "listwin/list_input.h"
#include "listwin/list_layout.h"
#include "listwin/list_pacing.h"
#include "listwin/list_paint.h"
#include "listwin/list_scroll.h"
#include "shell/core/app_state.h"
#include "shell/core/draw_kit.h"
#include "shell/core/screen_profile.h"
#include "shell/core/window_class.h"

namespace {

LRESULT Nothing(HWND, UINT, WPARAM, LPARAM) { return 0; }

LRESULT OnCreate(HWND hwnd, UINT, WPARAM, LPARAM) {
    SetupScrollComponent(hwnd);
    LayoutItems();
    return 0;
}

LRESULT OnPaint(HWND hwnd, UINT, WPARAM, LPARAM) { return OnItemPaint(hwnd); }

LRESULT OnPrintClient(HWND hwnd, UINT, WPARAM wParam, LPARAM) {
    return OnItemPrintClient(hwnd, reinterpret_cast<HDC>(wParam));
}

LRESULT OnDestroy(HWND, UINT, WPARAM, LPARAM) {
    ReleaseScrollComponent();
    ReleaseItemImage();
    // The edit controls go with this window; rows that outlive it must not
    // keep their handles, and a new list window builds its image afresh.
    ForgetEditControls();
    g_bBmpReady = FALSE;
    return 0;
}

LRESULT OnTimer(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (wParam != kScrollFrameTimer) return DefWindowProcW(hwnd, msg, wParam, lParam);
    StepScrollOnTimer(hwnd);
    return 0;
}

LRESULT OnGesture(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    ScrollGesture(hwnd, msg, wParam, lParam);
    return 0;
}

constexpr UINT kWmGesture = 0x0119;

constexpr MessageHandler kItemHandlers[] = {
    {WM_CREATE, OnCreate},
    {WM_PAINT, OnPaint},
    {WM_COMMAND, OnItemCommand},
    {WM_DESTROY, OnDestroy},
    {WM_SIZE, Nothing},
    {WM_ERASEBKGND, Nothing},  // painting covers the whole window
    {WM_ACTIVATE, OnItemActivate},
    {WM_SETTINGCHANGE, OnItemSettingChange},
    {WM_LBUTTONDOWN, OnItemPenDown},
    {WM_LBUTTONUP, OnItemPenUp},
    {WM_MOUSEMOVE, OnItemPenMove},
    {kWmGesture, OnGesture},
    // Not on the device: the step of a paced movement that input interrupted.
    {WM_TIMER, OnTimer},
    // Not on the device: lets a memory context receive the same picture.
    {WM_PRINTCLIENT, OnPrintClient},
};

}  // namespace

LRESULT CALLBACK ItemWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return DispatchMessageTable(kItemHandlers, hwnd, msg, wParam, lParam);
}

BOOL CreateItemWindow(HINSTANCE hInstance, int) {
    if (!RegisterSkinClass(hInstance, L"QXCFItemClass", ItemWndProc)) return FALSE;
    WindowBox box = ListWindowBox();
    AppState.hwndItem = CreateWindowExW(0, L"QXCFItemClass", L"QXCFItemWindow", kChildWindowStyle,
                                        box.x, box.y, box.cx, box.cy, AppState.hwndMain, nullptr,
                                        hInstance, nullptr);
    return AppState.hwndItem != nullptr;
}
