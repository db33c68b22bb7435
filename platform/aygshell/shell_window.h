// What the shell library's own windows share: the message-table lookup, the
// module they are registered in, and the face of their texts.
#pragma once
#include <windows.h>

#include <cstddef>

namespace shellwnd {

using HandlerFn = LRESULT (*)(HWND, UINT, WPARAM, LPARAM);
struct Handler {
    UINT msg;
    HandlerFn fn;
};

// First match wins; every other message goes to DefWindowProcW.
template <size_t N>
LRESULT Dispatch(const Handler (&table)[N], HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    for (const auto& entry : table)
        if (entry.msg == msg) return entry.fn(hwnd, msg, wParam, lParam);
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

// The module holding this code (the classes are registered there, not in the
// caller's resource module).
HINSTANCE Module();
// Registers a class of the library once; true when it is registered.
bool RegisterClassOnce(LPCWSTR className, WNDPROC proc, size_t cbWndExtra);
// The shell's face at a pixel height, bold or not; the caller owns it.
HFONT CreateShellFont(int pixelHeight, bool bold);

// Tapped windows of the shell never take activation from the program.
LRESULT NoActivate(HWND, UINT, WPARAM, LPARAM);

}  // namespace shellwnd
