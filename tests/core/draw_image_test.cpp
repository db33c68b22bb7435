// DrawImageFile on real PNG files: blending by pixel alpha, scaling into the
// rectangle, and nothing drawn without an image or room.
#include <gtest/gtest.h>

#include <objbase.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "core/draw_image.h"
#include "platform/aygshell/image_file.h"
#include "platform/base/imaging.h"
#include "platform/base/scoped.h"
#include "tests/support/png_writer.h"
#include "tests/support/scratch.h"

namespace {

constexpr Argb kRed = 0xFFFF0000;
constexpr Argb kBlue = 0xFF0000FF;
constexpr Argb kHalfBlack = 0x80000000;
constexpr Argb kClear = 0x00000000;

// A white 32-bit canvas whose pixels can be read back as 0x00RRGGBB.
class Canvas {
public:
    Canvas(int cx, int cy) : m_cx(cx) {
        BITMAPINFO bmi{};
        bmi.bmiHeader.biSize = sizeof(bmi.bmiHeader);
        bmi.bmiHeader.biWidth = cx;
        bmi.bmiHeader.biHeight = -cy;
        bmi.bmiHeader.biPlanes = 1;
        bmi.bmiHeader.biBitCount = 32;
        m_bitmap.reset(CreateDIBSection(nullptr, &bmi, DIB_RGB_COLORS, &m_bits, nullptr, 0));
        m_dc.reset(CreateCompatibleDC(nullptr));
        m_old = SelectObject(m_dc.get(), m_bitmap.get());
        RECT rc = {0, 0, cx, cy};
        FillRect(m_dc.get(), &rc, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        GdiFlush();
    }
    ~Canvas() { SelectObject(m_dc.get(), m_old); }
    HDC dc() const { return m_dc.get(); }
    DWORD Pixel(int x, int y) const {
        GdiFlush();
        return static_cast<const DWORD*>(m_bits)[y * m_cx + x] & 0xFFFFFF;
    }

private:
    int m_cx;
    void* m_bits = nullptr;
    scoped::Bitmap m_bitmap;
    scoped::MemDC m_dc;
    HGDIOBJ m_old = nullptr;
};

class DrawImageTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
        ASSERT_TRUE(CreateImagingFactory(&m_factory));
    }
    void TearDown() override {
        ReleaseImagingFactory(&m_factory);
        CoUninitialize();
    }
    // Opaque red, half-transparent black and clear, side by side.
    void WriteStrip(LPCWSTR cePath) {
        ASSERT_TRUE(WritePng(m_device.Path(cePath), 3, 1, {kRed, kHalfBlack, kClear}));
    }

    ScratchDevice m_device;
    IUnknown* m_factory = nullptr;
};

TEST_F(DrawImageTest, DrawBlendsByPixelAlpha) {
    WriteStrip(L"\\Windows\\strip.png");
    Canvas canvas(20, 4);
    ASSERT_TRUE(DrawImageFile(m_factory, L"\\Windows\\strip.png", canvas.dc(), 10, 2, 13, 3));
    EXPECT_EQ(canvas.Pixel(10, 2), 0xFF0000u);
    // Black at alpha 128 over white leaves 255 * 127 / 255.
    EXPECT_TRUE(NearColour(canvas.Pixel(11, 2), 0x7F7F7F)) << std::hex << canvas.Pixel(11, 2);
    EXPECT_EQ(canvas.Pixel(12, 2), 0xFFFFFFu);
    // Nothing outside the rectangle.
    for (auto [x, y] : {std::pair{9, 2}, {13, 2}, {10, 1}, {10, 3}, {0, 0}})
        EXPECT_EQ(canvas.Pixel(x, y), 0xFFFFFFu) << x << "," << y;
}

TEST_F(DrawImageTest, DrawScalesTheWholeImageIntoTheRectangle) {
    // 2 x 2 quadrants: red, blue / half black, clear.
    ASSERT_TRUE(WritePng(m_device.Path(L"\\Windows\\quad.png"), 2, 2, {kRed, kBlue, kHalfBlack, kClear}));
    Canvas canvas(64, 48);
    ASSERT_TRUE(DrawImageFile(m_factory, L"windows\\quad.png", canvas.dc(), 8, 4, 48, 36));
    // Centres of the four 20 x 16 quadrants.
    EXPECT_EQ(canvas.Pixel(18, 12), 0xFF0000u);
    EXPECT_EQ(canvas.Pixel(38, 12), 0x0000FFu);
    EXPECT_TRUE(NearColour(canvas.Pixel(18, 28), 0x7F7F7F)) << std::hex << canvas.Pixel(18, 28);
    EXPECT_EQ(canvas.Pixel(38, 28), 0xFFFFFFu);
    // The corners of the rectangle are covered; the pixels just outside are not.
    EXPECT_EQ(canvas.Pixel(8, 4), 0xFF0000u);
    EXPECT_EQ(canvas.Pixel(47, 4), 0x0000FFu);
    EXPECT_EQ(canvas.Pixel(7, 4), 0xFFFFFFu);
    EXPECT_EQ(canvas.Pixel(48, 4), 0xFFFFFFu);
    EXPECT_EQ(canvas.Pixel(8, 3), 0xFFFFFFu);
    EXPECT_EQ(canvas.Pixel(47, 36), 0xFFFFFFu);

    // Shrinking works too: a 40 x 40 red-over-blue image into 4 x 4.
    std::vector<Argb> big(40 * 40, kRed);
    std::fill(big.begin() + 20 * 40, big.end(), kBlue);
    ASSERT_TRUE(WritePng(m_device.Path(L"\\Windows\\big.png"), 40, 40, big));
    ASSERT_TRUE(DrawImageFile(m_factory, L"\\Windows\\big.png", canvas.dc(), 0, 40, 4, 44));
    EXPECT_EQ(canvas.Pixel(1, 40), 0xFF0000u);
    EXPECT_EQ(canvas.Pixel(1, 43), 0x0000FFu);
    EXPECT_EQ(canvas.Pixel(4, 41), 0xFFFFFFu);
}

TEST_F(DrawImageTest, DrawWithoutImageOrRoomDrawsNothing) {
    WriteStrip(L"\\Windows\\strip.png");
    ASSERT_TRUE(WriteFileBytes(m_device.Path(L"\\Windows\\corrupt.png"),
                               std::string("\x89PNG\r\n\x1a\n", 8) + std::string(40, '\x7f')));
    ASSERT_TRUE(WriteFileBytes(m_device.Path(L"\\Windows\\empty.png"), ""));
    Canvas canvas(8, 8);
    TraceCapture trace;
    EXPECT_FALSE(DrawImageFile(m_factory, L"\\Windows\\absent.png", canvas.dc(), 0, 0, 8, 8));
    EXPECT_FALSE(DrawImageFile(m_factory, L"\\Windows\\corrupt.png", canvas.dc(), 0, 0, 8, 8));
    EXPECT_FALSE(DrawImageFile(m_factory, L"\\Windows\\empty.png", canvas.dc(), 0, 0, 8, 8));
    EXPECT_FALSE(DrawImageFile(nullptr, L"\\Windows\\strip.png", canvas.dc(), 0, 0, 8, 8));
    EXPECT_FALSE(DrawImageFile(m_factory, nullptr, canvas.dc(), 0, 0, 8, 8));
    // A missing file is drawn at every refresh: only its loading says so.
    EXPECT_EQ(trace.Count(L"[imaging] [err]:DrawImageFile()"), 4);
    EXPECT_FALSE(trace.Has(L"file=[\\Windows\\absent.png]"));
    EXPECT_EQ(SHLoadImageFile(L"\\Windows\\absent.png"), nullptr);
    EXPECT_TRUE(trace.Has(L"file=[\\Windows\\absent.png]"));

    // An empty or reversed rectangle: the image was made, nothing is drawn.
    EXPECT_TRUE(DrawImageFile(m_factory, L"\\Windows\\strip.png", canvas.dc(), 2, 2, 2, 6));
    EXPECT_TRUE(DrawImageFile(m_factory, L"\\Windows\\strip.png", canvas.dc(), 6, 6, 2, 2));
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) ASSERT_EQ(canvas.Pixel(x, y), 0xFFFFFFu) << x << "," << y;
}

TEST_F(DrawImageTest, PictureLargerThanTheScreenCanUseIsNotDrawnAndSaidOnce) {
    ASSERT_TRUE(WriteFileBytes(m_device.Path(L"\\Windows\\huge.png"), PngHeaderOfSize(20000, 20000)));
    Canvas canvas(8, 8);
    TraceCapture trace;
    // Drawn at every refresh, the refusal is said the first time only.
    EXPECT_FALSE(DrawImageFile(m_factory, L"\\Windows\\huge.png", canvas.dc(), 0, 0, 8, 8));
    EXPECT_FALSE(DrawImageFile(m_factory, L"\\Windows\\huge.png", canvas.dc(), 0, 0, 8, 8));
    EXPECT_EQ(trace.Count(L"[imaging] [err]:DrawImageFile(), image 20000x20000 larger than the screen can use, "
                          L"refused, file=[\\Windows\\huge.png]."),
              1);
    EXPECT_EQ(trace.Count(L"[imaging]"), 1);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) ASSERT_EQ(canvas.Pixel(x, y), 0xFFFFFFu) << x << "," << y;
}

}  // namespace
