// Message-box geometry: the layout table's worked examples, the whole and
// centred scale-1 box.
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

TEST(NotificationLayout, TableAtScaleTwoAndOnThe320x480Class) {
    struct {
        int w, h, s, type, bw, bh;
        const char* expected;
    } cases[] = {
        {480, 640, 2, 3, 100, 40,
         "6,121,474,467 9,133,470,193 38,446,138,486 247,446,347,486 190,446,290,486 18,268,435,518"},
        {640, 480, 2, 3, 100, 40,
         "66,41,574,387 70,55,570,115 195,289,295,329 404,289,504,329 347,289,447,329 164,107,581,357"},
        {480, 320, 2, 6, 100, 40,
         "160,-14,628,332 160,0,621,60 188,381,288,421 397,381,497,421 260,381,360,421 168,203,585,453"},
        // 320 x 480: plain pixels whatever the scale and the image.
        {320, 480, 1, 6, 0, 0,
         "9,80,311,330 9,86,311,124 28,264,146,318 174,264,292,318 101,264,219,318 22,136,298,244"},
        {320, 480, 2, 6, 100, 40,
         "9,80,311,330 9,86,311,124 28,264,146,318 174,264,292,318 101,264,219,318 22,136,298,244"},
        // No button image: zero-sized buttons in their places.
        {480, 640, 2, 3, 0, 0,
         "6,121,474,467 9,133,470,193 38,446,38,446 247,446,247,446 240,446,240,446 18,268,435,518"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Str(Layout(c.w, c.h, c.s, c.type, c.bw, c.bh)), c.expected) << c.w << "x" << c.h << " s" << c.s;
}

// At scale 1 the box is the scale-2 box halved (which the 240 x 320 skin's
// 234 x 173 panel and 88 x 24 buttons fit exactly), centred in the window
// the shell gives it: the screen less two 26-pixel bars.
TEST(NotificationLayout, ScaleOneBoxIsWholeAndCentred) {
    EXPECT_EQ(Str(Layout(240, 320, 1, 1, 88, 24)),
              "3,47,237,220 4,53,235,83 29,210,117,234 123,210,211,234 76,210,164,234 9,121,217,246");
    EXPECT_EQ(Str(Layout(320, 240, 1, 1, 88, 24)),
              "33,7,287,180 35,14,285,44 107,131,195,155 202,131,290,155 154,131,242,155 82,40,290,165");
    // The 320 x 480 class turned: its portrait box, centred.
    EXPECT_EQ(Str(Layout(480, 320, 1, 6, 118, 54)),
              "89,9,391,259 89,15,391,53 108,193,226,247 254,193,372,247 181,193,299,247 102,65,378,173");
    struct {
        int w, h, type, bw;
    } screens[] = {{240, 320, 1, 88}, {320, 240, 1, 88}, {240, 400, 0, 88},
                   {400, 240, 0, 88}, {640, 480, 3, 88}, {480, 320, 6, 118}};
    for (const auto& sc : screens) {
        SCOPED_TRACE(std::to_string(sc.w) + "x" + std::to_string(sc.h));
        NotificationLayout l = Layout(sc.w, sc.h, 1, sc.type, sc.bw, sc.bw / 3);
        const RECT window = {0, 0, sc.w, sc.h - 52};
        for (const RECT& rc : {l.panel, l.title, l.firstButton, l.secondButton, l.singleButton, l.body}) {
            RECT both;
            EXPECT_TRUE(rc.left < rc.right && rc.top < rc.bottom) << Str(rc);
            EXPECT_TRUE(IntersectRect(&both, &rc, &window) && EqualRect(&both, &rc)) << Str(rc) << " outside";
        }
        EXPECT_LE(std::abs(l.panel.left - (window.right - l.panel.right)), 1);
        EXPECT_LE(std::abs(l.panel.top - (window.bottom - l.panel.bottom)), 1);
        EXPECT_LT(l.firstButton.right, l.secondButton.left);
    }
}

}  // namespace
