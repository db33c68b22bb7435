// Row and item rectangles from the skin image heights, the scale and the
// long-side extension. Every row after the first starts one portrait line
// image below the row before it, in landscape too.
#include "listwin/list_layout.h"

#include "core/app_state.h"
#include "core/screen_profile.h"
#include "core/skin_resources.h"

namespace {

constexpr LONG k320x480ItemHeight = 40;
constexpr LONG kItemHeight = 30;   // base units, times the scale

LONG ImageHeight(int index) { return AppState.SkinImages[index].bm.bmHeight; }

// Items of a group: plain pixels on a 320 x 480 screen.
LONG ItemHeight(const ScreenProfile& screen) {
    return screen.b320x480 ? k320x480ItemHeight : kItemHeight * screen.nScale;
}

LONG RowHeight(const ListItem& row, const ScreenProfile& screen, int o) {
    switch (row.nKind) {
    case IK_SUBTITLE:
        return ImageHeight(o == kPortrait ? kSkinPSubTitle : kSkinLSubTitle);
    case IK_GROUP:
        return row.nItems * ItemHeight(screen);
    default:
        return ImageHeight(o == kPortrait ? kSkinPButtonFocus : kSkinLButtonFocus) -
               (screen.b320x480 ? 2 : 0);
    }
}

void LayoutGroupItems(ListItem& row, const ScreenProfile& screen) {
    if (!row.pItems) return;
    const LONG itemHeight = ItemHeight(screen);
    for (int o = kPortrait; o <= kLandscape; ++o) {
        LONG top = row.rcItem[o].top;
        for (int k = 0; k < row.nItems; ++k) {
            RECT& rc = row.pItems[k].rcItem[o];
            rc = RECT{0, top, screen.nWidth[o], top + itemHeight};
            top = rc.bottom;
        }
    }
}

}  // namespace

BOOL LayoutRowArray(ListItem* pRows, UINT nRows) {
    if (!pRows) return FALSE;
    const ScreenProfile& screen = CurrentScreen();
    // The same result on a second layout as on the first.
    g_rcExtent[kPortrait] = RECT{};
    g_rcExtent[kLandscape] = RECT{};
    for (UINT i = 0; i < nRows; ++i) {
        ListItem& row = pRows[i];
        if (row.bHidden) continue;
        for (int o = kPortrait; o <= kLandscape; ++o) {
            LONG top = i == 0 ? 0 : g_rcExtent[o].bottom + ImageHeight(kSkinPLine);
            row.rcItem[o] = RECT{0, top, screen.nWidth[o], top + RowHeight(row, screen, o)};
        }
        if (row.nKind == IK_GROUP) LayoutGroupItems(row, screen);
        g_rcExtent[kPortrait] = row.rcItem[kPortrait];
        g_rcExtent[kLandscape] = row.rcItem[kLandscape];
    }
    return TRUE;
}

BOOL LayoutItems() { return LayoutRowArray(g_pItems, g_nItems); }
