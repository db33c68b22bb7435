// Shared set-up of the message-box tests: a device with the box's skin
// images, a screen of a chosen size, the imaging factory, and a driver that
// acts on the box from inside its own modal loop.
#pragma once
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <utility>
#include <vector>

#include "msgbox/notification_state.h"
#include "tests/support/png_writer.h"
#include "tests/support/scratch.h"

// Colours of the test images (opaque) and of what the box draws.
constexpr Argb kPanelArgb = 0xFF2050A0;           // portrait
constexpr Argb kPanelLandscapeArgb = 0xFF207050;
constexpr Argb kButtonUpArgb = 0xFF30C040;
constexpr Argb kButtonDownArgb = 0xFFC03050;
constexpr Argb kInputFrameArgb = 0xFF8080F0;
constexpr COLORREF ToColorRef(Argb c) { return RGB((c >> 16) & 0xFF, (c >> 8) & 0xFF, c & 0xFF); }

// The result a driven box gives when its steps did not end it in time.
constexpr int kNotEnded = 999;

class BoxTest : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Screen size, scale (LogicalPixelsX 192 for 2) and screen class.
    void UseScreen(int width, int height, int scale);
    // Button images of this size (100 x 40 unless said otherwise).
    void WriteSkin(int buttonWidth = 100, int buttonHeight = 40);
    // The picture the box finds on the screen: every pixel one colour.
    void SetScreenColour(COLORREF colour);

    ScratchDevice m_device;
};

// Runs steps on the box's thread while its modal loop runs: a thread timer
// looks every 10 ms; once the box is up and visible, each step runs in turn
// (one per tick). A box still up deadlineMs after the last step is closed
// with kNotEnded, so a broken box fails the test instead of hanging it.
using BoxStep = std::function<void(HWND hwndBox)>;
int RunBox(const std::function<int()>& show, std::vector<BoxStep> steps, DWORD deadlineMs = 3000);

// Stylus messages as the platform sends them.
void StylusDown(HWND hwnd, int x, int y);
void StylusUp(HWND hwnd, int x, int y);
void Tap(HWND hwnd, int x, int y);
POINT Centre(const RECT& rc);


// The pixels of a context's bitmap, read once, as 0x00BBGGRR values.
class Snapshot {
public:
    explicit Snapshot(HDC hdc);
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    COLORREF At(int x, int y) const;
    int Count(const RECT& rc, COLORREF colour) const;
    // Rows of the rectangle that hold the colour: first and last, -1 if none.
    std::pair<int, int> RowSpan(const RECT& rc, COLORREF colour) const;

private:
    int m_width = 0;
    int m_height = 0;
    std::vector<DWORD> m_bgrx;
};
