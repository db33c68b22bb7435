// Window procedures as constant (message, handler) tables: first match wins,
// every other message goes to DefWindowProcW exactly once.
#pragma once
#include <windows.h>

#include <cstddef>

using MessageHandlerFn = LRESULT (*)(HWND, UINT, WPARAM, LPARAM);
struct MessageHandler {
    UINT msg;
    MessageHandlerFn handler;
};

template <size_t N>
LRESULT DispatchMessageTable(const MessageHandler (&table)[N], HWND hwnd, UINT msg, WPARAM wParam,
                             LPARAM lParam) {
    for (const auto& entry : table)
        if (entry.msg == msg) return entry.handler(hwnd, msg, wParam, lParam);
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}
