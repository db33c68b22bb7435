// Shared set-up of the message-box tests: a device with the box's skin
// images, a screen of a chosen size, the imaging factory, a driver that acts
// on the box from inside its modal loop, and pixel counts.
#pragma once
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <vector>

#include "msgbox/notification_box.h"
#include "msgbox/notification_state.h"
#include "platform/base/scoped.h"
#include "tests/support/client_picture.h"
#include "tests/support/png_writer.h"
#include "tests/support/scratch.h"

// Opaque test images, one colour each.
constexpr Argb kPanelArgb = 0xFF2050A0;  // portrait
constexpr Argb kPanelLandscapeArgb = 0xFF207050;
constexpr Argb kButtonUpArgb = 0xFF30C040;
constexpr Argb kButtonDownArgb = 0xFFC03050;
constexpr Argb kInputFrameArgb = 0xFF8080F0;
constexpr COLORREF ToColorRef(Argb c) { return RGB((c >> 16) & 0xFF, (c >> 8) & 0xFF, c & 0xFF); }
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);

// What a box gives when its steps did not end it in time.
constexpr int kNotEnded = 999;

class BoxTest : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    // Screen size, scale (LogicalPixelsX 192 for 2) and screen class.
    void UseScreen(int width, int height, int scale);
    // The box's images, with buttons of this size.
    void WriteSkin(int buttonWidth = 100, int buttonHeight = 40);
    // The picture the box finds on the screen.
    void SetScreenColour(COLORREF colour);

    ScratchDevice m_device;
};

// Runs show() (which puts a box up) while a thread timer runs the steps on
// the box's own thread, one per 10-ms tick once the box is visible. A box
// still up deadlineMs after the last step is closed with kNotEnded. Any
// fault while it runs, even one swallowed on the way back to a sender,
// fails the test.
using BoxStep = std::function<void(HWND hwndBox)>;
int RunBox(const std::function<int()>& show, std::vector<BoxStep> steps, DWORD deadlineMs = 3000);
inline int RunBox(DWORD style, std::vector<BoxStep> steps, DWORD timeout = 0) {
    return RunBox([=] { return ShowNotificationBox(nullptr, L"Body text", L"Caption", style, timeout); },
                  std::move(steps));
}
BoxStep CloseWith(WPARAM code);

// A screen behind the box, as the program's own: a top-level window of this
// thread over the work area in one colour, with an edit field that has the
// focus. A setting change lays it out for the screen as it is then: the
// left half of the work area, in the second colour.
class ScreenBehind {
public:
    ScreenBehind(COLORREF colour, COLORREF laidOutColour);
    ~ScreenBehind();
    ScreenBehind(const ScreenBehind&) = delete;
    ScreenBehind& operator=(const ScreenBehind&) = delete;
    HWND hwnd() const { return m_hwnd; }
    HWND field() const { return m_hwndField; }
    static constexpr LPCWSTR kClass = L"QXTestScreenBehind";

private:
    COLORREF m_colour[2];
    HWND m_hwnd = nullptr;
    HWND m_hwndField = nullptr;
    static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
};

// Black at constant alpha 200 over a colour: what the backdrop shows of it.
constexpr COLORREF Dimmed(COLORREF c) {
    return RGB(GetRValue(c) * 55 / 255, GetGValue(c) * 55 / 255, GetBValue(c) * 55 / 255);
}

// A key as the keyboard gives it to the window that has the focus, through
// the modal loop's dialog manager.
void PressKey(UINT vk);

// Stylus messages as the platform sends them.
void StylusDown(HWND hwnd, POINT p);
void StylusUp(HWND hwnd, POINT p);
POINT Centre(const RECT& rc);

// The box's picture as WM_PRINTCLIENT paints it, over a screen-sized surface.
class BoxPicture {
public:
    explicit BoxPicture(HWND hwndBox);
    HDC hdc() const { return m_picture.hdc(); }
    COLORREF At(int x, int y) const { return m_picture.At(x, y); }
    std::vector<COLORREF> Pixels() const { return m_picture.Pixels(); }

private:
    ClientPicture m_picture;
};

// Pixels of a context: how many of the rectangle have the colour, and how
// many rows from the first to the last that holds it.
int Count(HDC hdc, const RECT& rc, COLORREF colour);
int RowsWith(HDC hdc, const RECT& rc, COLORREF colour);
