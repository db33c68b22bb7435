// List input: taps and clicks reported by the scroll component, toggling of
// group items, focus of the edit fields with the input panel, activation,
// the turn of the screen and the pen messages.
#include "listwin/list_input.h"

#include "core/app_state.h"
#include "core/screen_profile.h"
#include "listwin/list_draw.h"
#include "listwin/list_edit.h"
#include "listwin/list_items.h"
#include "listwin/list_onoff.h"
#include "listwin/list_paint.h"
#include "listwin/list_panel_room.h"
#include "listwin/list_scroll.h"
#include "platform/aygshell/aygshell.h"
#include "platform/base/kernel.h"
#include "platform/base/message_table.h"

namespace {

bool Inside(const ListItem& item, int y) {
    const RECT& rc = ItemRect(item);
    return rc.top < y && y < rc.bottom;
}

void OnEditSetFocus(HWND hwnd) {
    int i = 0, k = 0;
    if (!FindTextBox(GetFocus(), &i, &k)) return;
    ListItem& item = g_pItems[i].pItems[k];
    if (item.bOn == 0) ToggleSubItem(hwnd, i, k, &item);
    SHSipPreference(SHSipSetLayout(kSipLayoutPhone), SIP_UP);
    // The panel may have been up already: the field still needs room.
    FitListToInputPanel(hwnd);
}

// As the device reads the pen: x always unsigned, y unsigned on the pen
// down (it lands inside the window) and signed while the list holds the
// capture (the pen may leave the window upwards).
POINT DevicePenPoint(POINT pt, bool bSignedY) {
    return POINT{UnsignedPenCoordinate(pt.x), bSignedY ? pt.y : UnsignedPenCoordinate(pt.y)};
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

LRESULT OnItemCommand(HWND hwnd, UINT id, UINT code, HWND) {
    if (id == IDOK) {
        EndDialog(hwnd, 1);
        return 1;
    }
    switch (code) {
    case EN_SETFOCUS:
        OnEditSetFocus(hwnd);
        break;
    case EN_KILLFOCUS:
        SHSipPreference(GetFocus(), SIP_FORCEDOWN);
        FitListToInputPanel(hwnd);
        break;
    default:
        break;
    }
    return 0;
}

LRESULT OnItemActivate(HWND hwnd, UINT state, HWND, BOOL) {
    if (state != WA_ACTIVE) return 0;
    RunActivateCallbacks();
    if (g_iCurTop != 0 && g_iCurTop != g_iBmpHeight - g_iScreenHeight && ActiveScroll()) ResyncScroll(hwnd);
    return 0;
}

LRESULT OnItemSettingChange(HWND hwnd, UINT_PTR flag, LPCWSTR) {
    // The input panel went up or down.
    if (flag == SPI_SETSIPINFO) {
        FitListToInputPanel(hwnd);
        return 0;
    }
    // A turn: the box the list would be made with in the new orientation,
    // the 320 x 480 screen's included.
    WindowBox box = ListWindowBox();
    SetWindowPos(hwnd, nullptr, box.x, box.y, box.cx, box.cy, SWP_NOZORDER);
    g_iCurTop = 0;
    g_bBmpReady = FALSE;
    InvalidateRect(hwnd, nullptr, TRUE);
    // A raised panel keeps the field being typed in sight in the new one.
    FitListToInputPanel(hwnd);
    return 0;
}

LRESULT OnItemPenDown(HWND hwnd, POINT pt) {
    // An edit field that had the focus loses it (and lowers the input panel).
    SetFocus(hwnd);
    SetCapture(hwnd);
    ScrollPenDown(DevicePenPoint(pt, false));
    return 0;
}

LRESULT OnItemPenUp(HWND hwnd, POINT pt) {
    SetFocus(hwnd);
    ReleaseCapture();
    ScrollPenUp(DevicePenPoint(pt, true));
    return 0;
}

LRESULT OnItemPenMove(HWND, POINT pt) {
    ScrollPenMove(DevicePenPoint(pt, true));
    return 0;
}
