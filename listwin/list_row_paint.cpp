// PaintItem: one row into a context, every kind, from the skin images
// and the list fonts; text-box items get their edit control here.
#include "listwin/list_row_paint.h"

#include "core/app_state.h"
#include "core/skin_resources.h"
#include "core/ui_config.h"
#include "listwin/list_draw.h"
#include "listwin/list_edit.h"
#include "platform/base/scoped.h"

namespace {

LONG Metric(int i) { return AppState.UIMetrics[i]; }
bool UISettings() { return AppState.IsEnableUISettings == 1; }

// The rectangle primitive with the null pen leaves out the right column and
// the bottom row of what it is given.
void ClearRow(HDC hdc, const RECT& rc, LONG bottom) {
    scoped::Brush brush(CreateSolidBrush(ListBackgroundColour()));
    scoped::Select pen(hdc, GetStockObject(NULL_PEN));
    scoped::Select fill(hdc, brush.get());
    Rectangle(hdc, rc.left, rc.top, rc.right, bottom);
}

void StretchSkin(HDC hdc, int image, const RECT& rc) {
    const SkinImage& img = AppState.SkinImages[image];
    if (!img.hdcMem) return;
    StretchBlt(hdc, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, img.hdcMem, 0, 0,
               img.bm.bmWidth, img.bm.bmHeight, SRCCOPY);
}

void PaintSubTitle(HDC hdc, const ListItem& row, const RECT& rc, LPCWSTR t1) {
    const ScreenProfile& screen = CurrentScreen();
    const int s = screen.nScale;
    SetTextColor(hdc, row.bDisabled == 1 ? kListGreyColour : kListWhite);
    StretchSkin(hdc, screen.o == kLandscape ? kSkinLSubTitle : kSkinPSubTitle, rc);
    DrawListText(hdc, AppState.hFontLarge, t1, 3 * s, screen.b320x480 ? rc.top + 1 : rc.top + 2 * s);
}

void PaintGroupItem(HWND hwndList, HDC hdc, ListItem& item) {
    const ScreenProfile& screen = CurrentScreen();
    const int s = screen.nScale;
    const RECT& rc = ItemRect(item);
    SetTextColor(hdc, item.bDisabled == 1 ? kListGreyColour : kListTextColour);
    switch (item.nKind) {
    case IK_GROUP_CLICKBOX:
        DrawListText(hdc, AppState.hFontPrimary, item.szText, 30 * s, rc.top + 9 * s);
        break;
    case IK_GROUP_LABEL: {
        int x = item.bRadio == 1 ? SkinWidth(kSkinButtonOn) + 2 * s
                : UISettings()   ? Metric(kMetricListLeftPadding)
                                 : s;
        DrawListText(hdc, AppState.hFontPrimary, item.szText, x, rc.top + 8 * s);
        break;
    }
    case IK_GROUP_TEXTBOX: {
        int x = item.bRadio == 1 ? SkinWidth(kSkinButtonOn) + 9 * s
                : UISettings()   ? Metric(kMetricListLeftPadding) + Metric(kMetricListComboboxLeftPadding)
                                 : 8 * s;
        PlaceTextBox(hwndList, item, x, rc.top + 6 * s, screen.b320x480 ? 20 : 15 * s, rc);
        break;
    }
    default:
        break;
    }
}

}  // namespace

void DrawRowTexts(HDC hdc, const ListItem& row, LPCWSTR t1, LPCWSTR t2, int top) {
    const ScreenProfile& screen = CurrentScreen();
    const int s = screen.nScale;
    const RECT& rc = ItemRect(row);
    if (row.nKind == IK_SWITCH) {
        DrawListText(hdc, AppState.hFontThin, AppState.szOffText, rc.right - 50 * s, top + 24 * s);
        DrawListText(hdc, AppState.hFontThin, AppState.szOnText, rc.right - 22 * s, top + 24 * s);
    }
    int y = (row.nKind == IK_CLICKBOX || row.nKind == IK_BUTTON) ? top + 12 * s : top + 4 * s;
    DrawListText(hdc, AppState.hFontPrimary, t1, 4 * s, y, screen.b320x480 ? AppState.hFontSecondary : nullptr,
                 kType6WideText);
    if (row.nKind == IK_SWITCH || row.nKind == IK_CLICKBOX)
        DrawListText(hdc, AppState.hFontSecondary, t2, 4 * s, top + 24 * s);
}

BOOL PaintItem(HWND hwndList, HDC hdc, int iRow) {
    if (!g_pItems || iRow < 0 || static_cast<UINT>(iRow) >= g_nItems || !hdc) return FALSE;
    ListItem& row = g_pItems[iRow];
    if (row.bHidden == 1) return TRUE;
    const RECT rc = ItemRect(row);
    WCHAR t1[kTextLen], t2[kTextLen];
    RowTexts(row, t1, t2);

    ClearRow(hdc, rc, row.nKind == IK_SUBTITLE ? rc.bottom : rc.bottom + 1);
    if (row.nKind == IK_SUBTITLE) {
        PaintSubTitle(hdc, row, rc, t1);
    } else if (row.nKind == IK_GROUP) {
        for (int k = 0; row.pItems && k < row.nItems; ++k) PaintGroupItem(hwndList, hdc, row.pItems[k]);
    } else {
        SetTextColor(hdc, row.bDisabled == 1 ? kListGreyColour : kListTextColour);
        DrawRowTexts(hdc, row, t1, t2, rc.top);
    }

    const SkinImage& line = AppState.SkinImages[CurrentScreen().o == kLandscape ? kSkinLLine : kSkinPLine];
    if (line.hdcMem)
        BitBlt(hdc, 0, rc.bottom, line.bm.bmWidth, line.bm.bmHeight, line.hdcMem, 0, 0, SRCCOPY);
    return TRUE;
}
