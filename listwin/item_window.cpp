// List window. For now: class and creation below the title.
#include "listwin/item_window.h"

#include "shell/app_state.h"
#include "shell/window_class.h"
#include "shell/window_geometry.h"

namespace {

LRESULT Nothing(HWND, UINT, WPARAM, LPARAM) { return 0; }

constexpr MessageHandler kItemHandlers[] = {
    {WM_CREATE, Nothing},
};

}  // namespace

LRESULT CALLBACK ItemWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return DispatchMessageTable(kItemHandlers, hwnd, msg, wParam, lParam);
}

BOOL CreateItemWindow(HINSTANCE hInstance, int) {
    if (!RegisterSkinClass(hInstance, L"QXCFItemClass", ItemWndProc)) return FALSE;
    WindowBox box = ListWindowBox();
    AppState.hwndItem = CreateWindowExW(0, L"QXCFItemClass", L"QXCFItemWindow", WS_CHILD | WS_VISIBLE,
                                        box.x, box.y, box.cx, box.cy, AppState.hwndMain, nullptr,
                                        hInstance, nullptr);
    return AppState.hwndItem != nullptr;
}
