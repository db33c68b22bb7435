// Row and item rectangles from the skin image heights, the scale and the
// long-side extension. Every row after the first starts one portrait line
// image below the row before it, in landscape too.
#include "listwin/list_layout.h"

#include "shell/core/app_state.h"
#include "shell/core/skin_resources.h"

namespace {

constexpr int kType6 = 6;          // 320 x 480 screens have constants of their own
constexpr LONG kType6ItemHeight = 40;
constexpr LONG kItemHeight = 30;   // base units, times the scale
constexpr LONG kBaseWidthPortrait = 240;
constexpr LONG kBaseWidthLong = 320;

LONG ImageHeight(int index) { return AppState.SkinImages[index].bm.bmHeight; }

struct Geometry {
    bool bType6;
    LONG s;
    LONG width[2];
    LONG itemHeight;
};

Geometry CurrentGeometry() {
    Geometry g{};
    g.bType6 = AppState.nScreenType == kType6;
    g.s = AppState.nScale;
    g.width[kPortrait] = (g.bType6 ? kBaseWidthLong : kBaseWidthPortrait) * g.s;
    g.width[kLandscape] = AppState.LandscapeXExtension + kBaseWidthLong * g.s;
    g.itemHeight = g.bType6 ? kType6ItemHeight : kItemHeight * g.s;
    return g;
}

LONG RowHeight(const ListItem& row, const Geometry& g, int o) {
    switch (row.nKind) {
    case IK_SUBTITLE:
        return ImageHeight(o == kPortrait ? kSkinPSubTitle : kSkinLSubTitle);
    case IK_GROUP:
        return row.nItems * g.itemHeight;
    default:
        return ImageHeight(o == kPortrait ? kSkinPButtonFocus : kSkinLButtonFocus) -
               (g.bType6 ? 2 : 0);
    }
}

void LayoutGroupItems(ListItem& row, const Geometry& g) {
    if (!row.pItems) return;
    for (int o = kPortrait; o <= kLandscape; ++o) {
        LONG top = row.rcItem[o].top;
        for (int k = 0; k < row.nItems; ++k) {
            RECT& rc = row.pItems[k].rcItem[o];
            rc = RECT{0, top, g.width[o], top + g.itemHeight};
            top = rc.bottom;
        }
    }
}

}  // namespace

BOOL LayoutRowArray(ListItem* pRows, UINT nRows) {
    if (!pRows) return FALSE;
    Geometry g = CurrentGeometry();
    // The same result on a second layout as on the first.
    g_rcExtent[kPortrait] = RECT{};
    g_rcExtent[kLandscape] = RECT{};
    for (UINT i = 0; i < nRows; ++i) {
        ListItem& row = pRows[i];
        if (row.bHidden) continue;
        for (int o = kPortrait; o <= kLandscape; ++o) {
            LONG top = i == 0 ? 0 : g_rcExtent[o].bottom + ImageHeight(kSkinPLine);
            row.rcItem[o] = RECT{0, top, g.width[o], top + RowHeight(row, g, o)};
        }
        if (row.nKind == IK_GROUP) LayoutGroupItems(row, g);
        g_rcExtent[kPortrait] = row.rcItem[kPortrait];
        g_rcExtent[kLandscape] = row.rcItem[kLandscape];
    }
    return TRUE;
}

BOOL LayoutItems() { return LayoutRowArray(g_pItems, g_nItems); }
