// What the shell-library tests share: a screen of a chosen size and scale,
// and an owner window that records the commands it receives.
#pragma once
#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

// Screen size and display scale for a test; both are put back afterwards.
class ShellTest : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    // s = 2 writes LogicalPixelsX 192, s = 1 removes the value.
    void UseScreen(int width, int height, int scale);
};

// A top-level window with an edit control, as a program's screen would be.
class TestOwner {
public:
    TestOwner();
    ~TestOwner();
    TestOwner(const TestOwner&) = delete;
    TestOwner& operator=(const TestOwner&) = delete;

    HWND hwnd() const { return m_hwnd; }
    HWND edit() const { return m_hwndEdit; }
    // The command ids received, in order.
    const std::vector<UINT>& Commands() const { return m_commands; }
    // wParam of every WM_SETTINGCHANGE received, in order.
    const std::vector<WPARAM>& SettingChanges() const { return m_settingChanges; }
    // Destroys the owner from inside its handler of this command.
    void DestroyOn(UINT command) { m_destroyOn = command; }
    std::wstring EditText() const;

private:
    static LRESULT CALLBACK Proc(HWND, UINT, WPARAM, LPARAM);
    HWND m_hwnd = nullptr;
    HWND m_hwndEdit = nullptr;
    std::vector<UINT> m_commands;
    std::vector<WPARAM> m_settingChanges;
    UINT m_destroyOn = 0;
};

// A soft-key bar owned by a window, from a menu-bar resource of the test
// module (0 for none); its window, or null when it could not be made.
HWND MakeSoftKeyBar(HWND owner, UINT nId, DWORD dwFlags = 0);
// A stylus tap at (x, y) of a window's client area: down and up there.
void Tap(HWND hwnd, int x, int y);
// Down at one point, up at another.
void PressRelease(HWND hwnd, POINT down, POINT up);
// The window's rectangle on the screen.
RECT WindowRectOf(HWND hwnd);
// Paints the window's client area (WM_PRINTCLIENT) into a 32-bit bitmap and
// returns its pixels as 0x00RRGGBB, row by row.
std::vector<DWORD> CaptureClient(HWND hwnd, int* pWidth, int* pHeight);
// Pixels of a capture inside a rectangle that are (nearly) white.
int CountWhite(const std::vector<DWORD>& pixels, int width, const RECT& rc);
