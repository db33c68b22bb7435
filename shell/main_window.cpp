// Main window. For now: class, creation with the skin resources, the two
// commands and the end of the program; soft keys and rows come with the screen.
#include "shell/main_window.h"

#include "res/resource.h"
#include "shell/app_state.h"
#include "shell/skin_resources.h"
#include "shell/trace.h"
#include "shell/window_class.h"

namespace {

LRESULT OnCommand(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (LOWORD(wParam)) {
    case IDM_DONE:
    case IDM_CANCEL:
        PostMessageW(hwnd, WM_CLOSE, 0, 0);
        return 0;
    default:
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    }
}

LRESULT OnCreate(HWND, UINT, WPARAM, LPARAM) {
    // The list window does not exist yet: resources are made for the screen.
    TimedStep(L"LoadResource", [] { return LoadSkinResources(); });
    return 0;
}

LRESULT OnDestroy(HWND, UINT, WPARAM, LPARAM) {
    ReleaseResources();
    PostQuitMessage(0);
    return 0;
}

LRESULT Nothing(HWND, UINT, WPARAM, LPARAM) { return 0; }

constexpr MessageHandler kMainHandlers[] = {
    {WM_COMMAND, OnCommand},
    {WM_CREATE, OnCreate},
    {WM_DESTROY, OnDestroy},
    {WM_SIZE, Nothing},
    {WM_ERASEBKGND, Nothing},
};

}  // namespace

LRESULT CALLBACK MainWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return DispatchMessageTable(kMainHandlers, hwnd, msg, wParam, lParam);
}

BOOL CreateMainWindow(HINSTANCE hInstance, int) {
    if (!RegisterSkinClass(hInstance, L"QXCFMainClass", MainWndProc)) return FALSE;
    AppState.hwndMain = CreateWindowExW(0, L"QXCFMainClass", AppState.szAppTitle, WS_VISIBLE,
                                        CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                                        nullptr, nullptr, hInstance, nullptr);
    return AppState.hwndMain != nullptr;
}
