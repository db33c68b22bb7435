// The input style: the numeric password field below the body text, its
// frame, focus, the input panel's digit layout and the text kept at close.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "msgbox/notification_box.h"
#include "msgbox/notification_layout.h"
#include "msgbox/notification_state.h"
#include "platform/aygshell/aygshell.h"
#include "platform/aygshell/input_panel.h"
#include "res/resource.h"
#include "shell/app_state.h"
#include "tests/msgbox/box_fixture.h"

namespace {

// Messages that reached the input panel's key area.
std::vector<std::pair<UINT, WPARAM>> g_keyAreaMessages;
WNDPROC g_pfnKeyAreaProc = nullptr;

LRESULT CALLBACK RecordingKeyAreaProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg >= WM_USER) g_keyAreaMessages.push_back({msg, wParam});
    return CallWindowProcW(g_pfnKeyAreaProc, hwnd, msg, wParam, lParam);
}

// Listens to the platform's input panel while it lives; then puts the
// panel back to its full layout.
class KeyAreaListener {
public:
    KeyAreaListener() {
        HWND hwndPanel = EnsureInputPanel();
        m_hwndKeys = hwndPanel ? GetWindow(hwndPanel, GW_CHILD) : nullptr;
        if (m_hwndKeys)
            g_pfnKeyAreaProc = reinterpret_cast<WNDPROC>(
                SetWindowLongPtrW(m_hwndKeys, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(RecordingKeyAreaProc)));
    }
    ~KeyAreaListener() {
        if (!m_hwndKeys) return;
        SetWindowLongPtrW(m_hwndKeys, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_pfnKeyAreaProc));
        SendMessageW(m_hwndKeys, kSipMsgSetLayout, kSipLayoutPhone, 0);
    }
    bool Listening() const { return m_hwndKeys != nullptr; }

private:
    HWND m_hwndKeys = nullptr;
};

class InputFieldTest : public BoxTest {
protected:
    void SetUp() override {
        BoxTest::SetUp();
        WriteSkin();
        g_keyAreaMessages.clear();
    }
};

RECT ClientRectOf(HWND child) {
    RECT rc;
    GetWindowRect(child, &rc);
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&rc), 2);
    return rc;
}

TEST_F(InputFieldTest, FieldSitsBelowTheTextInItsFrameWithTheFocus) {
    KeyAreaListener listener;
    ASSERT_TRUE(listener.Listening());
    RECT edit{}, body{};
    bool visible = false, focused = false;
    COLORREF frameCorner = 0;
    int result = RunBox([] { return ShowNotificationBox(nullptr, L"Enter the PIN", L"PIN", 0x102, 0); },
                        {[&](HWND hwnd) {
                            HWND hwndEdit = GetDlgItem(hwnd, IDC_NB_INPUT);
                            edit = ClientRectOf(hwndEdit);
                            body = BodyTextRect(g_pNotificationUIInfo->bodyRect, 2, AppState.nScreenType);
                            visible = IsWindowVisible(hwndEdit);
                            focused = GetFocus() == hwndEdit;
                            Snapshot back(g_NBBack.hdc);
                            frameCorner = back.At(edit.left - 3, edit.top - 3);
                            SendMessageW(hwnd, WM_CLOSE, 0, 0);
                        }});
    EXPECT_EQ(result, 0);
    EXPECT_TRUE(visible);
    EXPECT_TRUE(focused);
    // Frame: from the panel's left + 20s, 192s wide, 25s high; the field 2s inside.
    EXPECT_EQ(edit.left, 6 + 40 + 4);
    EXPECT_EQ(edit.right - edit.left, 384 - 8);
    EXPECT_EQ(edit.bottom - edit.top, 50 - 8);
    // 3s + 2s below one line of the body text.
    EXPECT_GT(edit.top, body.top + 10 + 6 + 4);
    EXPECT_LT(edit.top, body.top + 40 + 6 + 4);
    EXPECT_EQ(frameCorner, ToColorRef(kInputFrameArgb));
    // The panel is told to offer digits only.
    EXPECT_EQ(g_keyAreaMessages, (std::vector<std::pair<UINT, WPARAM>>{{0x6A68, 5}}));
}

TEST_F(InputFieldTest, DigitsTypedAreKeptAtCloseAndForgottenByTheNextBox) {
    KeyAreaListener listener;
    RunBox([] { return ShowNotificationBox(nullptr, L"PIN", L"PIN", 0x100, 0); },
           {[](HWND hwnd) {
               HWND hwndEdit = GetDlgItem(hwnd, IDC_NB_INPUT);
               for (wchar_t c : std::wstring(L"12a3"))
                   SendMessageW(hwndEdit, WM_CHAR, c, 0);
               SendMessageW(hwnd, WM_CLOSE, 0, 0);
           }});
    // The field takes digits only.
    EXPECT_STREQ(g_szNBInputText, L"123");
    bool hidden = false;
    RunBox([] { return ShowNotificationBox(nullptr, L"Body", L"Caption", 2, 0); },
           {[&](HWND hwnd) {
               hidden = !IsWindowVisible(GetDlgItem(hwnd, IDC_NB_INPUT));
               SendMessageW(hwnd, WM_CLOSE, 0, 0);
           }});
    EXPECT_TRUE(hidden);
    EXPECT_STREQ(g_szNBInputText, L"");
    // Only the input style tells the panel.
    EXPECT_EQ(g_keyAreaMessages.size(), 1u);
}

}  // namespace
