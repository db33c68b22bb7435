// Window procedures as constant (message, handler) tables: first match wins,
// every other message goes to DefWindowProcW exactly once. No exception
// leaves a handler: the window manager that called it knows none.
#pragma once
#include <windows.h>

#include <cstddef>

#include "platform/base/debug_out.h"

using MessageHandlerFn = LRESULT (*)(HWND, UINT, WPARAM, LPARAM);
struct MessageHandler {
    UINT msg;
    MessageHandlerFn handler;
};

// The handler's result; 0, with a trace line, when it failed with an
// exception (an allocation that could not be made).
inline LRESULT CallMessageHandler(MessageHandlerFn handler, HWND hwnd, UINT msg, WPARAM wParam,
                                  LPARAM lParam) noexcept {
    try {
        return handler(hwnd, msg, wParam, lParam);
    } catch (...) {
        NKDbgPrintfW(L"[err]: message 0x%04X to window 0x%p failed (out of memory).\r\n", msg, hwnd);
        return 0;
    }
}

// The handler of msg in the table, or null.
template <size_t N>
MessageHandlerFn FindMessageHandler(const MessageHandler (&table)[N], UINT msg) {
    for (const auto& entry : table)
        if (entry.msg == msg) return entry.handler;
    return nullptr;
}

template <size_t N>
LRESULT DispatchMessageTable(const MessageHandler (&table)[N], HWND hwnd, UINT msg, WPARAM wParam,
                             LPARAM lParam) {
    if (MessageHandlerFn handler = FindMessageHandler(table, msg))
        return CallMessageHandler(handler, hwnd, msg, wParam, lParam);
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}
