// Composes the list window and its edit controls into one 32-bit surface
// through WM_PRINTCLIENT and writes it with the tests' PNG writer.
#include "tools/bench_list/list_picture.h"

#include <vector>

#include "tests/support/png_writer.h"

namespace {

struct Surface {
    HDC hdc = nullptr;
    HBITMAP hbm = nullptr;
    HGDIOBJ old = nullptr;
    DWORD* bits = nullptr;
    int width = 0, height = 0;

    Surface(int w, int h) : width(w), height(h) {
        BITMAPINFO bmi{};
        bmi.bmiHeader.biSize = sizeof(bmi.bmiHeader);
        bmi.bmiHeader.biWidth = w;
        bmi.bmiHeader.biHeight = -h;
        bmi.bmiHeader.biPlanes = 1;
        bmi.bmiHeader.biBitCount = 32;
        hdc = CreateCompatibleDC(nullptr);
        void* p = nullptr;
        hbm = CreateDIBSection(hdc, &bmi, DIB_RGB_COLORS, &p, nullptr, 0);
        bits = static_cast<DWORD*>(p);
        if (hbm) old = SelectObject(hdc, hbm);
    }
    ~Surface() {
        if (old) SelectObject(hdc, old);
        if (hbm) DeleteObject(hbm);
        if (hdc) DeleteDC(hdc);
    }
    Surface(const Surface&) = delete;
    Surface& operator=(const Surface&) = delete;
};

BOOL CALLBACK PrintChild(HWND child, LPARAM lParam) {
    auto* s = reinterpret_cast<Surface*>(lParam);
    if (!IsWindowVisible(child)) return TRUE;
    RECT rc{};
    GetWindowRect(child, &rc);
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&rc), 2);
    POINT old{};
    SetViewportOrgEx(s->hdc, rc.left, rc.top, &old);
    HRGN clip = CreateRectRgn(rc.left, rc.top, rc.right, rc.bottom);
    SelectClipRgn(s->hdc, clip);
    SendMessageW(child, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(s->hdc), PRF_CLIENT | PRF_ERASEBKGND);
    SelectClipRgn(s->hdc, nullptr);
    DeleteObject(clip);
    SetViewportOrgEx(s->hdc, old.x, old.y, nullptr);
    return TRUE;
}

}  // namespace

bool SaveListPicture(HWND hwndList, const std::wstring& path) {
    RECT rc{};
    GetClientRect(hwndList, &rc);
    Surface s(rc.right, rc.bottom);
    if (!s.bits) return false;
    SendMessageW(hwndList, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(s.hdc), PRF_CLIENT);
    EnumChildWindows(hwndList, PrintChild, reinterpret_cast<LPARAM>(&s));
    GdiFlush();
    std::vector<Argb> pixels(static_cast<size_t>(s.width) * s.height);
    for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = 0xFF000000u | (s.bits[i] & 0x00FFFFFFu);
    return WritePng(path, s.width, s.height, pixels);
}
