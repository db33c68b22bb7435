// List input: focus of the edit fields with the input panel, activation,
// the turn of the screen and the pen messages.
#include "listwin/list_input.h"

#include "core/screen_profile.h"
#include "listwin/list_edit.h"
#include "listwin/list_field_input.h"
#include "listwin/list_panel_room.h"
#include "listwin/list_scroll.h"
#include "listwin/list_select.h"
#include "listwin/list_state.h"
#include "platform/aygshell/aygshell.h"
#include "platform/base/kernel.h"
#include "platform/base/message_table.h"

namespace {

void OnEditSetFocus(HWND hwnd) {
    int i = 0, k = 0;
    if (!FindTextBox(GetFocus(), &i, &k)) return;
    ListItem& item = g_pItems[i].pItems[k];
    if (item.bOn == 0) ToggleSubItem(hwnd, i, k, &item);
    // A tap asks for the keypad; the keys that moved the focus here need none.
    if (IsTapFocus()) SHSipPreference(SHSipSetLayout(kSipLayoutPhone), SIP_UP);
    // The panel may have been up already: the field still needs room.
    FitListToInputPanel(hwnd);
    // The focus frame moves with the focus.
    InvalidateRect(hwnd, nullptr, FALSE);
}

// As the device reads the pen: x always unsigned, y unsigned on the pen
// down (it lands inside the window) and signed while the list holds the
// capture (the pen may leave the window upwards).
POINT DevicePenPoint(POINT pt, bool bSignedY) {
    return POINT{UnsignedPenCoordinate(pt.x), bSignedY ? pt.y : UnsignedPenCoordinate(pt.y)};
}

}  // namespace

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
        InvalidateRect(hwnd, nullptr, FALSE);
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

LRESULT OnItemKeyDown(HWND, UINT vk, int, UINT) {
    // The list itself has the focus (a tap beside the fields): the D-pad and
    // Tab go to a field, as they go between the fields.
    FocusFieldOnKey(nullptr, vk);
    return 0;
}

LRESULT OnItemChar(HWND, WCHAR ch, int) {
    // Keys typed with no field focused (the input panel's, or the keyboard's)
    // go to the first field, at the end of its text.
    if (ch == L'\t') return 0;
    HWND hwndField = TextBoxNextTo(nullptr, false);
    if (!FocusFieldAtEnd(hwndField)) return 0;
    SendMessageW(hwndField, WM_CHAR, ch, 0);
    return 0;
}

LRESULT OnItemPenMove(HWND, POINT pt) {
    ScrollPenMove(DevicePenPoint(pt, true));
    return 0;
}
