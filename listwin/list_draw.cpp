// Shared pieces of the list's drawing: colours, text, fills, skin files.
#include "listwin/list_draw.h"

#include "core/app_state.h"
#include "core/draw_image.h"
#include "core/draw_kit.h"
#include "core/skin_resources.h"
#include "platform/base/scoped.h"

COLORREF ListBackgroundColour() {
    return AppState.bHasBackgroundColor == 1 ? AppState.BackgroundColorSetting : kListWhite;
}

int SkinWidth(int i) { return AppState.SkinImages[i].bm.bmWidth; }
int SkinHeight(int i) { return AppState.SkinImages[i].bm.bmHeight; }

void FillSolid(HDC hdc, const RECT& rc, COLORREF colour) {
    if (rc.right <= rc.left || rc.bottom <= rc.top) return;
    scoped::Brush brush(CreateSolidBrush(colour));
    if (brush) FillRect(hdc, &rc, brush.get());
}

// The text convention: measured as one line from its anchor, then drawn in
// the measured rectangle.
int DrawListText(HDC hdc, HFONT font, LPCWSTR text, int x, int y, HFONT wideFont, int wideLimit) {
    if (!text || !text[0]) return 0;
    scoped::Select selected(hdc, font);
    const SIZE line = MeasureLine(hdc, text);
    RECT rc{x, y, x + line.cx, y + line.cy};
    // Glyphs here may ink a pixel or two past the measured advance (a final
    // colon at 12 pixels vanished): the measured box does not clip.
    const UINT flags = kTextDrawAnchored | DT_NOCLIP;
    if (wideFont && line.cx > wideLimit) {
        scoped::Select wide(hdc, wideFont);
        DrawTextW(hdc, text, -1, &rc, flags);
    } else {
        DrawTextW(hdc, text, -1, &rc, flags);
    }
    return line.cx;
}

BOOL DrawSkinFile(int i, HDC hdc, const RECT& rc) {
    return DrawImageFile(AppState.pImagingFactory, kSkinImageFiles[i], hdc, rc.left, rc.top, rc.right,
                         rc.bottom);
}

namespace {

void PickText(UINT id, LPCWSTR own, WCHAR (&out)[kTextLen]) {
    out[0] = L'\0';
    if (id == 0)
        lstrcpynW(out, own, kTextLen);
    else if (LoadStringW(AppState.hInst, id, out, kTextLen) <= 0)
        out[0] = L'\0';
}

}  // namespace

void RowTexts(const ListItem& row, WCHAR (&t1)[kTextLen], WCHAR (&t2)[kTextLen]) {
    PickText(row.uTextId, row.szText, t1);
    PickText(row.uSubTextId, row.szSubText, t2);
}
