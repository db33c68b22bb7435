// Pictures of windows through WM_PRINTCLIENT, in a DIB section.
#include "tests/support/client_picture.h"

#include <gtest/gtest.h>

namespace {

SIZE ClientSize(HWND hwnd) {
    RECT rc{};
    GetClientRect(hwnd, &rc);
    return SIZE{rc.right, rc.bottom};
}

}  // namespace

ClientPicture::ClientPicture(HWND hwnd, COLORREF unpainted) {
    const SIZE size = ClientSize(hwnd);
    m_cx = size.cx;
    m_cy = size.cy;
    Paint([hwnd](HDC hdc) { SendMessageW(hwnd, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(hdc), PRF_CLIENT); },
          unpainted);
}

ClientPicture::ClientPicture(int cx, int cy, const std::function<void(HDC)>& paint, COLORREF unpainted)
    : m_cx(cx), m_cy(cy) {
    Paint(paint, unpainted);
}

void ClientPicture::Paint(const std::function<void(HDC)>& paint, COLORREF unpainted) {
    if (m_cx <= 0 || m_cy <= 0) {
        ADD_FAILURE() << "no picture of an empty area";
        return;
    }
    BITMAPINFO bmi{};
    bmi.bmiHeader.biSize = sizeof(bmi.bmiHeader);
    bmi.bmiHeader.biWidth = m_cx;
    bmi.bmiHeader.biHeight = -m_cy;  // top-down
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    if (!m_surface.CreateDC(nullptr) ||
        !m_surface.Adopt(CreateDIBSection(nullptr, &bmi, DIB_RGB_COLORS, &bits, nullptr, 0)) || !bits) {
        ADD_FAILURE() << "no surface for the picture";
        return;
    }
    m_bits = static_cast<const DWORD*>(bits);
    scoped::Brush fill(CreateSolidBrush(unpainted));
    RECT rc{0, 0, m_cx, m_cy};
    FillRect(m_surface.hdc(), &rc, fill.get());
    paint(m_surface.hdc());
    GdiFlush();
}

COLORREF ClientPicture::At(int x, int y) const {
    const DWORD p = Raw(x, y);
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

template <typename Pixel>
std::vector<Pixel> ClientPicture::Collect(Pixel (ClientPicture::*read)(int, int) const) const {
    std::vector<Pixel> pixels;
    pixels.reserve(static_cast<size_t>(m_cx) * m_cy);
    for (int y = 0; m_bits && y < m_cy; ++y)
        for (int x = 0; x < m_cx; ++x) pixels.push_back((this->*read)(x, y));
    return pixels;
}

std::vector<COLORREF> ClientPicture::Pixels() const { return Collect(&ClientPicture::At); }

std::vector<DWORD> ClientPicture::RawPixels() const { return Collect(&ClientPicture::Raw); }
