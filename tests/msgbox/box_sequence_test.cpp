// What the message box receives of the messages its table names, from its
// showing through a tap, a key or its timer to its close, and on a setting
// change, compared with constant tables in the manner of Wine's user32
// tests.
#include <gtest/gtest.h>

#include "platform/aygshell/aygshell.h"
#include "tests/msgbox/box_fixture.h"
#include "tests/support/message_log.h"

namespace {

enum { kBox, kBehind, kField };

const std::vector<UINT> kTableMessages = {WM_PAINT,      WM_INITDIALOG, WM_DESTROY,       WM_LBUTTONDOWN,
                                          WM_LBUTTONUP,  WM_SIZE,       WM_ERASEBKGND,    WM_ACTIVATE,
                                          WM_TIMER,      WM_SETTINGCHANGE, WM_CLOSE,      WM_COMMAND,
                                          WM_SETFOCUS};

// Made, sized to the screen by the shell's dialog set-up, activated, given
// the focus for the keys, and painted without being erased. FALSE from the
// initialisation keeps the focus where the box put it.
constexpr ExpectedMessage kShow[] = {
    {kBox, WM_SIZE},
    {kBox, WM_INITDIALOG, kResult, 0, FALSE},
    {kBox, WM_SIZE, kNested},
    {kBox, WM_ACTIVATE, kWParam, WA_ACTIVE},
    {kBox, WM_SETFOCUS, kNested},
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
        MessageLog log({{L"#32770", kTableMessages}});
        std::vector<LoggedMessage> shown;
        bool focused = false;
        std::vector<BoxStep> steps = {[&](HWND hwnd) {
            shown = log.Take();
            focused = GetFocus() == hwnd;
        }};
        steps.insert(steps.end(), c.steps.begin(), c.steps.end());
        EXPECT_EQ(RunBox(c.style, steps, c.timeout), c.result);
        EXPECT_TRUE(SequenceIs(shown, kShow));
        EXPECT_TRUE(focused) << "the keys need the box to have the focus";
        EXPECT_TRUE(SequenceIs(log.Take(), c.then));
    }
}

// Return and Escape reach the box as the dialog manager's IDOK and IDCANCEL
// and end it as a release on the first or the last button would; without
// buttons they do nothing. The focus then goes back to the field of the
// screen behind that had it.
constexpr ExpectedMessage kReturnOnTwo[] = {
    {kBox, WM_COMMAND, kWParam, IDOK},
    {kBox, WM_CLOSE, kNested | kWParam, 1},
    {kBox, WM_ACTIVATE, kNested | kWParam, WA_INACTIVE},
    {kBox, WM_DESTROY},
    {kField, WM_SETFOCUS},
};
constexpr ExpectedMessage kEscapeOnTwo[] = {
    {kBox, WM_COMMAND, kWParam, IDCANCEL},
    {kBox, WM_CLOSE, kNested | kWParam, 0},
    {kBox, WM_ACTIVATE, kNested | kWParam, WA_INACTIVE},
    {kBox, WM_DESTROY},
    {kField, WM_SETFOCUS},
};
constexpr ExpectedMessage kReturnOnOne[] = {
    {kBox, WM_COMMAND, kWParam, IDOK},
    {kBox, WM_CLOSE, kNested | kWParam, 0},
    {kBox, WM_ACTIVATE, kNested | kWParam, WA_INACTIVE},
    {kBox, WM_DESTROY},
    {kField, WM_SETFOCUS},
};
constexpr ExpectedMessage kEscapeOnOne[] = {
    {kBox, WM_COMMAND, kWParam, IDCANCEL},
    {kBox, WM_CLOSE, kNested | kWParam, 0},
    {kBox, WM_ACTIVATE, kNested | kWParam, WA_INACTIVE},
    {kBox, WM_DESTROY},
    {kField, WM_SETFOCUS},
};
constexpr ExpectedMessage kKeysWithoutButtons[] = {
    {kBox, WM_COMMAND, kWParam, IDOK},
    {kBox, WM_COMMAND, kWParam, IDCANCEL},
    {kBox, WM_CLOSE, kWParam, 9},
    {kBox, WM_ACTIVATE, kNested | kWParam, WA_INACTIVE},
    {kBox, WM_DESTROY},
    {kField, WM_SETFOCUS},
};

TEST_F(BoxSequenceTest, KeysEndTheBoxAndTheFocusGoesBack) {
    const BoxStep kReturn = [](HWND) { PressKey(VK_RETURN); };
    const BoxStep kEscape = [](HWND) { PressKey(VK_ESCAPE); };
    struct Case {
        const char* what;
        DWORD style;
        std::vector<BoxStep> steps;
        int result;
        std::vector<ExpectedMessage> then;
    };
    const Case cases[] = {
        {"Return, two buttons", 2, {kReturn}, 1, {std::begin(kReturnOnTwo), std::end(kReturnOnTwo)}},
        {"Escape, two buttons", 2, {kEscape}, 0, {std::begin(kEscapeOnTwo), std::end(kEscapeOnTwo)}},
        {"Return, one button", 1, {kReturn}, 0, {std::begin(kReturnOnOne), std::end(kReturnOnOne)}},
        {"Escape, one button", 1, {kEscape}, 0, {std::begin(kEscapeOnOne), std::end(kEscapeOnOne)}},
        {"no buttons", 0, {kReturn, kEscape, CloseWith(9)}, 9,
         {std::begin(kKeysWithoutButtons), std::end(kKeysWithoutButtons)}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ScreenBehind behind(kWhite, kWhite);
        MessageLog log({{L"#32770", kTableMessages}, {ScreenBehind::kClass, {WM_SETTINGCHANGE}}, {L"Edit", {WM_SETFOCUS}}});
        log.Watch(behind.field(), kField);
        std::vector<BoxStep> steps = {[&](HWND) { log.Take(); }};
        steps.insert(steps.end(), c.steps.begin(), c.steps.end());
        EXPECT_EQ(RunBox([&] { return ShowNotificationBox(behind.hwnd(), L"Body", L"Caption", c.style, 0); }, steps),
                  c.result);
        EXPECT_TRUE(SequenceIs(log.Take(), c.then));
        EXPECT_EQ(GetFocus(), behind.field());
    }
}

// A turn: the windows behind the box hear of it from the box first, so
// that its new backdrop shows them laid out; the box is sized to the new
// work area (the erase that brings it does nothing) and its new picture
// painted at once. A change of the input panel (the same screen) is
// composed and painted again, without them.
constexpr ExpectedMessage kTurn[] = {
    {kBox, WM_SETTINGCHANGE, kWParam, SETTINGCHANGE_RESET},
    {kBehind, WM_SETTINGCHANGE, kNested | kWParam, SETTINGCHANGE_RESET},
    {kBox, WM_ERASEBKGND, kNested | kResult, 0, 0},
    {kBox, WM_SIZE, kNested},
    {kBox, WM_PAINT, kNested},
};
constexpr ExpectedMessage kPanelChange[] = {
    {kBox, WM_SETTINGCHANGE, kWParam, SPI_SETSIPINFO},
    {kBox, WM_PAINT, kNested},
};

TEST_F(BoxSequenceTest, SettingChangesAreShownAtOnce) {
    ScreenBehind behind(kWhite, kWhite);
    MessageLog log({{L"#32770", kTableMessages}, {ScreenBehind::kClass, {WM_SETTINGCHANGE}}});
    log.Watch(behind.hwnd(), kBehind);
    TraceCapture trace;
    std::vector<LoggedMessage> turned, panel;
    RunBox([&] { return ShowNotificationBox(behind.hwnd(), L"Body", L"Caption", 2, 0); },
           {[&](HWND hwnd) {
                log.Take();
                UseScreen(640, 480, 2);
                SendMessageW(hwnd, WM_SETTINGCHANGE, SETTINGCHANGE_RESET, 0);
                turned = log.Take();
                trace.Clear();
                SendMessageW(hwnd, WM_SETTINGCHANGE, SPI_SETSIPINFO, 0);
                panel = log.Take();
            },
            CloseWith(0)});
    EXPECT_TRUE(SequenceIs(turned, kTurn));
    EXPECT_TRUE(SequenceIs(panel, kPanelChange));
    EXPECT_TRUE(trace.Has(L"[WFN] PreDrawNotify()"));
}

}  // namespace
