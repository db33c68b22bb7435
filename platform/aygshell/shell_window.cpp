// Class registration and fonts of the shell library's windows.
#include "platform/aygshell/shell_window.h"

#include "platform/base/debug_out.h"

namespace shellwnd {

HINSTANCE Module() {
    HMODULE hmod = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(&Module), &hmod);
    return hmod;
}

bool RegisterClassOnce(LPCWSTR className, WNDPROC proc, size_t cbWndExtra) {
    WNDCLASSW wc{};
    HINSTANCE hinst = Module();
    if (GetClassInfoW(hinst, className, &wc)) return true;
    wc.lpfnWndProc = proc;
    wc.hInstance = hinst;
    wc.cbWndExtra = static_cast<int>(cbWndExtra);
    wc.hCursor = nullptr;  // a phone has no mouse pointer
    wc.hbrBackground = nullptr;
    wc.lpszClassName = className;
    if (RegisterClassW(&wc) || GetLastError() == ERROR_CLASS_ALREADY_EXISTS) return true;
    NKDbgPrintfW(L"[aygshell] RegisterClassW(%s) failed, error=%u\r\n", className, GetLastError());
    return false;
}

HFONT CreateShellFont(int pixelHeight, bool bold) {
    // Tahoma is the phone's interface face; the device's font replacements map it.
    return CreateFontW(-pixelHeight, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE,
                       DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY,
                       DEFAULT_PITCH | FF_SWISS, L"Tahoma");
}

LRESULT NoActivate(HWND) { return MA_NOACTIVATE; }

LRESULT PaintedWhole(HWND) { return 1; }

}  // namespace shellwnd
