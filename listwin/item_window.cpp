// The list window: its message table, creation with the scroll component
// and the layout, and destruction of the component and the list image.
#include "listwin/item_window.h"

#include "core/app_state.h"
#include "core/draw_kit.h"
#include "core/screen_profile.h"
#include "core/window_class.h"
#include "listwin/list_edit.h"
#include "listwin/list_input.h"
#include "listwin/list_layout.h"
#include "listwin/list_pacing.h"
#include "listwin/list_paint.h"
#include "listwin/list_scroll.h"
#include "listwin/list_state.h"
#include "platform/base/message_table.h"

namespace {

LRESULT OnCreate(HWND hwnd) {
    SetupScrollComponent(hwnd);
    LayoutItems();
    return 0;
}

LRESULT OnDestroy(HWND) {
    ReleaseScrollComponent();
    ReleaseItemImage();
    // The edit controls go with this window; rows that outlive it must not
    // keep their handles, and a new list window builds its image afresh.
    ForgetEditControls();
    g_bBmpReady = FALSE;
    return 0;
}

LRESULT OnTimer(HWND hwnd, UINT_PTR id) {
    if (id != kScrollFrameTimer) return DefWindowProcW(hwnd, WM_TIMER, id, 0);
    StepScrollOnTimer(hwnd);
    return 0;
}

// Handed on whole: the scroll component reads the gesture from it.
LRESULT OnGesture(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    ScrollGesture(hwnd, msg, wParam, lParam);
    return 0;
}

constexpr MessageHandler kItemHandlers[] = {
    Cracked<WM_CREATE, OnCreate>,
    Cracked<WM_PAINT, OnItemPaint>,
    Cracked<WM_COMMAND, OnItemCommand>,
    Cracked<WM_DESTROY, OnDestroy>,
    {WM_SIZE, IgnoreMessage},
    {WM_ERASEBKGND, IgnoreMessage},  // painting covers the whole window
    Cracked<WM_ACTIVATE, OnItemActivate>,
    Cracked<WM_SETTINGCHANGE, OnItemSettingChange>,
    Cracked<WM_LBUTTONDOWN, OnItemPenDown>,
    Cracked<WM_LBUTTONUP, OnItemPenUp>,
    Cracked<WM_MOUSEMOVE, OnItemPenMove>,
    {WM_GESTURE, OnGesture},
    // Not on the device: keys that reach the list itself go to a field.
    Cracked<WM_KEYDOWN, OnItemKeyDown>,
    Cracked<WM_CHAR, OnItemChar>,
    // Not on the device: the step of a paced movement that input interrupted.
    Cracked<WM_TIMER, OnTimer>,
    // Not on the device: lets a memory context receive the same picture.
    Cracked<WM_PRINTCLIENT, OnItemPrintClient>,
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
