// The shell library (aygshell on the device): soft-key bar, input panel,
// dialog set-up, activation and setting-change helpers, the default screen
// area of a top-level window and the phone application's window.
// Structures keep the device's field order; pointers and handles take the
// width of this platform. Every call writes "[aygshell]" lines to the debug
// output on bad arguments; none of them throws or asserts.
#pragma once
#include <windows.h>

#include "platform/aygshell/image_file.h"  // SHLoadImageFile belongs to this library too

// ---------------------------------------------------------------------------
// Soft-key bar

struct SHMENUBARINFO {
    DWORD cbSize;          // sizeof(SHMENUBARINFO), or 36 (the device's size)
    HWND hwndParent;       // owner: receives WM_COMMAND, destroys the bar
    DWORD dwFlags;         // SHCMBF_*
    UINT nToolBarId;       // RCDATA menu-bar resource in hInstRes; 0 = no keys
    HINSTANCE hInstRes;    // module of the resource and of the key texts
    int nBmpId;            // not used: the keys are text only
    int cBmpImages;        // not used
    HWND hwndMB;           // out: the bar
    COLORREF clrBk;        // bar colour with SHCMBF_COLORBK
};
using PSHMENUBARINFO = SHMENUBARINFO*;

constexpr DWORD kCeSizeofSHMENUBARINFO = 36;

#define SHCMBF_EMPTYBAR 0x0001       // no keys, whatever nToolBarId says
#define SHCMBF_HIDDEN 0x0002         // created hidden
#define SHCMBF_HIDESIPBUTTON 0x0004  // no input-panel key between the soft keys
#define SHCMBF_COLORBK 0x0008        // clrBk is the bar colour
#define SHCMBF_HMENU 0x0010          // a menu handle in nToolBarId: not supported, fails

// Creates the soft-key bar: a top-level window of class "SoftKeyBarClass"
// owned by hwndParent, along the bottom 26*s pixels of the screen (s = 2 at
// 192 logical pixels, else 1), with up to two keys from the menu-bar resource
// (left, right) and, unless SHCMBF_HIDESIPBUTTON, an input-panel key between
// them. A tap (press and release on the same key) or the soft-key keys F1
// (left) and F2 (right) send WM_COMMAND(command, 0) to hwndParent. The keys
// reach the bar through a message hook of the creating thread, installed with
// its first bar and removed with its last; any message loop works unchanged.
// TRUE and hwndMB filled on success; FALSE (hwndMB null) on a bad structure,
// a missing or malformed resource, or a failed window creation.
BOOL SHCreateMenuBar(SHMENUBARINFO* pmbi);

// A key of a bar, for callers and tests that need to look: iKey 0 = left,
// 1 = right, 2 = the input-panel key. FALSE when the window is not a bar of
// this process or the key does not exist.
struct SoftKeyInfo {
    WCHAR szText[64];
    UINT uCommand;
    BOOL bEnabled;
    BOOL bPressed;
    RECT rcKey;  // in the bar's client coordinates
};
BOOL SHGetSoftKeyInfo(HWND hwndMB, int iKey, SoftKeyInfo* pInfo);

// ---------------------------------------------------------------------------
// Input panel

typedef enum tagSIPSTATE {
    SIP_UP = 0,         // show the keypad
    SIP_DOWN = 1,       // hide it (here at once, like SIP_FORCEDOWN)
    SIP_FORCEDOWN = 2,  // hide it
    SIP_UNCHANGED = 3,  // leave it
    SIP_INPUTDIALOG = 4 // not supported, FALSE
} SIPSTATE;

// The keypad: a top-level window of class "SipWndClass" that never takes
// activation, placed just above the soft-key bar across the screen. Its first
// child is the key area (1-9, *, 0, #, +, p, backspace, hide); a key types
// into the window that has the keyboard focus on the thread that last raised
// the panel (WM_CHAR; backspace as VK_BACK). As on the device it is the
// shell's window, in the shell's process, asked by message; where no shell
// runs the process makes its own once it has made a soft-key bar or raised
// it. hwnd is not used (the device passes the window the preference is for;
// null is fine). TRUE unless the state is unknown, the panel cannot be made
// or the shell does not answer within 5 s.
BOOL SHSipPreference(HWND hwnd, SIPSTATE st);
// Whether the input panel is up.
BOOL SHSipIsUp();

// What the panel covers, as SHSipInfo(SPI_GETSIPINFO) tells the device's
// programs. When the panel goes up or down, every top-level window of the
// thread it types for gets WM_SETTINGCHANGE with wParam SPI_SETSIPINFO.
#ifndef SPI_SETSIPINFO
#define SPI_SETSIPINFO 224
#define SPI_GETSIPINFO 225
#endif
#define SIPF_OFF 0x00000000
#define SIPF_ON 0x00000001  // the panel is up

struct SIPINFO {
    DWORD cbSize;            // sizeof(SIPINFO)
    DWORD fdwFlags;          // out: SIPF_ON or SIPF_OFF
    RECT rcVisibleDesktop;   // out: the work area less what the panel covers
    RECT rcSipRect;          // out: the panel, in screen coordinates
    DWORD dwImDataSize;      // no input-method data here: 0
    void* pvImData;
};

// SPI_GETSIPINFO fills the SIPINFO at pvParam (uiParam and fWinIni unused).
// FALSE for another action or a record of the wrong size.
BOOL SHSipInfo(UINT uiAction, UINT uiParam, PVOID pvParam, UINT fWinIni);

// The private message the key area takes: wParam kSipLayoutPhone (all keys)
// or kSipLayoutDigits (digits only: "+", "*", "#" and "p" are greyed and do
// nothing, for numeric password fields). Answers 0; other values are ignored.
constexpr UINT kSipMsgSetLayout = 0x6A68;
constexpr WPARAM kSipLayoutPhone = 1;
constexpr WPARAM kSipLayoutDigits = 5;

// The input panel (the shell's "SipWndClass", or the process's own) asked for
// a layout: the private message goes to its key area, answer unused. The
// panel's window, or null when there is no panel (nothing is sent then).
HWND SHSipSetLayout(WPARAM wLayout);

// ---------------------------------------------------------------------------
// Dialog set-up

struct SHINITDLGINFO {
    DWORD dwMask;  // SHIDIM_FLAGS
    HWND hDlg;
    DWORD dwFlags; // SHIDIF_*
};
using PSHINITDLGINFO = SHINITDLGINFO*;

#define SHIDIM_FLAGS 0x0001
#define SHIDIF_DONEBUTTON 0x0001          // title-bar button: there is no title bar here
#define SHIDIF_SIZEDLG 0x0002             // the work area (screen less status and soft-key bars)
#define SHIDIF_SIZEDLGFULLSCREEN 0x0004   // the whole screen
#define SHIDIF_SIPDOWN 0x0008             // input panel forced down
#define SHIDIF_FULLSCREENNOMENUBAR 0x0010 // the screen less the status bar
#define SHIDIF_EMPTYMENU 0x0020           // an empty soft-key bar for the dialog
#define SHIDIF_WANTSCROLLBAR 0x0040       // nothing here
#define SHIDIF_CANCELBUTTON 0x0080        // title-bar button: there is no title bar here

// Sizes the dialog as the flags ask (a child dialog within its parent's
// client area) and remembers the flags, so SHHandleWMSettingChange can size
// it again after the screen turns. TRUE; FALSE on a null structure or window.
BOOL SHInitDialog(SHINITDLGINFO* pshidi);

// ---------------------------------------------------------------------------
// Activation and setting changes

struct SHACTIVATEINFO {
    DWORD cbSize;           // not checked: callers may pass a zero-filled record
    HWND hwndLastFocus;     // focus inside the window when it was deactivated
    UINT fSipUp : 1;        // the panel was up while the window was active
    UINT fSipOnDeactivation : 1;
    UINT fActive : 1;
    UINT fReserved : 29;
};
using PSHACTIVATEINFO = SHACTIVATEINFO*;

#define SHA_INPUTDIALOG 0x00000001

// wParam of the WM_SETTINGCHANGE the shell sends every top-level window when
// the screen has turned (or another display setting changed).
#define SETTINGCHANGE_RESET 0x3002

// WM_ACTIVATE: on deactivation remember the focus and whether the input panel
// was up, and lower it (it types into this thread's focus); on activation
// raise it again if it was up. TRUE; FALSE on a null record.
BOOL SHHandleWMActivate(HWND hwnd, WPARAM wParam, LPARAM lParam, SHACTIVATEINFO* psai,
                        DWORD dwFlags);
// WM_SETTINGCHANGE: a window sized by SHInitDialog is sized again for the
// current screen, and a raised input panel is placed again. TRUE; FALSE on a
// null window.
BOOL SHHandleWMSettingChange(HWND hwnd, WPARAM wParam, LPARAM lParam, SHACTIVATEINFO* psai);

// ---------------------------------------------------------------------------
// Screen areas

// The status bar and the soft-key bar each take 26*s pixels.
int SHGetBarHeight();
// The area the device gives a top-level window created with CW_USEDEFAULT:
// the screen less the status bar at the top and the soft-key bar at the
// bottom. Win32's CW_USEDEFAULT means something else, so windows that want
// the device's default ask for this rectangle. TRUE; FALSE on a null pointer.
BOOL SHGetDefaultMainArea(RECT* prc);

// ---------------------------------------------------------------------------
// Phone application

// The phone application's own message: the voice-mail number has changed
// (it reads the new one from the SIM or the registry itself).
#ifndef WM_CPROG_UPDATEVMAIL_NUMBER
#define WM_CPROG_UPDATEVMAIL_NUMBER 0x8019
#endif

constexpr DWORD kShAppPhone = 3;  // dwWhich of the phone application

// The main window of a platform application: dwWhich 3 (kShAppPhone) with
// dwReserved 0 gives the phone application's window (class "MSCprog"), or
// null when it is not running. Any other dwWhich gives null.
HWND SHGetPhoneAppWindow(DWORD dwWhich, DWORD dwReserved);
