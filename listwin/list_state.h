// The list's state: the ListItem record and its kinds, the rows, the list
// image and the scroll component, process-wide (one list per process). It
// includes nothing of the list, so every list file can read the state
// without reaching into another.
#pragma once
#include <windows.h>

#include "core/app_state.h"
#include "platform/orvexscroll/scroll_contract.h"

// Row kinds 0 to 5; kinds 6 to 8 are items inside a group row. Any other
// row kind (2 included) is a plain text row.
enum ItemKind {
    IK_SUBTITLE = 0,
    IK_CLICKBOX = 1,
    IK_BUTTON = 3,
    IK_SWITCH = 4,
    IK_GROUP = 5,
    IK_GROUP_CLICKBOX = 6,
    IK_GROUP_LABEL = 7,
    IK_GROUP_TEXTBOX = 8,
};

// Called with (list window, row index, 0, 0).
typedef void (*ListItemProc)(HWND hwndList, int iRow, WPARAM wParam, LPARAM lParam);

// An edit control's place in list-image coordinates.
struct EditBox {
    LONG x;
    LONG y;
    LONG cx;
    LONG cy;
};

// One row of the list, or one item inside a group row. All zero when made.
struct ListItem {
    WCHAR szName[kTextLen];
    int nKind;                  // ItemKind
    UINT uTextId;               // string id of the main text; 0: szText
    WCHAR szText[kTextLen];     // a text box's value as shown when its field is made
    UINT uSubTextId;            // string id of the second line; 0: szSubText
    WCHAR szSubText[kTextLen];
    WCHAR szLaunchPath[kTextLen];
    WCHAR szLaunchArgs[kTextLen];
    BOOL bDisabled;
    ListItemProc pfnOnClick;
    RECT rcItem[2];             // portrait, landscape; list-image coordinates
    BOOL bOn;
    BOOL bHidden;
    ListItemProc pfnOnActivate;
    int nRadioGroup;
    int nItems;                 // items of a group row
    HWND hwndEdit;              // a text box's edit control, once painted
    WCHAR szId[kTextLen];
    BOOL bRadio;
    ListItem* pItems;           // a group row's items, owned by the row
    EditBox rcEdit[2];          // portrait, landscape
};

// The rows.
extern ListItem* g_pItems;
extern const UINT g_nItems;
extern RECT g_rcExtent[2];  // the last row laid out, portrait and landscape
extern int g_iCurSel;       // row last marked by a tap; -1 none

// The list image. Only one of the two bitmaps exists at a time.
extern HDC g_hdcItem;          // holds the current orientation's list image
extern HBITMAP g_hBmpItem;     // portrait image
extern HBITMAP g_hBmpItemL;    // landscape image
extern BOOL g_bBmpReady;       // the image of the current orientation is built
extern RECT g_rcItemClient;    // the list window's client area at the last paint
extern int g_iBmpHeight;       // extent bottom + 1
extern int g_iScreenHeight;    // client bottom at the last build
extern int g_iCurTop;          // scroll offset: the image row at the window's top

// The scroll component of the sibling library.
extern int g_nScrollKind;          // 0: first library's component; 1: only the second loaded
extern HMODULE g_hScrollDll;       // "\windows\OrvexScroll.dll"
extern HMODULE g_hScrollDll2;      // "\windows\OrvexScroll2.dll"
extern ScrollInstance* g_scroll;   // instance of the first library's component
extern ScrollInstance* g_scroll2;  // instance of the second library's component
