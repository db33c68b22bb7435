// Message-box geometry: the layout table, the scale-1 layout and the text
// rectangles.
#include "msgbox/notification_layout.h"

#include <algorithm>
#include <initializer_list>

#include "core/app_state.h"
#include "core/screen_profile.h"
#include "msgbox/notification_state.h"
#include "platform/base/debug_out.h"
#include "platform/base/registry.h"

namespace {

constexpr int kShellBarBase = 26;  // the status bar above the box and the soft-key bar below it

int Half(int v) { return v / 2; }  // truncates toward zero, as the table does
// Halving a coordinate of the scale-2 box: floor, so sizes stay whole.
int HalfDown(int v) { return v >= 0 ? v / 2 : -((1 - v) / 2); }

RECT Rect(int l, int t, int r, int b) { return RECT{l, t, r, b}; }

RECT Offset(RECT rc, int dx, int dy) {
    OffsetRect(&rc, dx, dy);
    return rc;
}

RECT Halved(const RECT& rc) {
    return Rect(HalfDown(rc.left), HalfDown(rc.top), HalfDown(rc.right), HalfDown(rc.bottom));
}

NotificationLayout Map(const NotificationLayout& l, RECT (*f)(const RECT&)) {
    return {f(l.panel), f(l.title), f(l.firstButton), f(l.secondButton), f(l.singleButton), f(l.body)};
}

NotificationLayout Translated(NotificationLayout l, int dx, int dy) {
    for (RECT* rc : {&l.panel, &l.title, &l.firstButton, &l.secondButton, &l.singleButton, &l.body})
        *rc = Offset(*rc, dx, dy);
    return l;
}

// The 320 x 480 class in portrait: plain pixels, whatever the scale and image.
NotificationLayout FixedPortraitLayout() {
    return {Rect(9, 80, 311, 330),    Rect(9, 86, 311, 124),   Rect(28, 264, 146, 318),
            Rect(174, 264, 292, 318), Rect(101, 264, 219, 318), Rect(22, 136, 298, 244)};
}

// The box's window: the screen less the status bar and the soft-key bar.
int WindowHeight(const NotificationLayoutInput& in) { return in.screenHeight - 2 * kShellBarBase * in.scale; }

// Moves a panel that would reach under the soft-key bar up to the middle of
// the box's window; one that fits stays where the table puts it.
RECT FitPanel(const RECT& panel, int windowHeight) {
    if (panel.bottom <= windowHeight) return panel;
    return Offset(panel, 0, std::max(0, Half(windowHeight - (panel.bottom - panel.top))) - panel.top);
}

// The layout table. d(v) scales exactly the term written inside it.
NotificationLayout TableLayout(const NotificationLayoutInput& in) {
    const int s = in.scale;
    auto d = [s](int v) { return v / (2 / s); };
    const int W = in.screenWidth, H = in.screenHeight, P = in.portraitWidth;
    const int bw = in.buttonWidth, bh = in.buttonHeight;
    const bool type6 = IsScreen320x480(in.screenType);
    const bool portrait = W < H;
    if (type6 && portrait) return FixedPortraitLayout();

    NotificationLayout l{};
    if (type6) {
        const int h = d(150), f = d(-65);
        l.panel = Rect(h + d(10), f + d(51), h + d(478), f + d(397));
        l.title = Rect(h + d(10), f + 65, h + d(471), f + d(125));
        l.firstButton = Rect(h + d(38), f + 446, h + d(38) + bw, f + d(446) + bh);
        l.secondButton = Rect(h + d(247), f + d(446), h + d(247) + bw, f + d(446) + bh);
        int i = Half(P - bw);
        l.singleButton = Rect(h + d(i), f + d(446), h + d(bw) + i, f + d(446) + bh);
        l.body = Rect(h + d(18), f + d(268), h + d(417) + 18, f + d(250) + 268);
        return l;
    }
    // The table's body and button rows are those of the 480 x 800 screen,
    // the one where they lie in its panel: there the portrait panel's corner
    // is (6, 201) and the landscape one's (146, 41), where h = d(150) and
    // f = d(-65) put them. Elsewhere they move with the panel; as
    // positions on the screen they left the panel (the buttons below a
    // 480 x 640 portrait panel, past a 640 x 480 landscape one's right edge).
    if (portrait) {
        int x0 = Half(W - 468), y0 = Half(H - d(52) - 346);
        l.panel = FitPanel(Rect(d(x0), d(y0), d(x0 + 468), d(y0 + 346)), WindowHeight(in));
        int x1 = Half(W - 461);
        l.title = Rect(d(x1), l.panel.top + d(12), d(x1 + 461), l.panel.top + d(72));
        const int u = l.panel.left - d(6), v = l.panel.top - d(201);
        l.firstButton = Rect(u + d(38), v + d(446), u + d(38) + bw, v + d(446) + bh);
        l.secondButton = Rect(u + d(247), v + d(446), u + d(247) + bw, v + d(446) + bh);
        int i = Half(P - bw);
        l.singleButton = Rect(u + d(i), v + d(446), u + d(bw + i), v + d(446) + bh);
        l.body = Rect(u + d(18), v + d(268), u + d(435), v + d(518));
    } else {
        int x0 = Half(W - 508), y0 = Half(H - d(52) - 346);
        l.panel = FitPanel(Rect(d(x0), d(y0), d(x0 + 508), d(y0 + 346)), WindowHeight(in));
        int x1 = Half(W - 500);
        l.title = Rect(d(x1), l.panel.top + d(14), d(x1 + 500), l.panel.top + d(74));
        const int h = l.panel.left + d(4), f = l.panel.top - d(106);
        l.firstButton = Rect(h + d(45), f + 354, h + d(45) + bw, f + d(354) + bh);
        l.secondButton = Rect(h + d(254), f + d(354), h + d(254) + bw, f + d(354) + bh);
        int i = Half(P - bw + 14);
        l.singleButton = Rect(h + d(i), f + d(354), h + d(bw) + i, f + d(354) + bh);
        l.body = Rect(h + d(14), f + d(172), h + d(417) + 14, f + d(250) + 172);
    }
    return l;
}

// Puts a box laid out elsewhere with its panel centred in the box's window
// (the screen less the shell's two bars); never above or left of its corner.
NotificationLayout CentredInWindow(const NotificationLayout& ref, int windowWidth, int windowHeight) {
    int pw = ref.panel.right - ref.panel.left, ph = ref.panel.bottom - ref.panel.top;
    int x = std::max(0, Half(windowWidth - pw)), y = std::max(0, Half(windowHeight - ph));
    return Translated(ref, x - ref.panel.left, y - ref.panel.top);
}

// Scale 1. The table's scale-1 results put the panel and title partly off a
// 240 x 320 screen and some tops below their bottoms; its scale-2 results
// are whole. So: the scale-2 box of the 480 x 640 (or 640 x 480) screen it
// was drawn for, with a button image twice the size, halved, and the
// first button's 10-pixel shift of scale 1. On the 320 x 480 class the
// landscape column is no better at either scale; there the fixed portrait
// box, made for that class's images and fonts, is used. Either is centred
// in what the box's window shows, so the soft-key bar hides none of it.
NotificationLayout ScaleOneLayout(const NotificationLayoutInput& in) {
    const bool portrait = in.screenWidth < in.screenHeight;
    NotificationLayout ref;
    if (IsScreen320x480(in.screenType)) {
        ref = FixedPortraitLayout();
    } else {
        NotificationLayoutInput big{};
        big.screenWidth = portrait ? 480 : 640;
        big.screenHeight = portrait ? 640 : 480;
        big.portraitWidth = 480;
        big.scale = 2;
        big.screenType = in.screenType;
        big.buttonWidth = 2 * in.buttonWidth;
        big.buttonHeight = 2 * in.buttonHeight;
        ref = Map(TableLayout(big), Halved);
        OffsetRect(&ref.firstButton, 10, 0);
    }
    return CentredInWindow(ref, in.screenWidth, WindowHeight(in));
}

// Without the released-button picture the buttons keep the size the
// screen's own skin gives them (and are drawn plainly), so that the box can
// still be answered.
NotificationLayoutInput WithButtonSize(NotificationLayoutInput in) {
    if (in.buttonWidth > 0 && in.buttonHeight > 0) return in;
    const SIZE size = in.scale == 2                        ? SIZE{195, 48}
                      : IsScreen320x480(in.screenType) ? SIZE{118, 54}
                                                       : SIZE{88, 24};
    in.buttonWidth = size.cx;
    in.buttonHeight = size.cy;
    return in;
}

}  // namespace

NotificationLayout LayoutNotification(const NotificationLayoutInput& given) {
    const NotificationLayoutInput in = WithButtonSize(given);
    bool fixed = IsScreen320x480(in.screenType) && in.screenWidth < in.screenHeight;
    if (in.scale == 2 || fixed) return TableLayout(in);
    return ScaleOneLayout(in);
}

int ReadNotificationScale() { return registry::ReadDisplayScale(); }

void setTemplateNotification() {
    NKDbgPrintfW(L"[WFN] setTemplateNotification()\r\n");
    NotificationUIInfo* pInfo = g_pNotificationUIInfo;
    if (!pInfo) return;
    int s = ReadNotificationScale();
    AppState.nScale = s;
    pInfo->pressedButton = kNBNoButton;

    BITMAP bm{};
    if (g_hbmNBButtonUp && GetObjectW(g_hbmNBButtonUp, sizeof(bm), &bm) != sizeof(bm)) bm = BITMAP{};

    NotificationLayoutInput in{};
    in.screenWidth = g_nNBScreenWidth;
    in.screenHeight = g_nNBScreenHeight;
    in.portraitWidth = pInfo->portraitWidth;
    in.scale = s;
    in.screenType = CurrentScreen().nScreenType;
    in.buttonWidth = bm.bmWidth;
    in.buttonHeight = bm.bmHeight;
    NotificationLayout l = LayoutNotification(in);
    pInfo->panelRect = l.panel;
    pInfo->titleRect = l.title;
    pInfo->firstButtonRect = l.firstButton;
    pInfo->secondButtonRect = l.secondButton;
    pInfo->singleButtonRect = l.singleButton;
    pInfo->bodyRect = l.body;
}

int FirstTitleSize(int scale, int screenType) {
    return IsScreen320x480(screenType) ? 24 : 18 * scale;
}

int SmallestTitleSize(int scale) { return 8 * scale; }

int NextTitleSize(int* pCounter, int scale) {
    *pCounter -= scale;
    int size = *pCounter * scale;
    return size >= SmallestTitleSize(scale) ? size : 0;
}

RECT CaptionRect(const RECT& title, int scale) {
    RECT rc = title;
    InflateRect(&rc, -4 * scale, 0);
    return rc;
}

RECT BodyTextRect(const RECT& body, int scale, int screenType) {
    RECT rc = body;
    if (!IsScreen320x480(screenType)) InflateRect(&rc, -14 * scale, -(11 * scale + Half(scale)));
    return rc;
}

RECT InputFrameRect(const RECT& panel, int textBottom, int scale, int screenType) {
    RECT rc;
    rc.left = panel.left + 20 * scale;
    rc.top = textBottom + 3 * scale;
    rc.bottom = textBottom + 28 * scale;
    rc.right = IsScreen320x480(screenType) ? panel.right - 20 : rc.left + 192 * scale;
    return rc;
}

RECT InputEditRect(const RECT& frame, int scale) {
    RECT rc = frame;
    InflateRect(&rc, -2 * scale, -2 * scale);
    return rc;
}

bool IsInsideStrict(const RECT& rc, int x, int y) {
    return rc.left < x && x < rc.right && rc.top < y && y < rc.bottom;
}
