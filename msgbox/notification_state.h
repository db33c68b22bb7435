// The message box's process-wide state: the NotificationUIInfo record, the
// screen size it was laid out for, its window and its drawing surfaces. One
// box at a time, all on the thread that runs its modal loop.
#pragma once
#include <windows.h>

#include "platform/base/scoped.h"

constexpr int kNBTextLen = 260;
constexpr int kNBButtonTextLen = 32;

// Style word of ShowNotificationBox.
constexpr DWORD kNBButtonsMask = 0xF;
constexpr DWORD kNBOneButton = 1;
constexpr DWORD kNBTwoButtons = 2;
constexpr DWORD kNBTimeoutMask = 0xF0;
constexpr DWORD kNBTimeoutStyle = 0x20;
constexpr DWORD kNBInputMask = 0xF00;
constexpr DWORD kNBInputStyle = 0x100;

constexpr UINT_PTR kNBTimerId = 2333;

// pressedButton values.
constexpr int kNBNoButton = -1;
constexpr int kNBSingleButton = 0;
constexpr int kNBFirstButton = 1;
constexpr int kNBSecondButton = 2;

struct NotificationUIInfo {
    WCHAR caption[kNBTextLen];
    WCHAR text[kNBTextLen];
    WCHAR button1Text[kNBButtonTextLen];
    WCHAR button2Text[kNBButtonTextLen];
    int portraitWidth;
    DWORD timeoutMs;
    int pressedButton;
    DWORD style;
    RECT firstButtonRect;
    RECT secondButtonRect;
    RECT singleButtonRect;
    RECT panelRect;
    RECT titleRect;
    RECT bodyRect;
    int buttonMode;
};

inline bool IsInputStyle(DWORD style) { return (style & kNBInputMask) == kNBInputStyle; }

// Null while no box is up.
extern NotificationUIInfo* g_pNotificationUIInfo;
// The screen the box is laid out for.
extern int g_nNBScreenWidth;
extern int g_nNBScreenHeight;
extern WCHAR g_szNBTitle[kNBTextLen];
extern HWND g_hwndNotification;
extern HWND g_hwndNBMenuBar;
// The password field's text when an input-style box closed, else empty.
extern WCHAR g_szNBInputText[kNBTextLen];

extern scoped::Surface g_NBBack;     // what the window shows
extern scoped::Surface g_NBCompose;  // where the picture is built
extern scoped::Surface g_NBCapture;  // the darkened screen behind the box
extern HWND g_hwndNBBackdrop;
extern HBITMAP g_hbmNBButtonUp;  // its size is the buttons' size

// Re-reads the platform's screen size into g_nNBScreenWidth/Height.
void ReadNBScreenSize();
