// The message tables: what each cracker hands its typed handler, results
// and the default for a message outside the table, a handler's exception,
// and the dialog form.
#include <gtest/gtest.h>

#include <new>
#include <string>

#include "platform/base/message_table.h"
#include "tests/support/scratch.h"

namespace {

// What the last handler was given, written out.
std::wstring g_seen;

std::wstring Number(const void* p) { return std::to_wstring(reinterpret_cast<UINT_PTR>(p)); }

LRESULT OnWindow(HWND) {
    g_seen = L"window";
    return 11;
}
LRESULT OnCommand(HWND, UINT id, UINT code, HWND hwndCtl) {
    g_seen = std::to_wstring(id) + L" " + std::to_wstring(code) + L" " + Number(hwndCtl);
    return 12;
}
LRESULT OnActivate(HWND, UINT state, HWND hwndOther, BOOL bMinimized) {
    g_seen = std::to_wstring(state) + L" " + Number(hwndOther) + L" " + std::to_wstring(bMinimized);
    return 13;
}
LRESULT OnSettingChange(HWND, UINT_PTR flag, LPCWSTR section) {
    g_seen = std::to_wstring(flag) + L" " + (section ? section : L"null");
    return 14;
}
LRESULT OnPen(HWND, POINT pt) {
    g_seen = std::to_wstring(pt.x) + L"," + std::to_wstring(pt.y);
    return 15;
}
LRESULT OnTimer(HWND, UINT_PTR id) {
    g_seen = std::to_wstring(id);
    return 16;
}
LRESULT OnPrintClient(HWND, HDC hdc) {
    g_seen = Number(hdc);
    return 17;
}
LRESULT OnCaptureChanged(HWND, HWND hwndNew) {
    g_seen = Number(hwndNew);
    return 18;
}
LRESULT OnHotKey(HWND, int id) {
    g_seen = std::to_wstring(id);
    return 19;
}
LRESULT OnRaw(HWND, UINT msg, WPARAM wParam, LPARAM lParam) {
    g_seen = std::to_wstring(msg) + L" " + std::to_wstring(wParam) + L" " + std::to_wstring(lParam);
    return 20;
}
LRESULT Throws(HWND) { throw std::bad_alloc(); }

constexpr UINT kPrivate = WM_APP + 7;

constexpr MessageHandler kTable[] = {
    Cracked<WM_PAINT, OnWindow>,
    Cracked<WM_COMMAND, OnCommand>,
    Cracked<WM_ACTIVATE, OnActivate>,
    Cracked<WM_SETTINGCHANGE, OnSettingChange>,
    Cracked<WM_LBUTTONDOWN, OnPen>,
    Cracked<WM_LBUTTONUP, OnPen>,
    Cracked<WM_MOUSEMOVE, OnPen>,
    Cracked<WM_TIMER, OnTimer>,
    Cracked<WM_PRINTCLIENT, OnPrintClient>,
    Cracked<WM_CAPTURECHANGED, OnCaptureChanged>,
    Cracked<WM_HOTKEY, OnHotKey>,
    {kPrivate, OnRaw},
    {WM_SIZE, IgnoreMessage},
    {WM_SIZE, OnRaw},  // never reached: the first row wins
    Cracked<WM_CLOSE, Throws>,
};

// A window with a dialog's extra bytes, so that DWLP_MSGRESULT can be set.
class MessageTableTest : public testing::Test {
protected:
    void SetUp() override {
        WNDCLASSW wc{};
        wc.lpfnWndProc = DefWindowProcW;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.cbWndExtra = DLGWINDOWEXTRA;
        wc.lpszClassName = L"QxMessageTableTest";
        RegisterClassW(&wc);
        m_hwnd = CreateWindowExW(0, wc.lpszClassName, L"abc", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                 wc.hInstance, nullptr);
        ASSERT_TRUE(m_hwnd);
    }
    void TearDown() override { DestroyWindow(m_hwnd); }
    HWND m_hwnd = nullptr;
};

TEST_F(MessageTableTest, CrackersHandTheirHandlersTypedArgumentsAndTheResultComesBack) {
    static const wchar_t kIntl[] = L"intl";
    struct Case {
        UINT msg;
        WPARAM wParam;
        LPARAM lParam;
        const wchar_t* seen;
        LRESULT result;
    };
    const Case cases[] = {
        {WM_PAINT, 0, 0, L"window", 11},
        {WM_COMMAND, MAKEWPARAM(40000, EN_SETFOCUS), 0x1234, L"40000 256 4660", 12},
        {WM_ACTIVATE, MAKEWPARAM(WA_CLICKACTIVE, 1), 0x55, L"2 85 1", 13},
        {WM_SETTINGCHANGE, SPI_SETWORKAREA, reinterpret_cast<LPARAM>(kIntl), L"47 intl", 14},
        {WM_SETTINGCHANGE, SPI_SETDESKWALLPAPER, 0, L"20 null", 14},
        {WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 30), L"20,30", 15},
        // Left of and above a window that holds the capture.
        {WM_LBUTTONUP, 0, MAKELPARAM(-3, -32768), L"-3,-32768", 15},
        {WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(65535, 32767), L"-1,32767", 15},
        {WM_TIMER, 0x5146, 0x99, L"20806", 16},
        {WM_PRINTCLIENT, 0xABC, PRF_CLIENT, L"2748", 17},
        {WM_CAPTURECHANGED, 0, 0x77, L"119", 18},
        {WM_HOTKEY, 1, MAKELPARAM(MOD_NOREPEAT, VK_F9), L"1", 19},
        {kPrivate, 5, -6, L"32775 5 -6", 20},
        {WM_SIZE, SIZE_RESTORED, MAKELPARAM(10, 10), L"", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.msg);
        g_seen.clear();
        EXPECT_EQ(DispatchMessageTable(kTable, m_hwnd, c.msg, c.wParam, c.lParam), c.result);
        EXPECT_EQ(g_seen, c.seen);
    }
    EXPECT_EQ(UnsignedPenCoordinate(-3), 65533);
    EXPECT_EQ(UnsignedPenCoordinate(30), 30);
}

TEST_F(MessageTableTest, OtherMessagesGoToTheDefaultAndAnExceptionStopsAtTheTable) {
    EXPECT_EQ(DispatchMessageTable(kTable, m_hwnd, WM_GETTEXTLENGTH, 0, 0), 3) << "DefWindowProcW's answer";
    TraceCapture trace;
    EXPECT_EQ(DispatchMessageTable(kTable, m_hwnd, WM_CLOSE, 0, 0), 0);
    EXPECT_TRUE(IsWindow(m_hwnd)) << "no default close either";
    EXPECT_TRUE(trace.Has(L"[err]: message 0x0010 to window"));
}

TEST_F(MessageTableTest, DialogsGetTheResultThroughTheirResultSlotButForInitDialog) {
    constexpr MessageHandler kDialog[] = {
        Cracked<WM_INITDIALOG, OnWindow>,
        Cracked<WM_COMMAND, OnCommand>,
    };
    SetWindowLongPtrW(m_hwnd, DWLP_MSGRESULT, 0);
    EXPECT_EQ(DispatchDialogTable(kDialog, m_hwnd, WM_INITDIALOG, 0, 0), 11);
    EXPECT_EQ(GetWindowLongPtrW(m_hwnd, DWLP_MSGRESULT), 0);
    EXPECT_EQ(DispatchDialogTable(kDialog, m_hwnd, WM_COMMAND, IDOK, 0), TRUE);
    EXPECT_EQ(GetWindowLongPtrW(m_hwnd, DWLP_MSGRESULT), 12);
    EXPECT_EQ(DispatchDialogTable(kDialog, m_hwnd, WM_GETTEXTLENGTH, 0, 0), FALSE) << "left to the dialog manager";
}

}  // namespace
