// Title window. For now: class and creation at the title's height.
#include "shell/title_window.h"

#include "shell/app_state.h"
#include "shell/skin_resources.h"
#include "shell/window_class.h"

namespace {

LRESULT Nothing(HWND, UINT, WPARAM, LPARAM) { return 0; }

constexpr MessageHandler kTitleHandlers[] = {
    {WM_CREATE, Nothing},
    {WM_DESTROY, Nothing},
    {WM_SIZE, Nothing},
    {WM_LBUTTONDOWN, Nothing},
};

}  // namespace

LRESULT CALLBACK TitleWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return DispatchMessageTable(kTitleHandlers, hwnd, msg, wParam, lParam);
}

BOOL CreateTitleWindow(HINSTANCE hInstance, int) {
    if (!RegisterSkinClass(hInstance, L"QXCFTitleClass", TitleWndProc)) return FALSE;
    int s = AppState.nScale;
    // The title's height is the portrait title image's, in base units.
    if (!AppState.SkinImages[kSkinPTitle].hBitmap) LoadSkinImage(kSkinPTitle);
    AppState.nTitleHeight = AppState.SkinImages[kSkinPTitle].bm.bmHeight / s;
    AppState.hwndTitle = CreateWindowExW(0, L"QXCFTitleClass", L"QXCFTitleWindow",
                                         WS_CHILD | WS_VISIBLE, 0, 0, 240 * s,
                                         AppState.nTitleHeight * s, AppState.hwndMain, nullptr,
                                         hInstance, nullptr);
    return AppState.hwndTitle != nullptr;
}
