// A window's picture as its WM_PRINTCLIENT paints it (or any painter's), in
// a 32-bit top-down surface first filled with a colour, so that what the
// window does not paint can be told apart. The one capture every window
// test uses.
#pragma once
#include <windows.h>

#include <functional>
#include <vector>

#include "platform/base/scoped.h"

class ClientPicture {
public:
    // hwnd's client area.
    explicit ClientPicture(HWND hwnd, COLORREF unpainted = RGB(0, 0, 0));
    // cx x cy painted by paint.
    ClientPicture(int cx, int cy, const std::function<void(HDC)>& paint, COLORREF unpainted = RGB(0, 0, 0));
    ClientPicture(const ClientPicture&) = delete;
    ClientPicture& operator=(const ClientPicture&) = delete;

    bool Ok() const { return m_bits != nullptr; }
    int Width() const { return m_cx; }
    int Height() const { return m_cy; }
    // The surface, still holding the picture.
    HDC hdc() const { return m_surface.hdc(); }
    COLORREF At(int x, int y) const;
    // As the surface holds it: 0x00RRGGBB.
    DWORD Raw(int x, int y) const { return m_bits[static_cast<size_t>(y) * m_cx + x] & 0x00FFFFFF; }
    std::vector<COLORREF> Pixels() const;
    std::vector<DWORD> RawPixels() const;

private:
    void Paint(const std::function<void(HDC)>& paint, COLORREF unpainted);
    template <typename Pixel>
    std::vector<Pixel> Collect(Pixel (ClientPicture::*read)(int, int) const) const;

    scoped::Surface m_surface;
    const DWORD* m_bits = nullptr;
    int m_cx = 0;
    int m_cy = 0;
};
