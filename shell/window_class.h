// What the program's window procedures share: the (message, handler) table
// lookup and the common class attributes.
#pragma once
#include <windows.h>

#include <cstddef>

using MessageHandlerFn = LRESULT (*)(HWND, UINT, WPARAM, LPARAM);
struct MessageHandler {
    UINT msg;
    MessageHandlerFn handler;
};

// First match wins; every other message goes to DefWindowProcW.
template <size_t N>
LRESULT DispatchMessageTable(const MessageHandler (&table)[N], HWND hwnd, UINT msg, WPARAM wParam,
                             LPARAM lParam) {
    for (const auto& entry : table)
        if (entry.msg == msg) return entry.handler(hwnd, msg, wParam, lParam);
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

// Class style 3 (redraw on size changes), icon 101, no cursor, white brush.
// A class already registered by this module counts as success.
bool RegisterSkinClass(HINSTANCE hInstance, LPCWSTR className, WNDPROC proc);
