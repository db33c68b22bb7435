// The screen as the UI configuration describes it: scale, screen class,
// long-side extension, orientation, and the windows' boxes and the list's
// width in both orientations. Every geometry rule of the screen reads it.
#pragma once
#include <windows.h>

#include "core/app_state.h"

// The slot of per-orientation values (the rows' rcItem, rcEdit, ...).
constexpr int kPortrait = 0;
constexpr int kLandscape = 1;

// A 320 x 480 screen, in either orientation, has constants of its own.
constexpr int kScreenClass320x480 = 6;
constexpr bool IsScreen320x480(int nScreenType) { return nScreenType == kScreenClass320x480; }

// The title is a bar of at most this many base units, whatever the height of
// its picture: the shortest box the title and the list share (landscape, 188)
// less the list's four items of 30, so the fields are never pushed off the
// screen. More than twice the skin's 30: every sane title keeps its picture.
constexpr int kMaxTitleHeight = 188 - 4 * 30;

struct WindowBox {
    int x, y, cx, cy;
};

struct ScreenProfile {
    int nScale;                // s
    int nScreenType;
    bool b320x480;
    LONG nLongSideExtension;   // LandscapeXExtension: landscape widths, the portrait list's height
    int o;                     // kPortrait or kLandscape now
    int nWidth[2];             // the title's, the list's and the list image's
    WindowBox main[2];
    bool bMainDefault[2];      // the platform's default area instead of main[o]
    WindowBox title[2];
    WindowBox list[2];
};

// The profile of a configuration; the boxes use its title height.
ScreenProfile MakeScreenProfile(const AppStateRecord& state);

// The profile of AppState, made again only when a value it is made of has
// changed: after GetSettings, after a turn, after the title's height is set
// (and whenever a test sets AppState).
const ScreenProfile& CurrentScreen();

// Boxes in the current orientation, at creation and after a turn. The main
// window in portrait (not on a 320 x 480 screen) takes the platform's default
// area; useDefault tells so.
WindowBox MainWindowBox(bool* useDefault);
WindowBox TitleWindowBox();
WindowBox ListWindowBox();
