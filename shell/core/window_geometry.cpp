// Window geometry of the screen, by orientation and screen class.
#include "shell/core/window_geometry.h"

#include "shell/core/app_state.h"

namespace {

bool Type6() { return AppState.nScreenType == 6; }
int S() { return AppState.nScale; }
int X() { return AppState.LandscapeXExtension; }
int T() { return AppState.nTitleHeight; }

}  // namespace

WindowBox MainWindowBox(bool* useDefault) {
    *useDefault = false;
    if (AppState.bLandscape) return {0, 26 * S(), X() + 320 * S(), (Type6() ? 250 : 188) * S()};
    if (Type6()) return {0, 25, 320, 410};
    *useDefault = true;
    return {CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT};
}

WindowBox TitleWindowBox() {
    if (AppState.bLandscape) return {0, 0, X() + 320 * S(), T() * S()};
    return {0, 0, (Type6() ? 320 : 240) * S(), T() * S()};
}

WindowBox ListWindowBox() {
    if (AppState.bLandscape) return {0, T() * S(), X() + 320 * S(), ((Type6() ? 250 : 188) - T()) * S()};
    if (Type6()) return {0, T() * S(), 320 * S(), (250 - T()) * S() + X()};
    return {0, T() * S(), 240 * S(), (268 - T()) * S() + X()};
}
