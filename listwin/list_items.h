// The list rows: the ListItem record, the row kinds, the process-wide list
// state, building the rows with their settings (LoadSetting) and freeing them.
#pragma once
#include <windows.h>

#include "core/app_state.h"
#include "core/screen_profile.h"
#include "settings/settings_rows.h"

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
    WCHAR szText[kTextLen];     // a text box's value as read
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

// The rows of this program: one group row of four items.
constexpr UINT kRowCount = 1;
constexpr int kRowSettings = 0;
// Items of the group: each label above its text box (the text boxes'
// indices are the settings' own, settings/settings_rows.h).
constexpr int kItemTextMessageLabel = 0;
constexpr int kItemVoiceMailLabel = 2;
constexpr int kSettingsItemCount = 4;

extern ListItem* g_pItems;
extern const UINT g_nItems;
extern RECT g_rcExtent[2];  // the last row laid out, portrait and landscape
extern int g_iCurSel;       // row last marked by a tap; -1 none

// Item iItem of the settings group, or null while the rows do not exist.
ListItem* GetSettingsItem(int iItem);

// Builds the rows and reads the two numbers into them. Always TRUE.
BOOL LoadSetting();

// Frees the row array and every sub-item block, clearing the pointers.
void ReleaseListItems();
