// The list's view above the input panel.
#include "listwin/list_panel_room.h"

#include <algorithm>

#include "core/screen_profile.h"
#include "listwin/list_draw.h"
#include "listwin/list_edit.h"
#include "listwin/list_scroll.h"
#include "listwin/list_state.h"
#include "platform/aygshell/aygshell.h"

namespace {

// The text-box item whose edit control has the focus, or null.
const ListItem* FocusedField() {
    int i = 0, k = 0;
    if (!FindTextBox(GetFocus(), &i, &k)) return nullptr;
    return &g_pItems[i].pItems[k];
}

// The list's height above a raised panel: no more than its box, and the
// whole box when the panel is down or leaves no room at all.
int HeightAbovePanel(HWND hwndList, const WindowBox& box) {
    SIPINFO si{};
    si.cbSize = sizeof(si);
    if (!SHSipInfo(SPI_GETSIPINFO, 0, &si, 0) || !(si.fdwFlags & SIPF_ON)) return box.cy;
    POINT top{box.x, box.y};
    ClientToScreen(GetParent(hwndList), &top);
    const int above = si.rcSipRect.top - top.y;
    return above > 0 ? std::min(above, box.cy) : box.cy;
}

// The offset that shows the field wholly in a view of cy rows, moving as
// little as it can; the field's top wins when the view is shorter than it.
int OffsetShowing(const ListItem& field, int iTop, int cy) {
    const RECT& rc = ItemRect(field);
    if (rc.bottom - iTop > cy) iTop = rc.bottom - cy;
    if (rc.top < iTop) iTop = rc.top;
    return iTop;
}

// The new offset reaches the scroll component, the picture and the fields.
void ApplyOffset(HWND hwndList, int iTop) {
    g_iCurTop = iTop;
    if (ActiveScroll())
        ResyncScroll(hwndList);
    else
        InvalidateRect(hwndList, nullptr, FALSE);
    PlaceEditControls();
}

}  // namespace

void FitListToInputPanel(HWND hwndList) {
    if (!hwndList || !GetParent(hwndList)) return;
    const WindowBox box = ListWindowBox();
    const ListItem* field = FocusedField();
    const int cy = field ? HeightAbovePanel(hwndList, box) : box.cy;
    RECT rc{};
    GetClientRect(hwndList, &rc);
    const bool resized = rc.bottom != cy;
    if (resized) SetWindowPos(hwndList, nullptr, box.x, box.y, box.cx, cy, SWP_NOZORDER | SWP_NOACTIVATE);
    if (!g_bBmpReady) return;

    int iTop = g_iCurTop;
    if (resized) {
        g_iScreenHeight = cy;
        // A view that grows back takes the offset into its resting range.
        iTop = std::clamp(iTop, 0, std::max(0, g_iBmpHeight - cy));
    }
    if (field) iTop = OffsetShowing(*field, iTop, cy);
    if (resized || iTop != g_iCurTop) ApplyOffset(hwndList, iTop);
}

void BringFocusedFieldIntoView() {
    if (const ListItem* field = FocusedField()) g_iCurTop = OffsetShowing(*field, g_iCurTop, g_iScreenHeight);
}
