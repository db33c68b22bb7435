// Shared pieces of the shell-library tests.
#include "tests/platform/aygshell/shell_fixture.h"

#include <string>

#include "platform/aygshell/aygshell.h"
#include "platform/base/screen.h"
#include "tests/support/client_picture.h"
#include "tests/support/scratch.h"

namespace {
constexpr WCHAR kDisplay[] = L"Drivers\\Display\\GPE";
constexpr WCHAR kOwnerClass[] = L"ShellTestOwner";
}  // namespace

void ShellTest::SetUp() { UseScreen(240, 320, 1); }

void ShellTest::TearDown() {
    DeleteRegTree(HKEY_LOCAL_MACHINE, kDisplay);
    SetScreenSizeForTest(0, 0);
}

void ShellTest::UseScreen(int width, int height, int scale) {
    SetScreenSizeForTest(width, height);
    DeleteRegTree(HKEY_LOCAL_MACHINE, kDisplay);
    if (scale == 2) SetRegDword(HKEY_LOCAL_MACHINE, kDisplay, L"LogicalPixelsX", 192);
}

TestOwner::TestOwner() {
    WNDCLASSW wc{};
    wc.lpfnWndProc = Proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = kOwnerClass;
    RegisterClassW(&wc);
    m_hwnd = CreateWindowExW(0, kOwnerClass, L"owner", WS_POPUP | WS_VISIBLE, 0, 26, 240, 268, nullptr, nullptr,
                             wc.hInstance, this);
    m_hwndEdit = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, 10, 10, 200, 24, m_hwnd,
                                 nullptr, wc.hInstance, nullptr);
    SetForegroundWindow(m_hwnd);
    SetFocus(m_hwndEdit);
}

TestOwner::~TestOwner() {
    if (m_hwnd && IsWindow(m_hwnd)) DestroyWindow(m_hwnd);
}

std::wstring TestOwner::EditText() const {
    wchar_t buf[260] = {};
    GetWindowTextW(m_hwndEdit, buf, 260);
    return buf;
}

LRESULT CALLBACK TestOwner::Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NCCREATE)
        SetWindowLongPtrW(hwnd, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
    auto* self = reinterpret_cast<TestOwner*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (self && msg == WM_COMMAND && lParam == 0) {
        self->m_commands.push_back(LOWORD(wParam));
        if (self->m_destroyOn == LOWORD(wParam)) DestroyWindow(hwnd);
        return 0;
    }
    if (self && msg == WM_SETTINGCHANGE) self->m_settingChanges.push_back(wParam);
    if (self && msg == WM_NCDESTROY) {
        self->m_hwnd = nullptr;
        self->m_hwndEdit = nullptr;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

HWND MakeSoftKeyBar(HWND owner, UINT nId, DWORD dwFlags) {
    SHMENUBARINFO mbi{};
    mbi.cbSize = sizeof(mbi);
    mbi.hwndParent = owner;
    mbi.dwFlags = dwFlags;
    mbi.nToolBarId = nId;
    mbi.hInstRes = GetModuleHandleW(nullptr);
    return SHCreateMenuBar(&mbi) ? mbi.hwndMB : nullptr;
}

void Tap(HWND hwnd, int x, int y) { PressRelease(hwnd, POINT{x, y}, POINT{x, y}); }

void PressRelease(HWND hwnd, POINT down, POINT up) {
    SendMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(down.x, down.y));
    if (IsWindow(hwnd)) SendMessageW(hwnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(up.x, up.y));
    if (IsWindow(hwnd)) SendMessageW(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(up.x, up.y));
}

RECT WindowRectOf(HWND hwnd) {
    RECT rc{};
    GetWindowRect(hwnd, &rc);
    return rc;
}

std::vector<DWORD> CaptureClient(HWND hwnd, int* pWidth, int* pHeight) {
    ClientPicture picture(hwnd);
    *pWidth = picture.Width();
    *pHeight = picture.Height();
    return picture.RawPixels();
}

int CountWhite(const std::vector<DWORD>& pixels, int width, const RECT& rc) {
    int n = 0;
    for (int y = rc.top; y < rc.bottom; ++y)
        for (int x = rc.left; x < rc.right; ++x) {
            DWORD p = pixels[static_cast<size_t>(y) * width + x];
            if ((p & 0xFF) > 0xE0 && ((p >> 8) & 0xFF) > 0xE0 && ((p >> 16) & 0xFF) > 0xE0) ++n;
        }
    return n;
}
