// Message-box geometry: the layout table's worked examples, the scale-1
// layout, the text rectangles and the title-fit sizes.
#include <gtest/gtest.h>

#include <cstdlib>
#include <initializer_list>
#include <string>

#include "msgbox/notification_box.h"
#include "msgbox/notification_layout.h"
#include "msgbox/notification_state.h"
#include "shell/app_state.h"
#include "tests/msgbox/box_fixture.h"

namespace {

NotificationLayout Layout(int w, int h, int s, int type, int bw = 100, int bh = 40) {
    NotificationLayoutInput in{};
    in.screenWidth = w;
    in.screenHeight = h;
    in.portraitWidth = w < h ? w : h;
    in.scale = s;
    in.screenType = type;
    in.buttonWidth = bw;
    in.buttonHeight = bh;
    return LayoutNotification(in);
}

std::string Str(const RECT& rc) {
    return "(" + std::to_string(rc.left) + ", " + std::to_string(rc.top) + ", " + std::to_string(rc.right) +
           ", " + std::to_string(rc.bottom) + ")";
}

void ExpectLayout(const NotificationLayout& l, const char* panel, const char* title, const char* first,
                  const char* second, const char* single, const char* body) {
    EXPECT_EQ(Str(l.panel), panel);
    EXPECT_EQ(Str(l.title), title);
    EXPECT_EQ(Str(l.firstButton), first);
    EXPECT_EQ(Str(l.secondButton), second);
    EXPECT_EQ(Str(l.singleButton), single);
    EXPECT_EQ(Str(l.body), body);
}

// Whole, in the box's window (the screen less the two 26-pixel bars of
// scale 1), and the buttons apart from each other.
void ExpectSound(const NotificationLayout& l, int w, int h) {
    const RECT screen = {0, 0, w, h - 52};
    for (const RECT* rc : {&l.panel, &l.title, &l.firstButton, &l.secondButton, &l.singleButton, &l.body}) {
        SCOPED_TRACE(Str(*rc));
        EXPECT_LT(rc->left, rc->right);
        EXPECT_LT(rc->top, rc->bottom);
        RECT both;
        IntersectRect(&both, rc, &screen);
        EXPECT_TRUE(EqualRect(&both, rc)) << "off the screen or under the soft-key bar";
    }
    // The caption line inside the panel; the first button left of the second.
    RECT both;
    IntersectRect(&both, &l.title, &l.panel);
    EXPECT_TRUE(EqualRect(&both, &l.title));
    EXPECT_LT(l.firstButton.right, l.secondButton.left);
    EXPECT_EQ(l.firstButton.top, l.secondButton.top);
}

TEST(NotificationLayoutTable, WorkedExamples) {
    {
        SCOPED_TRACE("480 x 640, s = 2");
        ExpectLayout(Layout(480, 640, 2, 3), "(6, 121, 474, 467)", "(9, 133, 470, 193)", "(38, 446, 138, 486)",
                     "(247, 446, 347, 486)", "(190, 446, 290, 486)", "(18, 268, 435, 518)");
    }
    {
        SCOPED_TRACE("640 x 480, s = 2");
        ExpectLayout(Layout(640, 480, 2, 3), "(66, 41, 574, 387)", "(70, 55, 570, 115)", "(195, 289, 295, 329)",
                     "(404, 289, 504, 329)", "(347, 289, 447, 329)", "(164, 107, 581, 357)");
    }
    {
        SCOPED_TRACE("480 x 320, type 6, s = 2");
        ExpectLayout(Layout(480, 320, 2, 6), "(160, -14, 628, 332)", "(160, 0, 621, 60)", "(188, 381, 288, 421)",
                     "(397, 381, 497, 421)", "(260, 381, 360, 421)", "(168, 203, 585, 453)");
    }
    // 320 x 480: fixed pixels whatever the scale and the image.
    for (int s : {1, 2})
        for (int bw : {0, 100, 118}) {
            SCOPED_TRACE("320 x 480, s = " + std::to_string(s) + ", bw = " + std::to_string(bw));
            ExpectLayout(Layout(320, 480, s, 6, bw, bw / 2), "(9, 80, 311, 330)", "(9, 86, 311, 124)",
                         "(28, 264, 146, 318)", "(174, 264, 292, 318)", "(101, 264, 219, 318)",
                         "(22, 136, 298, 244)");
        }
}

TEST(NotificationLayoutTable, MissingButtonImageGivesZeroSizedButtonsInPlace) {
    NotificationLayout l = Layout(480, 640, 2, 3, 0, 0);
    EXPECT_EQ(Str(l.firstButton), "(38, 446, 38, 446)");
    EXPECT_EQ(Str(l.secondButton), "(247, 446, 247, 446)");
    EXPECT_EQ(Str(l.singleButton), "(240, 446, 240, 446)");
    EXPECT_EQ(Str(l.panel), "(6, 121, 474, 467)");
}

// The scale-1 box is the scale-2 box halved: the skin's 240 x 320 images
// (88 x 24 buttons, 234 x 173 and 254 x 173 panels) fit it exactly.
TEST(NotificationLayoutScaleOne, Portrait240x320IsTheHalvedBoxCentred) {
    NotificationLayout l = Layout(240, 320, 1, 1, 88, 24);
    ExpectLayout(l, "(3, 47, 237, 220)", "(4, 53, 235, 83)", "(29, 210, 117, 234)", "(123, 210, 211, 234)",
                 "(76, 210, 164, 234)", "(9, 121, 217, 246)");
    ExpectSound(l, 240, 320);
    // The two buttons sit symmetric on the screen after the first one's shift.
    EXPECT_EQ(l.firstButton.left, 240 - l.secondButton.right);
}

TEST(NotificationLayoutScaleOne, Landscape320x240StaysOnTheScreen) {
    NotificationLayout l = Layout(320, 240, 1, 1, 88, 24);
    ExpectLayout(l, "(33, 7, 287, 180)", "(35, 14, 285, 44)", "(107, 131, 195, 155)", "(202, 131, 290, 155)",
                 "(154, 131, 242, 155)", "(82, 40, 290, 165)");
    ExpectSound(l, 320, 240);
}

TEST(NotificationLayoutScaleOne, EveryScreenGetsAWholeCentredBox) {
    struct Screen {
        int w, h, type, bw, bh;
    } screens[] = {{240, 320, 1, 88, 24}, {320, 240, 1, 88, 24}, {240, 400, 0, 88, 24}, {400, 240, 0, 88, 24},
                   {480, 640, 3, 88, 24}, {640, 480, 3, 88, 24}, {480, 320, 6, 118, 54}};
    for (const Screen& sc : screens) {
        SCOPED_TRACE(std::to_string(sc.w) + " x " + std::to_string(sc.h));
        NotificationLayout l = Layout(sc.w, sc.h, 1, sc.type, sc.bw, sc.bh);
        ExpectSound(l, sc.w, sc.h);
        // Centred across: as much room left of the panel as right of it.
        EXPECT_LE(std::abs(l.panel.left - (sc.w - l.panel.right)), 1);
        EXPECT_LE(std::abs(l.panel.top - (sc.h - 52 - l.panel.bottom)), 1);
        // Buttons of the image's size.
        EXPECT_EQ(l.firstButton.right - l.firstButton.left, sc.type == 6 ? 118 : sc.bw);
        EXPECT_EQ(l.singleButton.right - l.singleButton.left, sc.type == 6 ? 118 : sc.bw);
    }
}

TEST(NotificationLayoutScaleOne, Class320x480InLandscapeIsThePortraitBoxCentred) {
    NotificationLayout l = Layout(480, 320, 1, 6, 118, 54);
    ExpectLayout(l, "(89, 9, 391, 259)", "(89, 15, 391, 53)", "(108, 193, 226, 247)", "(254, 193, 372, 247)",
                 "(181, 193, 299, 247)", "(102, 65, 378, 173)");
}

TEST(NotificationTextLayout, BodyInsetAndInputFrame) {
    const RECT body = {18, 268, 435, 518};
    RECT rc = BodyTextRect(body, 2, 3);
    EXPECT_EQ(Str(rc), "(46, 291, 407, 495)");  // 14s across, 11s + s/2 down
    rc = BodyTextRect(RECT{9, 134, 217, 259}, 1, 1);
    EXPECT_EQ(Str(rc), "(23, 145, 203, 248)");
    rc = BodyTextRect(body, 1, 6);
    EXPECT_EQ(Str(rc), Str(body));

    const RECT panel = {6, 121, 474, 467};
    RECT frame = InputFrameRect(panel, 350, 2, 3);
    EXPECT_EQ(Str(frame), "(46, 356, 430, 406)");
    EXPECT_EQ(Str(InputEditRect(frame, 2)), "(50, 360, 426, 402)");
    // On the 320 x 480 class the frame runs to 20 plain pixels short of the panel's right.
    frame = InputFrameRect(RECT{9, 80, 311, 330}, 200, 1, 6);
    EXPECT_EQ(Str(frame), "(29, 203, 291, 228)");
    EXPECT_EQ(Str(InputEditRect(frame, 1)), "(31, 205, 289, 226)");
}

TEST(NotificationTextLayout, TitleSizesStepDownAndEnd) {
    EXPECT_EQ(FirstTitleSize(1, 1), 18);
    EXPECT_EQ(FirstTitleSize(2, 3), 36);
    EXPECT_EQ(FirstTitleSize(2, 6), 24);
    for (int s : {1, 2}) {
        std::string sizes;
        int n = kNBTitleCounterStart;
        for (int size; (size = NextTitleSize(&n, s)) != 0;) sizes += std::to_string(size) + " ";
        EXPECT_EQ(sizes, s == 1 ? "17 16 15 14 13 12 11 10 9 8 " : "32 28 24 20 16 ") << s;
    }
}

TEST(NotificationHitTest, EdgesAreOutside) {
    const RECT rc = {10, 20, 30, 40};
    EXPECT_TRUE(IsInsideStrict(rc, 11, 21));
    EXPECT_TRUE(IsInsideStrict(rc, 29, 39));
    for (POINT p : {POINT{10, 30}, POINT{30, 30}, POINT{20, 20}, POINT{20, 40}, POINT{9, 30}})
        EXPECT_FALSE(IsInsideStrict(rc, p.x, p.y)) << p.x << "," << p.y;
    EXPECT_FALSE(IsInsideStrict(RECT{38, 446, 38, 446}, 38, 446));
}

// setTemplateNotification on a live record: scale from the registry, the
// button size from the image file, pressedButton cleared.
class TemplateTest : public BoxTest {};

TEST_F(TemplateTest, TakesScaleFromTheRegistryAndButtonSizeFromTheImage) {
    WriteSkin(100, 40);
    UseScreen(480, 640, 2);
    RECT panel{}, first{};
    int pressed = 0, scale = 0;
    RunBox([] { return ShowNotificationBox(nullptr, L"t", L"c", 2, 0); },
           {[&](HWND hwnd) {
               g_pNotificationUIInfo->pressedButton = 2;
               AppState.nScale = 1;
               setTemplateNotification();
               panel = g_pNotificationUIInfo->panelRect;
               first = g_pNotificationUIInfo->firstButtonRect;
               pressed = g_pNotificationUIInfo->pressedButton;
               scale = AppState.nScale;
               SendMessageW(hwnd, WM_CLOSE, 0, 0);
           }});
    EXPECT_EQ(Str(panel), "(6, 121, 474, 467)");
    EXPECT_EQ(Str(first), "(38, 446, 138, 486)");
    EXPECT_EQ(pressed, -1);
    EXPECT_EQ(scale, 2);
}

TEST_F(TemplateTest, UnreadableScaleIsOne) {
    WriteSkin(88, 24);
    UseScreen(240, 320, 1);
    for (bool wrongType : {false, true}) {
        DeleteRegTree(HKEY_LOCAL_MACHINE, L"Drivers\\Display\\GPE");
        if (wrongType) SetRegString(HKEY_LOCAL_MACHINE, L"Drivers\\Display\\GPE", L"LogicalPixelsX", L"192");
        AppState.nScale = 2;
        RECT panel{};
        RunBox([] { return ShowNotificationBox(nullptr, L"t", L"c", 2, 0); },
               {[&](HWND hwnd) {
                   panel = g_pNotificationUIInfo->panelRect;
                   SendMessageW(hwnd, WM_CLOSE, 0, 0);
               }});
        EXPECT_EQ(AppState.nScale, 1);
        EXPECT_EQ(Str(panel), "(3, 47, 237, 220)");
    }
}

}  // namespace
