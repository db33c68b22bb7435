// Window and dialog procedures as constant (message, handler) tables: first
// match wins, every other message goes to the default handling exactly once.
// Handlers take typed arguments through message crackers, as windowsx.h's
// do: Cracked<WM_COMMAND, OnCommand> is the row of OnCommand(hwnd, id, code,
// hwndCtl). A handler that hands the message on whole keeps the raw form.
// No exception leaves a handler: the window manager that called it knows none.
#pragma once
#include <windows.h>

#include <cstddef>
#include <type_traits>

#include "platform/base/debug_out.h"

using MessageHandlerFn = LRESULT (*)(HWND, UINT, WPARAM, LPARAM);
struct MessageHandler {
    UINT msg;
    MessageHandlerFn handler;
};

// A message the window takes and does nothing with: result 0.
inline LRESULT IgnoreMessage(HWND, UINT, WPARAM, LPARAM) { return 0; }

// How a message's wParam and lParam become a handler's arguments. A handler
// of the window alone, LRESULT (HWND), fits every message; the messages
// below have crackers for the arguments this program's handlers use.
template <UINT Msg>
struct MessageCracker {
    using Fn = void;  // none: such a handler takes the window alone or the raw message
};

template <>
struct MessageCracker<WM_COMMAND> {
    // code: the control's notification; 0 from a menu or a soft key.
    using Fn = LRESULT (*)(HWND hwnd, UINT id, UINT code, HWND hwndCtl);
    static LRESULT Call(Fn fn, HWND hwnd, WPARAM wParam, LPARAM lParam) {
        return fn(hwnd, LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
    }
};

template <>
struct MessageCracker<WM_ACTIVATE> {
    // state: WA_INACTIVE, WA_ACTIVE or WA_CLICKACTIVE.
    using Fn = LRESULT (*)(HWND hwnd, UINT state, HWND hwndOther, BOOL bMinimized);
    static LRESULT Call(Fn fn, HWND hwnd, WPARAM wParam, LPARAM lParam) {
        return fn(hwnd, LOWORD(wParam), reinterpret_cast<HWND>(lParam), HIWORD(wParam));
    }
};

template <>
struct MessageCracker<WM_SETTINGCHANGE> {
    // flag: the SPI_ value that changed (SETTINGCHANGE_RESET after a turn of
    // the screen), as wide as wParam; section: a changed area's name, or null.
    using Fn = LRESULT (*)(HWND hwnd, UINT_PTR flag, LPCWSTR section);
    static LRESULT Call(Fn fn, HWND hwnd, WPARAM wParam, LPARAM lParam) {
        return fn(hwnd, wParam, reinterpret_cast<LPCWSTR>(lParam));
    }
};

// The pen in the window's pixels, x and y as signed 16-bit values (as
// GET_X_LPARAM and GET_Y_LPARAM read them): left of or above a window that
// holds the capture they are negative.
struct PenMessageCracker {
    using Fn = LRESULT (*)(HWND hwnd, POINT pt);
    static LRESULT Call(Fn fn, HWND hwnd, WPARAM, LPARAM lParam) {
        return fn(hwnd, POINT{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))});
    }
};
template <>
struct MessageCracker<WM_LBUTTONDOWN> : PenMessageCracker {};
template <>
struct MessageCracker<WM_LBUTTONUP> : PenMessageCracker {};
template <>
struct MessageCracker<WM_MOUSEMOVE> : PenMessageCracker {};

// A pen coordinate's 16 bits read unsigned, as some of the device's handlers
// read them: negative ones become 32768 and above.
inline LONG UnsignedPenCoordinate(LONG v) { return static_cast<WORD>(v); }

// A key: its virtual-key code, the repeat count and the scan code and flags
// (the high word of lParam).
template <>
struct MessageCracker<WM_KEYDOWN> {
    using Fn = LRESULT (*)(HWND hwnd, UINT vk, int repeat, UINT flags);
    static LRESULT Call(Fn fn, HWND hwnd, WPARAM wParam, LPARAM lParam) {
        return fn(hwnd, static_cast<UINT>(wParam), LOWORD(lParam), HIWORD(lParam));
    }
};

// A character, as the keyboard or the input panel typed it.
template <>
struct MessageCracker<WM_CHAR> {
    using Fn = LRESULT (*)(HWND hwnd, WCHAR ch, int repeat);
    static LRESULT Call(Fn fn, HWND hwnd, WPARAM wParam, LPARAM lParam) {
        return fn(hwnd, static_cast<WCHAR>(wParam), LOWORD(lParam));
    }
};

template <>
struct MessageCracker<WM_TIMER> {
    using Fn = LRESULT (*)(HWND hwnd, UINT_PTR id);
    static LRESULT Call(Fn fn, HWND hwnd, WPARAM wParam, LPARAM) { return fn(hwnd, wParam); }
};

template <>
struct MessageCracker<WM_PRINTCLIENT> {
    using Fn = LRESULT (*)(HWND hwnd, HDC hdc);
    static LRESULT Call(Fn fn, HWND hwnd, WPARAM wParam, LPARAM) { return fn(hwnd, reinterpret_cast<HDC>(wParam)); }
};

template <>
struct MessageCracker<WM_CAPTURECHANGED> {
    // hwndNew: the window that takes the capture, or null.
    using Fn = LRESULT (*)(HWND hwnd, HWND hwndNew);
    static LRESULT Call(Fn fn, HWND hwnd, WPARAM, LPARAM lParam) { return fn(hwnd, reinterpret_cast<HWND>(lParam)); }
};

template <>
struct MessageCracker<WM_HOTKEY> {
    using Fn = LRESULT (*)(HWND hwnd, int id);
    static LRESULT Call(Fn fn, HWND hwnd, WPARAM wParam, LPARAM) { return fn(hwnd, static_cast<int>(wParam)); }
};

template <UINT Msg, auto Handler>
LRESULT CrackMessage(HWND hwnd, UINT, WPARAM wParam, LPARAM lParam) {
    using Fn = decltype(Handler);
    if constexpr (std::is_same_v<Fn, LRESULT (*)(HWND)>) {
        return Handler(hwnd);
    } else {
        static_assert(std::is_same_v<Fn, typename MessageCracker<Msg>::Fn>,
                      "the handler's arguments are not what MessageCracker gives for this message");
        return MessageCracker<Msg>::Call(Handler, hwnd, wParam, lParam);
    }
}

// The table row of a typed handler: the message and the handler behind its cracker.
template <UINT Msg, auto Handler>
inline constexpr MessageHandler Cracked{Msg, &CrackMessage<Msg, Handler>};

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

// A window procedure: the handler's result, or DefWindowProcW's.
template <size_t N>
LRESULT DispatchMessageTable(const MessageHandler (&table)[N], HWND hwnd, UINT msg, WPARAM wParam,
                             LPARAM lParam) {
    if (MessageHandlerFn handler = FindMessageHandler(table, msg))
        return CallMessageHandler(handler, hwnd, msg, wParam, lParam);
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

// A dialog procedure. The window procedure of a dialog is the dialog
// manager's, which calls this first: a message of the table is handled here
// and its handler's result becomes the message's (through DWLP_MSGRESULT;
// WM_INITDIALOG's is returned as it is, FALSE keeping the focus the handler
// set). Every other message is left to the dialog manager (FALSE), whose
// default ends in DefWindowProcW: calling that here too would run the
// default twice, and its WM_CLOSE would destroy a modal dialog instead of
// ending its modal run.
template <size_t N>
INT_PTR DispatchDialogTable(const MessageHandler (&table)[N], HWND hwnd, UINT msg, WPARAM wParam,
                            LPARAM lParam) {
    MessageHandlerFn handler = FindMessageHandler(table, msg);
    if (!handler) return FALSE;
    LRESULT lr = CallMessageHandler(handler, hwnd, msg, wParam, lParam);
    if (msg == WM_INITDIALOG) return lr;
    SetWindowLongPtrW(hwnd, DWLP_MSGRESULT, lr);
    return TRUE;
}
