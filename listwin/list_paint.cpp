// The list image and the list window's paint: building the image for the
// current orientation, copying the visible slice, filling the gaps.
#include "listwin/list_paint.h"

#include <algorithm>

#include "core/app_state.h"
#include "core/trace.h"
#include "listwin/list_draw.h"
#include "listwin/list_edit.h"
#include "listwin/list_onoff.h"
#include "listwin/list_panel_room.h"
#include "listwin/list_row_paint.h"
#include "listwin/list_scroll.h"
#include "listwin/list_select.h"
#include "listwin/list_state.h"
#include "platform/base/scoped.h"

namespace {

// What g_hdcItem held before the list image was selected into it.
HGDIOBJ g_hBmpItemOld = nullptr;

// A fresh, empty image of the current orientation in g_hdcItem.
bool MakeItemImage(HDC hdc) {
    ReleaseItemImage();
    const ScreenProfile& screen = CurrentScreen();
    const int o = screen.o;
    g_hdcItem = CreateCompatibleDC(hdc);
    if (!g_hdcItem) {
        WriteTrace(L"OnItemPaint : g_hdcItem == NULL");
        return false;
    }
    const int width = screen.nWidth[o], height = g_rcExtent[o].bottom + 1;
    HBITMAP bmp = width > 0 && height > 0 ? CreateCompatibleBitmap(hdc, width, height) : nullptr;
    (o == kLandscape ? g_hBmpItemL : g_hBmpItem) = bmp;
    if (!bmp) {
        WriteTrace(o == kLandscape ? L"OnItemPaint : g_hBmpItemL == NULL" : L"OnItemPaint : g_hBmpItem == NULL");
        return false;
    }
    g_hBmpItemOld = SelectObject(g_hdcItem, bmp);
    SetBkMode(g_hdcItem, TRANSPARENT);
    // Rows leave the right column and the pixels between them untouched: the
    // background there too, not whatever the new bitmap held.
    FillSolid(g_hdcItem, RECT{0, 0, width, height}, ListBackgroundColour());
    return true;
}

// Steps 1 to 3 of a paint into any context; false when no image can be made.
bool ComposeList(HWND hwnd, HDC hdc) {
    GetClientRect(hwnd, &g_rcItemClient);
    if (!g_bBmpReady) {
        if (!MakeItemImage(hdc)) return false;
        g_iCurTop = 0;
        const RECT& rc = g_rcItemClient;
        BuildItemBitmap(hwnd, hdc, rc.left, rc.top, rc.right, rc.bottom);
        // A field being typed above the input panel stays in sight.
        BringFocusedFieldIntoView();
        RunActivateCallbacks();
        ConfigScrollAfterBuild();
    }
    BlitItemView(hdc);
    DrawFieldFocus(hdc);
    return true;
}

// The program cannot show its list: it closes.
void CloseForNoImage() {
    if (AppState.hwndMain) SendMessageW(AppState.hwndMain, WM_CLOSE, 0, 0);
}

}  // namespace

void ReleaseItemImage() {
    if (g_hdcItem && g_hBmpItemOld) SelectObject(g_hdcItem, g_hBmpItemOld);
    g_hBmpItemOld = nullptr;
    if (g_hBmpItem) DeleteObject(g_hBmpItem);
    g_hBmpItem = nullptr;
    if (g_hBmpItemL) DeleteObject(g_hBmpItemL);
    g_hBmpItemL = nullptr;
    if (g_hdcItem) DeleteDC(g_hdcItem);
    g_hdcItem = nullptr;
}

LRESULT OnItemPaint(HWND hwnd) {
    bool shown;
    {
        scoped::Paint paint(hwnd);
        shown = ComposeList(hwnd, paint.hdc());
    }
    // Painting has ended before the close takes the window away.
    if (!shown) {
        CloseForNoImage();
        return 0;
    }
    StepScrollAfterPaint(hwnd);
    PlaceEditControls();
    return 0;
}

// A print request copies the list into the caller's context; the list image
// itself is made for the window's own context (a bare memory context would
// make it monochrome), and a print request never closes the program.
LRESULT OnItemPrintClient(HWND hwnd, HDC hdc) {
    if (!hdc) return 0;
    if (!g_bBmpReady) {
        scoped::WindowDC wnd(hwnd);
        if (!wnd.get() || !ComposeList(hwnd, wnd.get())) return 0;
    }
    ComposeList(hwnd, hdc);
    return 0;
}

BOOL BuildItemBitmap(HWND hwnd, HDC hdc, int, int, int right, int bottom) {
    g_iScreenHeight = bottom;
    g_iBmpHeight = g_rcExtent[CurrentScreen().o].bottom + 1;
    for (UINT i = 0; g_pItems && i < g_nItems; ++i)
        if (g_pItems[i].bHidden != 1) PaintItem(hwnd, g_hdcItem, static_cast<int>(i));
    RefreshOnOffStatus(g_hdcItem, g_iCurTop);
    BitBlt(hdc, 0, 0, right, g_iBmpHeight, g_hdcItem, 0, g_iCurTop, SRCCOPY);
    g_bBmpReady = TRUE;
    return TRUE;
}

BOOL BlitItemView(HDC hdc) {
    const RECT& rc = g_rcItemClient;
    const COLORREF bg = ListBackgroundColour();
    if (g_iCurTop < 0) FillSolid(hdc, RECT{rc.left, rc.top, rc.right, -g_iCurTop}, bg);
    if (g_iCurTop > g_iBmpHeight - g_iScreenHeight)
        FillSolid(hdc, RECT{rc.left, g_iBmpHeight - g_iCurTop, rc.right, rc.bottom}, bg);
    // Only rows the image has are copied, so the fills stay wherever the
    // slice reaches past either end, whatever the platform's copy does there.
    const int srcTop = std::max(0, g_iCurTop);
    const int srcBottom = std::min(g_iBmpHeight, g_iCurTop + g_iScreenHeight);
    if (g_hdcItem && srcBottom > srcTop)
        BitBlt(hdc, 0, srcTop - g_iCurTop, rc.right, srcBottom - srcTop, g_hdcItem, 0, srcTop, SRCCOPY);
    return TRUE;
}
