// The screen profile, made from AppState and kept while what it is made of
// stays the same.
#include "core/screen_profile.h"

namespace {

// What the profile is made of.
struct ProfileKey {
    int nScale;
    int nScreenType;
    LONG nExtension;
    BOOL bLandscape;
    int nTitleHeight;
};

ProfileKey KeyOf(const AppStateRecord& state) {
    return {state.nScale, state.nScreenType, state.LandscapeXExtension, state.bLandscape ? TRUE : FALSE,
            state.nTitleHeight};
}

bool operator==(const ProfileKey& a, const ProfileKey& b) {
    return a.nScale == b.nScale && a.nScreenType == b.nScreenType && a.nExtension == b.nExtension &&
           a.bLandscape == b.bLandscape && a.nTitleHeight == b.nTitleHeight;
}

}  // namespace

ScreenProfile MakeScreenProfile(const AppStateRecord& state) {
    ScreenProfile p{};
    const int s = state.nScale, T = state.nTitleHeight;
    const LONG X = state.LandscapeXExtension;
    p.nScale = s;
    p.nScreenType = state.nScreenType;
    p.b320x480 = IsScreen320x480(state.nScreenType);
    p.nLongSideExtension = X;
    p.o = state.bLandscape ? kLandscape : kPortrait;

    // Base units of a 240 x 320 screen; the long side's extension widens
    // landscape and lengthens the portrait list.
    p.nWidth[kPortrait] = (p.b320x480 ? 320 : 240) * s;
    p.nWidth[kLandscape] = X + 320 * s;
    // The screen's short side less the status and soft-key bars (26 each):
    // the list then reaches the soft-key bar. (320 x 480 was given 250 and
    // 410, which left an 18-pixel band above the soft keys.)
    const int landscapeHeight = p.b320x480 ? 268 : 188;
    p.main[kLandscape] = {0, 26 * s, p.nWidth[kLandscape], landscapeHeight * s};
    p.list[kLandscape] = {0, T * s, p.nWidth[kLandscape], (landscapeHeight - T) * s};
    if (p.b320x480) {
        p.main[kPortrait] = {0, 25, 320, 480 - 25 - 26};  // not scaled
        p.list[kPortrait] = {0, T * s, p.nWidth[kPortrait], p.main[kPortrait].cy - T * s};
    } else {
        p.bMainDefault[kPortrait] = true;
        p.main[kPortrait] = {CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT};
        p.list[kPortrait] = {0, T * s, p.nWidth[kPortrait], (268 - T) * s + X};
    }
    p.title[kPortrait] = {0, 0, p.nWidth[kPortrait], T * s};
    p.title[kLandscape] = {0, 0, p.nWidth[kLandscape], T * s};
    return p;
}

const ScreenProfile& CurrentScreen() {
    static ProfileKey s_key{};
    static ScreenProfile s_profile{};
    static bool s_made = false;
    const ProfileKey key = KeyOf(AppState);
    if (!s_made || !(key == s_key)) {
        s_profile = MakeScreenProfile(AppState);
        s_key = key;
        s_made = true;
    }
    return s_profile;
}

WindowBox MainWindowBox(bool* useDefault) {
    const ScreenProfile& screen = CurrentScreen();
    *useDefault = screen.bMainDefault[screen.o];
    return screen.main[screen.o];
}

WindowBox TitleWindowBox() {
    const ScreenProfile& screen = CurrentScreen();
    return screen.title[screen.o];
}

WindowBox ListWindowBox() {
    const ScreenProfile& screen = CurrentScreen();
    return screen.list[screen.o];
}
