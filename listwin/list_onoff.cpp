// The on/off images of the rows (switches, buttons, check boxes, radio
// items, input frames) and the focus mark drawn straight onto the screen.
#include "listwin/list_onoff.h"

#include "core/app_state.h"
#include "core/skin_resources.h"
#include "core/trace.h"
#include "core/ui_config.h"
#include "listwin/list_draw.h"
#include "listwin/list_edit.h"
#include "listwin/list_row_paint.h"
#include "listwin/list_state.h"
#include "platform/base/scoped.h"

namespace {

unsigned HandleBits(HDC hdc) { return static_cast<unsigned>(reinterpret_cast<UINT_PTR>(hdc)); }

RECT SizedAt(LONG x, LONG y, int image) { return RECT{x, y, x + SkinWidth(image), y + SkinHeight(image)}; }

void ClearWhite(HDC hdc, const RECT& rc) { FillSolid(hdc, rc, kListWhite); }

// The place of the on/off image of a row of kind 4, 3 or 1, at a top.
bool RowSwitchRect(const ListItem& row, LONG top, RECT* prc) {
    const int s = CurrentScreen().nScale;
    const RECT& rc = ItemRect(row);
    switch (row.nKind) {
    case IK_SWITCH:
        *prc = SizedAt(rc.right - 44 * s, top + 9 * s, kSkinSwitchOn);
        return true;
    case IK_BUTTON:
        *prc = SizedAt(rc.right - 25 * s, top + 13 * s, kSkinButtonOff);
        return true;
    case IK_CLICKBOX:
        *prc = SizedAt(rc.right - 25 * s, top + 13 * s, kSkinClickBoxOn);
        return true;
    default:
        return false;
    }
}

int RowSwitchImage(const ListItem& row, bool bAllowDisabled) {
    bool on = row.bOn == 1;
    switch (row.nKind) {
    case IK_SWITCH:
        return on ? kSkinSwitchOn : kSkinSwitchOff;
    case IK_BUTTON:
        return on ? kSkinButtonOn : kSkinButtonOff;
    default:
        if (bAllowDisabled && row.bDisabled == 1) return on ? kSkinClickBoxOnDisable : kSkinClickBoxOffDisable;
        return on ? kSkinClickBoxOn : kSkinClickBoxOff;
    }
}

void DrawRadio(HDC hdc, const ListItem& item, LONG top) {
    const int s = CurrentScreen().nScale;
    RECT rc{s, top + 5 * s, s + SkinWidth(kSkinButtonOn), top + 5 * s + SkinHeight(kSkinButtonOn)};
    DrawSkinFile(item.bOn == 1 ? kSkinButtonOn : kSkinButtonOff, hdc, rc);
}

void RefreshGroupItem(HDC hdc, const ListItem& item) {
    const int s = CurrentScreen().nScale;
    const RECT& rc = ItemRect(item);
    switch (item.nKind) {
    case IK_GROUP_CLICKBOX: {
        RECT box{30 * s - SkinWidth(kSkinClickBoxOn), rc.top + 6 * s, 30 * s,
                 rc.top + 6 * s + SkinHeight(kSkinClickBoxOn)};
        ClearWhite(hdc, box);
        DrawSkinFile(item.bOn == 1 ? kSkinClickBoxOn : kSkinClickBoxOff, hdc, box);
        break;
    }
    case IK_GROUP_LABEL:
        if (item.bRadio == 1) DrawRadio(hdc, item, rc.top);
        break;
    case IK_GROUP_TEXTBOX: {
        if (item.bRadio == 1) DrawRadio(hdc, item, rc.top);
        const RECT frame = InputFrameRect(item);
        ClearWhite(hdc, frame);
        DrawSkinFile(kSkinPInputBox, hdc, frame);
        break;
    }
    default:
        break;
    }
}

}  // namespace

RECT InputFrameRect(const ListItem& item) {
    const int s = CurrentScreen().nScale;
    const RECT& rc = ItemRect(item);
    LONG x0;
    if (item.bRadio == 1)
        x0 = 5 * s + SkinWidth(kSkinButtonOn);
    else
        x0 = AppState.IsEnableUISettings == 1 ? AppState.UIMetrics[kMetricListLeftPadding] : 4 * s;
    const LONG y0 = AppState.IsEnableUISettings == 1 ? rc.top : rc.top + 2 * s;
    return RECT{x0, y0, rc.right - x0, y0 + SkinHeight(kSkinPInputBox)};
}

void DrawFieldFocus(HDC hdc) {
    int iRow = 0, iItem = 0;
    if (!hdc || !FindTextBox(GetFocus(), &iRow, &iItem)) return;
    const int s = CurrentScreen().nScale;
    RECT rc = InputFrameRect(g_pItems[iRow].pItems[iItem]);
    OffsetRect(&rc, 0, -g_iCurTop);
    // Drawn like the field's own frame, rounded as it is, in the accent
    // colour and twice as strong.
    scoped::Pen pen(CreatePen(PS_INSIDEFRAME, 2 * s, kListFocusColour));
    scoped::Select selPen(hdc, pen.get());
    scoped::Select selBrush(hdc, GetStockObject(NULL_BRUSH));
    RoundRect(hdc, rc.left, rc.top, rc.right, rc.bottom, 8 * s, 8 * s);
}

BOOL RefreshOnOffStatus(HDC hdc, int iCurTop) {
    WriteTrace(L"RefreshOnOffStatus+");
    WriteTrace(L"RefreshOnOffStatus : hdc = 0x%x, iCurTop = %d", HandleBits(hdc), iCurTop);
    if (!hdc) {
        WriteTrace(L"[err]:RefreshOnOffStatus(), no context to draw into.");
        WriteTrace(L"RefreshOnOffStatus-");
        return FALSE;
    }
    for (UINT i = 0; g_pItems && i < g_nItems; ++i) {
        const ListItem& row = g_pItems[i];
        RECT rc;
        if (RowSwitchRect(row, ItemRect(row).top, &rc)) {
            ClearWhite(hdc, rc);
            DrawSkinFile(RowSwitchImage(row, true), hdc, rc);
        } else if (row.nKind == IK_GROUP) {
            for (int k = 0; row.pItems && k < row.nItems; ++k) RefreshGroupItem(hdc, row.pItems[k]);
        }
    }
    WriteTrace(L"RefreshOnOffStatus-");
    return TRUE;
}

BOOL RefreshOnOffStatus(HDC hdc, int iCurrent, int iCurTop, BOOL bRectangle) {
    WriteTrace(L"RefreshOnOffStatus+");
    WriteTrace(L"RefreshOnOffStatus : hdc = 0x%x, iCurrent = %d, iCurTop = %d, bRectangle = %d",
               HandleBits(hdc), iCurrent, iCurTop, bRectangle);
    if (hdc && g_pItems && iCurrent >= 0 && static_cast<UINT>(iCurrent) < g_nItems) {
        const ListItem& row = g_pItems[iCurrent];
        RECT rc;
        if (RowSwitchRect(row, ItemRect(row).top - iCurTop, &rc)) {
            if (row.nKind != IK_SWITCH)
                WriteTrace(L"RefreshOnOffStatus : rectSwitch.left = %d, rectSwitch.top = %d, "
                           L"rectSwitch.right = %d, rectSwitch.bottom = %d",
                           rc.left, rc.top, rc.right, rc.bottom);
            if (bRectangle) ClearWhite(hdc, rc);
            // Marked rows are never disabled.
            DrawSkinFile(RowSwitchImage(row, false), hdc, rc);
        }
    }
    WriteTrace(L"RefreshOnOffStatus-");
    return TRUE;
}

void ComposeMarkedCell(HDC hdc, int iRow, const RECT& client) {
    if (!g_pItems || iRow < 0 || static_cast<UINT>(iRow) >= g_nItems) return;
    const ListItem& row = g_pItems[iRow];
    const RECT& rc = ItemRect(row);
    WCHAR t1[kTextLen], t2[kTextLen];
    RowTexts(row, t1, t2);

    FillSolid(hdc, client, kListWhite);
    SetBkMode(hdc, TRANSPARENT);
    if (g_hdcItem)
        BitBlt(hdc, 0, 0, client.right - client.left, client.bottom - client.top, g_hdcItem, 0, g_iCurTop,
               SRCCOPY);

    LONG y = rc.top - g_iCurTop;
    const ScreenProfile& screen = CurrentScreen();
    const SkinImage& focus = AppState.SkinImages[screen.o == kLandscape ? kSkinLButtonFocus : kSkinPButtonFocus];
    if (focus.hdcMem) {
        if (screen.b320x480)
            BitBlt(hdc, rc.left, y - 1, rc.right - rc.left, rc.bottom - rc.top + 2, focus.hdcMem, 0, 0, SRCCOPY);
        else
            BitBlt(hdc, rc.left, y, rc.right - rc.left, rc.bottom - rc.top, focus.hdcMem, 0, 0, SRCCOPY);
    }
    SetTextColor(hdc, kListWhite);
    DrawRowTexts(hdc, row, t1, t2, y);
    if (row.nKind == IK_SWITCH || row.nKind == IK_BUTTON || row.nKind == IK_CLICKBOX)
        RefreshOnOffStatus(hdc, iRow, g_iCurTop, FALSE);
}

BOOL MarkCell(int iRow) {
    WriteTrace(L"MarkCell+");
    HWND hwnd = AppState.hwndItem;
    if (!hwnd) {
        WriteTrace(L"MarkCell-");
        return TRUE;
    }
    scoped::WindowDC window(hwnd);
    RECT client{};
    GetClientRect(hwnd, &client);
    int cx = client.right - client.left, cy = client.bottom - client.top;
    if (window.get() && cx > 0 && cy > 0) {
        scoped::MemDC surface(CreateCompatibleDC(window.get()));
        scoped::Bitmap bitmap(CreateCompatibleBitmap(window.get(), cx, cy));
        if (surface && bitmap) {
            scoped::Select selected(surface.get(), bitmap.get());
            ComposeMarkedCell(surface.get(), iRow, client);
            BitBlt(window.get(), 0, 0, cx, cy, surface.get(), 0, 0, SRCCOPY);
        } else {
            WriteTrace(L"[err]:MarkCell(), no surface of %d x %d.", cx, cy);
        }
    }
    WriteTrace(L"MarkCell-");
    return TRUE;
}
