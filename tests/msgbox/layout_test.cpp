// Message-box geometry: the layout table's worked examples, the eight
// screens with their skins' buttons, the whole and centred scale-1 box, and
// every box inside its window and its parts inside its panel.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "msgbox/notification_layout.h"

namespace {

NotificationLayout Layout(int w, int h, int s, int type, int bw, int bh) {
    return LayoutNotification({w, h, w < h ? w : h, s, type, bw, bh});
}

std::string Str(const RECT& rc) {
    return std::to_string(rc.left) + "," + std::to_string(rc.top) + "," + std::to_string(rc.right) + "," +
           std::to_string(rc.bottom);
}

// Panel, title, first, second, single, body.
std::string Str(const NotificationLayout& l) {
    return Str(l.panel) + " " + Str(l.title) + " " + Str(l.firstButton) + " " + Str(l.secondButton) + " " +
           Str(l.singleButton) + " " + Str(l.body);
}

// Inside the box's window (the screen less two 26*s bars) the panel, and
// in the panel the caption's line, the body and the buttons, all whole, the
// first button left of the second.
testing::AssertionResult Fits(const NotificationLayout& l, int w, int h, int s) {
    const RECT window = {0, 0, w, h - 52 * s};
    auto inside = [](const RECT& rc, const RECT& outer) {
        RECT both;
        return rc.left < rc.right && rc.top < rc.bottom && IntersectRect(&both, &rc, &outer) && EqualRect(&both, &rc);
    };
    if (!inside(l.panel, window)) return testing::AssertionFailure() << "panel " << Str(l.panel) << " outside";
    for (const RECT& rc : {l.title, l.firstButton, l.secondButton, l.singleButton, l.body})
        if (!inside(rc, l.panel)) return testing::AssertionFailure() << Str(rc) << " outside the panel";
    if (l.firstButton.right >= l.secondButton.left) return testing::AssertionFailure() << "buttons overlap";
    return testing::AssertionSuccess();
}

// The eight screens of the device profiles, with their skins' buttons. The
// body and the buttons lie in the panel (vga's buttons were below it,
// vga-l's second past its right edge) and the panel in the window (the
// landscape one reached under the soft-key bar).
TEST(NotificationLayout, EightScreensWithTheirSkins) {
    struct {
        const char* profile;
        int w, h, s, type, bw, bh;
        const char* expected;
    } cases[] = {
        {"vga", 480, 640, 2, 3, 195, 48,
         "6,121,474,467 9,133,470,193 38,366,233,414 247,366,442,414 142,366,337,414 18,188,435,438"},
        {"vga-l", 640, 480, 2, 3, 195, 48,
         "66,15,574,361 70,29,570,89 115,263,310,311 324,263,519,311 219,263,414,311 84,81,501,331"},
        {"wvga", 480, 800, 2, 5, 195, 48,
         "6,201,474,547 9,213,470,273 38,446,233,494 247,446,442,494 142,446,337,494 18,268,435,518"},
        {"wvga-l", 800, 480, 2, 5, 195, 48,
         "146,15,654,361 150,29,650,89 195,263,390,311 404,263,599,311 299,263,494,311 164,81,581,331"},
        {"qvga", 240, 320, 1, 1, 88, 24,
         "3,47,237,220 4,53,235,83 29,170,117,194 123,170,211,194 76,170,164,194 9,81,217,206"},
        {"qvga-l", 320, 240, 1, 1, 88, 24,
         "33,7,287,180 35,14,285,44 67,131,155,155 162,131,250,155 114,131,202,155 42,40,250,165"},
        {"hvga", 320, 480, 1, 6, 118, 54,
         "9,80,311,330 9,86,311,124 28,264,146,318 174,264,292,318 101,264,219,318 22,136,298,244"},
        {"hvga-l", 480, 320, 1, 6, 118, 54,
         "89,9,391,259 89,15,391,53 108,193,226,247 254,193,372,247 181,193,299,247 102,65,378,173"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.profile);
        NotificationLayout l = Layout(c.w, c.h, c.s, c.type, c.bw, c.bh);
        EXPECT_EQ(Str(l), c.expected);
        EXPECT_TRUE(Fits(l, c.w, c.h, c.s));
    }
}

// The table's worked examples where they still hold: the 320 x 480 class
// and a missing button image (the skin's size then). At 480 x 640 and 640 x 480 the body and the
// buttons now move with the panel (see above).
TEST(NotificationLayout, TableAtScaleTwoAndOnThe320x480Class) {
    struct {
        int w, h, s, type, bw, bh;
        const char* expected;
    } cases[] = {
        {480, 640, 2, 3, 100, 40,
         "6,121,474,467 9,133,470,193 38,366,138,406 247,366,347,406 190,366,290,406 18,188,435,438"},
        {640, 480, 2, 3, 100, 40,
         "66,15,574,361 70,29,570,89 115,263,215,303 324,263,424,303 267,263,367,303 84,81,501,331"},
        {480, 320, 2, 6, 100, 40,
         "160,-14,628,332 160,0,621,60 188,381,288,421 397,381,497,421 260,381,360,421 168,203,585,453"},
        // 320 x 480: plain pixels whatever the scale and the image.
        {320, 480, 1, 6, 0, 0,
         "9,80,311,330 9,86,311,124 28,264,146,318 174,264,292,318 101,264,219,318 22,136,298,244"},
        {320, 480, 2, 6, 100, 40,
         "9,80,311,330 9,86,311,124 28,264,146,318 174,264,292,318 101,264,219,318 22,136,298,244"},
        // No button image: the skin's buttons, 195 x 48 (then drawn plainly).
        {480, 640, 2, 3, 0, 0,
         "6,121,474,467 9,133,470,193 38,366,233,414 247,366,442,414 142,366,337,414 18,188,435,438"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Str(Layout(c.w, c.h, c.s, c.type, c.bw, c.bh)), c.expected) << c.w << "x" << c.h << " s" << c.s;
}

// At scale 1 the box is the scale-2 box halved (which the 240 x 320 skin's
// 234 x 173 panel and 88 x 24 buttons fit exactly), centred in the window
// the shell gives it: the screen less two 26-pixel bars.
TEST(NotificationLayout, ScaleOneBoxIsWholeAndCentred) {
    struct {
        int w, h, type, bw;
    } screens[] = {{240, 320, 1, 88}, {320, 240, 1, 88}, {240, 400, 0, 88}, {400, 240, 0, 88},
                   {640, 480, 3, 88}, {480, 320, 6, 118}, {240, 320, 1, 0}};
    for (const auto& sc : screens) {
        SCOPED_TRACE(std::to_string(sc.w) + "x" + std::to_string(sc.h) + " button " + std::to_string(sc.bw));
        NotificationLayout l = Layout(sc.w, sc.h, 1, sc.type, sc.bw, sc.bw / 3);
        EXPECT_TRUE(Fits(l, sc.w, sc.h, 1));
        EXPECT_EQ(l.firstButton.right - l.firstButton.left, sc.bw ? sc.bw : 88) << "the skin's size without one";
        EXPECT_LE(std::abs(l.panel.left - (sc.w - l.panel.right)), 1);
        EXPECT_LE(std::abs(l.panel.top - (sc.h - 52 - l.panel.bottom)), 1);
    }
}

}  // namespace
