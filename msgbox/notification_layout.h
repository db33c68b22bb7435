// Geometry of the message box: the panel, title, body and button rectangles
// for a screen, and the text layout inside them. Pure arithmetic, except
// setTemplateNotification, which gathers its inputs and fills the record.
#pragma once
#include <windows.h>

struct NotificationLayoutInput {
    int screenWidth;
    int screenHeight;
    int portraitWidth;  // the shorter side when the record was reset
    int scale;          // 1 or 2
    int screenType;     // 6: 320 x 480 in either orientation
    int buttonWidth;    // the released-button image, 0 x 0 when missing (the skin's size is then used)
    int buttonHeight;
};

struct NotificationLayout {
    RECT panel;
    RECT title;
    RECT firstButton;
    RECT secondButton;
    RECT singleButton;
    RECT body;
};

// The box's rectangles, in its window (the screen less the status bar and
// the soft-key bar). At scale 2, and on the 320 x 480 class in portrait,
// from the layout table, with the body and buttons moved with the panel and
// a panel that would reach under the soft-key bar centred; at scale 1
// elsewhere the table mixes halved and plain terms, so the box is the
// scale-2 box of a screen twice the size, halved (on the 320 x 480 class in
// landscape: the portrait box), centred.
NotificationLayout LayoutNotification(const NotificationLayoutInput& in);

// Scale of the box: 2 when "LogicalPixelsX" of "Drivers\Display\GPE" is 192.
int ReadNotificationScale();

// Lays the current record out: stores the scale in AppState.nScale, clears
// pressedButton and fills the six rectangles. Needs the record.
void setTemplateNotification();

// Title fit: the first size, and the next one to try after a size that did
// not fit (0 when none is left: the caption is then cut with an ellipsis).
int FirstTitleSize(int scale, int screenType);
int NextTitleSize(int* pCounter, int scale);
constexpr int kNBTitleCounterStart = 18;
// Sizes below this are not tried.
int SmallestTitleSize(int scale);

// Where the caption is fitted and drawn: the title line less a margin, as
// the line reaches the panel's edges.
RECT CaptionRect(const RECT& title, int scale);
// The body text's area: bodyRect, inset except on the 320 x 480 class.
RECT BodyTextRect(const RECT& body, int scale, int screenType);
// The password field's frame below the body text, and its edit control.
RECT InputFrameRect(const RECT& panel, int textBottom, int scale, int screenType);
RECT InputEditRect(const RECT& frame, int scale);

// Stylus hit test: strictly inside, a point on an edge is outside.
bool IsInsideStrict(const RECT& rc, int x, int y);
