// Taps and clicks on rows, the toggling of group items, the activation
// callbacks.
#include "listwin/list_select.h"

#include "listwin/list_draw.h"
#include "listwin/list_onoff.h"
#include "listwin/list_state.h"
#include "platform/base/kernel.h"

namespace {

bool Inside(const ListItem& item, int y) {
    const RECT& rc = ItemRect(item);
    return rc.top < y && y < rc.bottom;
}

}  // namespace

BOOL RunActivateCallbacks() {
    for (UINT i = 0; g_pItems && i < g_nItems; ++i)
        if (g_pItems[i].pfnOnActivate) g_pItems[i].pfnOnActivate(AppState.hwndItem, static_cast<int>(i), 0, 0);
    return TRUE;
}

BOOL OnTap(int, int y) {
    if (!g_pItems) return TRUE;
    const int yList = y + g_iCurTop;
    for (UINT i = 0; i < g_nItems; ++i) {
        const ListItem& row = g_pItems[i];
        if (row.bHidden == 1 || !Inside(row, yList)) continue;
        if (row.nKind == IK_SUBTITLE || row.nKind == IK_GROUP || row.bDisabled == 1) continue;
        if (g_iCurSel != static_cast<int>(i)) g_iCurSel = static_cast<int>(i);
        MarkCell(static_cast<int>(i));
        break;
    }
    return TRUE;
}

BOOL OnClick(int, int y) {
    if (!g_pItems) return TRUE;
    const int yList = y + g_iCurTop;
    HWND hwnd = AppState.hwndItem;
    for (UINT i = 0; i < g_nItems; ++i) {
        ListItem& row = g_pItems[i];
        if (!Inside(row, yList) || row.nKind == IK_SUBTITLE || row.bDisabled != 0) continue;
        if (row.szLaunchPath[0])
            CeCreateProcess(row.szLaunchPath, row.szLaunchArgs);
        else if (row.pfnOnClick)
            row.pfnOnClick(hwnd, static_cast<int>(i), 0, 0);
        if (row.nKind == IK_GROUP && row.pItems) {
            for (int k = 0; k < row.nItems; ++k) {
                ListItem& item = row.pItems[k];
                if (Inside(item, yList) && item.nKind != IK_SUBTITLE && item.bDisabled == 0) {
                    ToggleSubItem(hwnd, static_cast<int>(i), k, &item);
                    break;
                }
            }
        }
        break;
    }
    return TRUE;
}

LRESULT ToggleSubItem(HWND hwnd, int iRow, int iItem, void* pItem) {
    if (!pItem || !g_pItems || iRow < 0 || static_cast<UINT>(iRow) >= g_nItems) return 0;
    ListItem& row = g_pItems[iRow];
    if (!row.pItems || iItem < 0 || iItem >= row.nItems) return 0;
    ListItem& item = row.pItems[iItem];
    if (item.bRadio == 1) {
        for (int j = 0; j < row.nItems; ++j)
            if (row.pItems[j].nRadioGroup == item.nRadioGroup) row.pItems[j].bOn = j == iItem ? 1 : 0;
    } else {
        item.bOn = item.bOn == 0 ? 1 : 0;
    }
    if (g_hdcItem) RefreshOnOffStatus(g_hdcItem, g_iCurTop);
    InvalidateRect(hwnd, nullptr, FALSE);
    return 0;
}
