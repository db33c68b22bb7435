// The shell library's image-file loader on real PNG files: a top-down
// premultiplied DIB, clean failures, pictures larger than the screen can use
// refused, and no COM needed on the caller's thread.
#include <gtest/gtest.h>

#include <objbase.h>

#include <string>
#include <thread>

#include "platform/aygshell/image_file.h"
#include "platform/base/scoped.h"
#include "platform/base/screen.h"
#include "tests/support/png_writer.h"
#include "tests/support/scratch.h"

namespace {

constexpr Argb kRed = 0xFFFF0000;
constexpr Argb kBlue = 0xFF0000FF;
constexpr Argb kClear = 0x00000000;

class ImageFileTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))); }
    void TearDown() override {
        SetScreenSizeForTest(0, 0);
        CoUninitialize();
    }

    ScratchDevice m_device;
};

TEST_F(ImageFileTest, LoaderGivesTopDownPremultipliedDib) {
    ASSERT_TRUE(WritePng(m_device.Path(L"\\Windows\\col.png"), 2, 3,
                         {kRed, kRed, 0x80FFFFFF, 0x80FFFFFF, kBlue, kClear}));
    scoped::Bitmap bitmap(SHLoadImageFile(L"\\Windows\\col.png"));
    ASSERT_TRUE(bitmap);
    DIBSECTION ds{};
    ASSERT_EQ(GetObjectW(bitmap.get(), sizeof(ds), &ds), int(sizeof(ds)));
    EXPECT_EQ(ds.dsBm.bmWidth, 2);
    EXPECT_EQ(ds.dsBm.bmHeight, 3);
    EXPECT_EQ(ds.dsBm.bmBitsPixel, 32);
    ASSERT_NE(ds.dsBm.bmBits, nullptr);
    const DWORD* px = static_cast<const DWORD*>(ds.dsBm.bmBits);
    // The first row in memory is the image's top row.
    EXPECT_EQ(px[0], 0xFFFF0000u);
    // Half-transparent white is stored premultiplied.
    EXPECT_TRUE(NearColour(px[2], 0x808080) && (px[2] >> 24) == 0x80) << std::hex << px[2];
    EXPECT_EQ(px[4], 0xFF0000FFu);
    EXPECT_EQ(px[5], 0u);
}

TEST_F(ImageFileTest, LoaderFailsCleanlyForMissingOrBadFiles) {
    ASSERT_TRUE(WriteSolidPng(m_device.Path(L"\\Windows\\good.png"), 5, 5, kRed));
    std::string good = ReadFileBytes(m_device.Path(L"\\Windows\\good.png"));
    ASSERT_GT(good.size(), 20u);
    ASSERT_TRUE(WriteFileBytes(m_device.Path(L"\\Windows\\cut.png"), good.substr(0, good.size() / 2)));
    ASSERT_TRUE(WriteFileBytes(m_device.Path(L"\\Windows\\text.png"), "not an image at all"));
    TraceCapture trace;
    for (LPCWSTR path : {L"\\Windows\\absent.png", L"\\Windows\\cut.png", L"\\Windows\\text.png",
                         L"\\Nowhere\\x.png", L""}) {
        HBITMAP hbm = SHLoadImageFile(path);
        EXPECT_EQ(hbm, nullptr) << path;
        if (hbm) DeleteObject(hbm);
    }
    EXPECT_EQ(SHLoadImageFile(nullptr), nullptr);
    EXPECT_EQ(trace.Count(L"[imaging] [err]:SHLoadImageFile()"), 5);
}

enum class Picture { Png, PngHeader, Bmp };

struct SizeCase {
    const char* what;
    Picture picture;
    uint32_t cx, cy;
    bool loaded;
};

TEST_F(ImageFileTest, PicturesLargerThanTheScreenCanUseAreRefused) {
    // Four screens of 240 x 320 are 307200 pixels.
    SetScreenSizeForTest(240, 320);
    const SizeCase cases[] = {
        {"4096 wide", Picture::Png, 4096, 1, true},
        {"4097 wide", Picture::Png, 4097, 1, false},
        {"4097 high", Picture::Png, 1, 4097, false},
        {"four screens", Picture::Png, 640, 480, true},
        {"more than four screens", Picture::Png, 641, 480, false},
        {"20000 x 20000, by its header", Picture::PngHeader, 20000, 20000, false},
        {"a side beyond 31 bits, by its header", Picture::PngHeader, 0xFFFFFFFFu, 1, false},
        {"not a PNG, by its frame", Picture::Bmp, 4097, 1, false},
        {"not a PNG, within bounds", Picture::Bmp, 4096, 1, true},
    };
    const std::wstring path = m_device.Path(L"\\Windows\\size.png");
    for (const SizeCase& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(c.picture == Picture::Png ? WriteSolidPng(path, int(c.cx), int(c.cy), kRed)
                    : WriteFileBytes(path, c.picture == Picture::Bmp ? SolidBmp(int(c.cx), int(c.cy), kBlue)
                                                                     : PngHeaderOfSize(c.cx, c.cy)));
        TraceCapture trace;
        scoped::Bitmap bitmap(SHLoadImageFile(L"\\Windows\\size.png"));
        EXPECT_EQ(static_cast<bool>(bitmap), c.loaded);
        const std::wstring said = L"image " + std::to_wstring(c.cx) + L"x" + std::to_wstring(c.cy) +
                                  L" larger than the screen can use, refused, file=[\\Windows\\size.png].";
        EXPECT_EQ(trace.Count(said), c.loaded ? 0 : 1);
        EXPECT_EQ(trace.Count(L"[imaging]"), c.loaded ? 0 : 1) << "refused, not failed";
    }
}

TEST_F(ImageFileTest, LoaderWorksOnAThreadWithoutCom) {
    ASSERT_TRUE(WriteSolidPng(m_device.Path(L"\\Windows\\good.png"), 7, 2, kBlue));
    BITMAP bm{};
    std::thread([&] {
        scoped::Bitmap bitmap(SHLoadImageFile(L"\\Windows\\good.png"));
        if (bitmap) GetObjectW(bitmap.get(), sizeof(bm), &bm);
    }).join();
    EXPECT_EQ(bm.bmWidth, 7);
    EXPECT_EQ(bm.bmHeight, 2);
}

}  // namespace
