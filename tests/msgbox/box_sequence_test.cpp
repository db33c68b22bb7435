// What the message box receives of the messages its table names, from its
// showing through a tap or its timer to its close, compared with constant
// tables in the manner of Wine's user32 tests.
#include <gtest/gtest.h>

#include "tests/msgbox/box_fixture.h"
#include "tests/support/message_log.h"

namespace {

enum { kBox };

// Made, sized to the screen by the shell's dialog set-up, activated, and
// painted without being erased. FALSE from the initialisation keeps the
// focus where the box put it.
constexpr ExpectedMessage kShow[] = {
    {kBox, WM_SIZE},
    {kBox, WM_INITDIALOG, kResult, 0, FALSE},
    {kBox, WM_SIZE, kNested},
    {kBox, WM_ACTIVATE, kWParam, WA_ACTIVE},
    {kBox, WM_ERASEBKGND, kResult, 0, 0},
    {kBox, WM_PAINT},
};

// A release on the pressed button closes the box from inside the release
// with the button's code; the dialog manager then destroys it.
constexpr ExpectedMessage kTapFirst[] = {
    {kBox, WM_LBUTTONDOWN, kResult, 0, 0},
    {kBox, WM_LBUTTONUP, kResult, 0, 0},
    {kBox, WM_CLOSE, kNested | kWParam, 1},
    {kBox, WM_ACTIVATE, kNested | kWParam, WA_INACTIVE},
    {kBox, WM_DESTROY},
};
constexpr ExpectedMessage kTapSecond[] = {
    {kBox, WM_LBUTTONDOWN},
    {kBox, WM_LBUTTONUP},
    {kBox, WM_CLOSE, kNested | kWParam, 0},
    {kBox, WM_ACTIVATE, kNested | kWParam, WA_INACTIVE},
    {kBox, WM_DESTROY},
};
// A release away from the pressed button keeps the box until a close
// request from elsewhere.
constexpr ExpectedMessage kMissThenClose[] = {
    {kBox, WM_LBUTTONDOWN},
    {kBox, WM_LBUTTONUP},
    {kBox, WM_CLOSE, kWParam, 5},
    {kBox, WM_ACTIVATE, kNested | kWParam, WA_INACTIVE},
    {kBox, WM_DESTROY},
};
// The auto-close timer closes from inside its own message.
constexpr ExpectedMessage kTimeout[] = {
    {kBox, WM_TIMER, kWParam, kNBTimerId},
    {kBox, WM_CLOSE, kNested | kWParam, 0},
    {kBox, WM_ACTIVATE, kNested | kWParam, WA_INACTIVE},
    {kBox, WM_DESTROY},
};

using BoxSequenceTest = BoxTest;

TEST_F(BoxSequenceTest, FromShowingToClose) {
    const auto tapOn = [](RECT NotificationUIInfo::*button, bool bReleaseOn) -> BoxStep {
        return [=](HWND hwnd) {
            const POINT p = Centre(g_pNotificationUIInfo->*button);
            StylusDown(hwnd, p);
            StylusUp(hwnd, bReleaseOn ? p : POINT{2, 2});
        };
    };
    struct Case {
        const char* what;
        DWORD style, timeout;
        std::vector<BoxStep> steps;
        int result;
        std::vector<ExpectedMessage> then;
    };
    const Case cases[] = {
        {"tap on the first", 2, 0, {tapOn(&NotificationUIInfo::firstButtonRect, true)}, 1,
         {std::begin(kTapFirst), std::end(kTapFirst)}},
        {"tap on the second", 2, 0, {tapOn(&NotificationUIInfo::secondButtonRect, true)}, 0,
         {std::begin(kTapSecond), std::end(kTapSecond)}},
        {"release elsewhere", 2, 0, {tapOn(&NotificationUIInfo::firstButtonRect, false), CloseWith(5)}, 5,
         {std::begin(kMissThenClose), std::end(kMissThenClose)}},
        {"time-out", 0x22, 300, {}, 0, {std::begin(kTimeout), std::end(kTimeout)}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        MessageLog log({{L"#32770",
                         {WM_PAINT, WM_INITDIALOG, WM_DESTROY, WM_LBUTTONDOWN, WM_LBUTTONUP, WM_SIZE, WM_ERASEBKGND,
                          WM_ACTIVATE, WM_TIMER, WM_SETTINGCHANGE, WM_CLOSE}}});
        std::vector<LoggedMessage> shown;
        std::vector<BoxStep> steps = {[&](HWND) { shown = log.Take(); }};
        steps.insert(steps.end(), c.steps.begin(), c.steps.end());
        EXPECT_EQ(RunBox(c.style, steps, c.timeout), c.result);
        EXPECT_TRUE(SequenceIs(shown, kShow));
        EXPECT_TRUE(SequenceIs(log.Take(), c.then));
    }
}

}  // namespace
