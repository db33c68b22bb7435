// What the list-window tests share: a vga device (480 x 640, s = 2) with
// skin images of known colours, a stand-in main window, the rows, and
// captures of the list window's picture.
#pragma once
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "listwin/list_items.h"
#include "tests/support/png_writer.h"
#include "tests/support/scratch.h"

// Opaque colours of the test skin, as the list draws them (0x00BBGGRR).
constexpr COLORREF kLineColour = RGB(0x80, 0x80, 0x80);
constexpr COLORREF kSubTitleColour = RGB(0x20, 0x30, 0xA0);
constexpr COLORREF kFocusColour = RGB(0xF0, 0x90, 0x10);
constexpr COLORREF kFrameColour = RGB(0x30, 0x90, 0xC0);
constexpr COLORREF kOnColour = RGB(0x10, 0xC0, 0x10);
constexpr COLORREF kOffColour = RGB(0xC0, 0x10, 0x10);
constexpr COLORREF kOnDisabledColour = RGB(0x60, 0x90, 0x60);
constexpr COLORREF kOffDisabledColour = RGB(0x90, 0x60, 0x60);

// A picture of a window's client area, as WM_PRINTCLIENT paints it.
struct Capture {
    int width = 0;
    int height = 0;
    std::vector<COLORREF> pixels;
    COLORREF At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
    // Pixels in the rectangle darker than 0x40 in every channel.
    int CountDark(const RECT& rc) const;
    int CountColour(const RECT& rc, COLORREF c) const;
};

// The scroll component that records calls (FakeScroll.dll beside the tests).
class FakeScrollLib {
public:
    // Binds to the copy the list loaded from this device path.
    explicit FakeScrollLib(const std::wstring& win32Path);
    ~FakeScrollLib();
    FakeScrollLib(const FakeScrollLib&) = delete;
    FakeScrollLib& operator=(const FakeScrollLib&) = delete;
    bool Loaded() const { return m_hLib != nullptr; }
    int Fire(int nEvent, int x, int v) const;
    std::wstring TakeLog() const;
    void AnswerNext(int count, int y, int step) const;
    void SetState(DWORD state) const;
    // Milliseconds of the Steps since the last call.
    std::vector<double> TakeStepTimes() const;

private:
    HMODULE m_hLib = nullptr;
};

class ListViewTest : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Skin images of the test colours at s = 2 into the device, then loaded.
    void LoadTestSkin();
    // The program's settings group, with its two texts.
    void MakeSettingsRows(LPCWSTR szCentre, LPCWSTR szVoiceMail);
    // One row of the kind given; a group gets nItems items of itemKind.
    ListItem& MakeSingleRow(int nKind, int nItems = 0, int itemKind = IK_GROUP_LABEL);
    // The stand-in main window and the list window (layout included).
    void OpenList();
    // A paint of the list window through WM_PAINT, then posted messages.
    void PaintNow();
    Capture CaptureList() const;
    // What paint draws into a surface of the list window's client size.
    Capture CapturePainted(const std::function<void(HDC)>& paint) const;
    // Installs FakeScroll.dll under a scroll library's device path.
    void InstallFake(LPCWSTR cePath);
    // Installs the real component of a built library under its device path.
    void InstallScrollLibrary(LPCWSTR builtName, LPCWSTR cePath);

    static ListItem& Item(int k) { return g_pItems[0].pItems[k]; }
    static RECT ChildRect(HWND child);  // in the list window's client coordinates
    static std::wstring TextOf(HWND hwnd);
    // WM_CLOSE messages the stand-in main window received.
    static int CloseRequests();

    ScratchDevice m_device;
};
