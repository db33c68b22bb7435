// Skin images, list fonts and their release, from PNG files in a scratch device.
#include <gtest/gtest.h>

#include <objbase.h>

#include <algorithm>
#include <string>
#include <vector>

#include "core/app_state.h"
#include "core/skin_resources.h"
#include "core/ui_config.h"
#include "platform/base/imaging.h"
#include "platform/base/scoped.h"
#include "platform/base/screen.h"
#include "shell/release_resources.h"
#include "tests/support/png_writer.h"
#include "tests/support/scratch.h"

namespace {

// Image i is (10 + i) x (3 + i), opaque, of a colour of its own.
int WidthOf(int i) { return 10 + i; }
int HeightOf(int i) { return 3 + i; }
Argb ColorOf(int i) { return 0xFF000000u | (0x10u * i) << 16 | 0x40u | (0x08u * i); }

struct Handles {
    std::vector<HGDIOBJ> objects;  // bitmaps and fonts
    std::vector<HDC> dcs;
};

Handles TakeHandles() {
    Handles h;
    for (const SkinImage& img : AppState.SkinImages) {
        if (img.hBitmap) h.objects.push_back(img.hBitmap);
        if (img.hdcMem) h.dcs.push_back(img.hdcMem);
    }
    for (HFONT f : {AppState.hFontLarge, AppState.hFontPrimary, AppState.hFontSecondary,
                    AppState.hFontMinor, AppState.hFontThin, AppState.hFontThinSmall})
        if (f) h.objects.push_back(f);
    return h;
}

void ExpectAllGone(const Handles& h) {
    for (HGDIOBJ o : h.objects) EXPECT_EQ(GetObjectType(o), 0u) << o;
    for (HDC dc : h.dcs) EXPECT_EQ(GetObjectType(dc), 0u) << dc;
}

void ExpectImagesEmpty() {
    for (int i = 0; i < kSkinImageCount; ++i) {
        const SkinImage& img = AppState.SkinImages[i];
        EXPECT_EQ(img.hBitmap, nullptr) << i;
        EXPECT_EQ(img.hdcMem, nullptr) << i;
        EXPECT_EQ(img.bm.bmWidth, 0) << i;
        EXPECT_EQ(img.bm.bmHeight, 0) << i;
    }
}

void ExpectSetEmpty() {
    ExpectImagesEmpty();
    for (HFONT f : {AppState.hFontLarge, AppState.hFontPrimary, AppState.hFontSecondary,
                    AppState.hFontMinor, AppState.hFontThin, AppState.hFontThinSmall})
        EXPECT_EQ(f, nullptr);
}

LOGFONTW FontOf(HFONT f) {
    LOGFONTW lf{};
    EXPECT_EQ(GetObjectW(f, sizeof(lf), &lf), int(sizeof(lf)));
    return lf;
}

class SkinResourcesTest : public testing::Test {
protected:
    void SetUp() override {
        ResetAppState();
        ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    }
    void TearDown() override {
        ReleaseResources();
        ResetAppState();
        DeleteRegTree(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Orvex");
        SetScreenSizeForTest(0, 0);
        CoUninitialize();
    }
    void WriteSkin(int i) {
        ASSERT_TRUE(WriteSolidPng(m_device.Path(kSkinImageFiles[i]), WidthOf(i), HeightOf(i), ColorOf(i)));
    }
    void WriteAllSkins() {
        for (int i = 0; i < kSkinImageCount; ++i) WriteSkin(i);
    }
    // The trace lines of failed deletions (a double release shows up here).
    static int DeleteErrors(const TraceCapture& trace) {
        return trace.Count(L"[err]:DeleteGdiObject()") + trace.Count(L"[err]:FreeSkinImage()");
    }

    ScratchDevice m_device;
};

TEST_F(SkinResourcesTest, EveryImageGetsItsContextAndSize) {
    WriteAllSkins();
    TraceCapture trace;
    ASSERT_TRUE(LoadSkinResources());
    for (int i = 0; i < kSkinImageCount; ++i) {
        SCOPED_TRACE(kSkinImageFiles[i]);
        const SkinImage& img = AppState.SkinImages[i];
        ASSERT_NE(img.hBitmap, nullptr);
        ASSERT_NE(img.hdcMem, nullptr);
        EXPECT_EQ(img.bm.bmWidth, WidthOf(i));
        EXPECT_EQ(img.bm.bmHeight, HeightOf(i));
        EXPECT_EQ(GetCurrentObject(img.hdcMem, OBJ_BITMAP), img.hBitmap);
        // Ready for a plain block copy: the context shows the file's pixels.
        COLORREF expected = RGB((ColorOf(i) >> 16) & 0xFF, (ColorOf(i) >> 8) & 0xFF, ColorOf(i) & 0xFF);
        EXPECT_EQ(GetPixel(img.hdcMem, WidthOf(i) - 1, HeightOf(i) - 1), expected);
    }
    EXPECT_STREQ(AppState.szOnText, L"ON");
    EXPECT_STREQ(AppState.szOffText, L"OFF");
    EXPECT_FALSE(trace.Has(L"[err]"));
}

TEST_F(SkinResourcesTest, MissingOrBadFilesLeaveEmptyEntriesAndNothingIsFreedTwice) {
    WriteAllSkins();
    DeleteFileW(m_device.Path(kSkinImageFiles[kSkinPTitle]).c_str());
    DeleteFileW(m_device.Path(kSkinImageFiles[kSkinLSubTitle]).c_str());
    ASSERT_TRUE(WriteFileBytes(m_device.Path(kSkinImageFiles[kSkinSwitchOn]), "garbage"));
    TraceCapture trace;
    LoadSkinResources();
    for (int i : {int(kSkinPTitle), int(kSkinLSubTitle), int(kSkinSwitchOn)}) {
        SCOPED_TRACE(i);
        const SkinImage& img = AppState.SkinImages[i];
        EXPECT_EQ(img.hBitmap, nullptr);
        EXPECT_EQ(img.hdcMem, nullptr);
        EXPECT_EQ(img.bm.bmWidth, 0);
        EXPECT_EQ(img.bm.bmHeight, 0);
        EXPECT_EQ(trace.Count(std::wstring(L"[err]:LoadSkinImage(), ") + kSkinImageFiles[i] + L" not loaded."), 1);
    }
    EXPECT_EQ(AppState.SkinImages[kSkinLTitle].bm.bmHeight, HeightOf(kSkinLTitle));

    // A reload replaces everything; a file gone since then leaves no stale size.
    Handles first = TakeHandles();
    DeleteFileW(m_device.Path(kSkinImageFiles[kSkinPLine]).c_str());
    WriteSkin(kSkinPTitle);
    LoadSkinResources();
    ExpectAllGone(first);
    EXPECT_EQ(AppState.SkinImages[kSkinPLine].hBitmap, nullptr);
    EXPECT_EQ(AppState.SkinImages[kSkinPLine].bm.bmWidth, 0);
    EXPECT_EQ(AppState.SkinImages[kSkinPTitle].bm.bmHeight, HeightOf(kSkinPTitle));
    ASSERT_NE(AppState.hFontLarge, nullptr);

    Handles second = TakeHandles();
    EXPECT_EQ(second.dcs.size(), size_t(kSkinImageCount - 3));
    EXPECT_EQ(second.objects.size(), size_t(kSkinImageCount - 3 + 6));
    ReleaseResources();
    ExpectAllGone(second);
    ExpectSetEmpty();
    ReleaseResources();
    EXPECT_EQ(DeleteErrors(trace), 0);
}

TEST_F(SkinResourcesTest, ReleaseGivesBackTheFactoryOnce) {
    ASSERT_TRUE(CreateImagingFactory(&AppState.pImagingFactory));
    IUnknown* pFactory = AppState.pImagingFactory;
    pFactory->AddRef();  // our own hold, to count the program's releases
    LoadSkinResources();  // no files at all
    ExpectImagesEmpty();
    ASSERT_NE(AppState.hFontThinSmall, nullptr);
    ReleaseResources();
    ExpectSetEmpty();
    EXPECT_EQ(AppState.pImagingFactory, nullptr);
    ReleaseResources();
    EXPECT_EQ(pFactory->Release(), 0u) << "the program released its reference exactly once";
}

TEST_F(SkinResourcesTest, TheProgramsFactoryLoadsEverySlotWhateverTheFormat) {
    ASSERT_TRUE(CreateImagingFactory(&AppState.pImagingFactory));
    WriteAllSkins();
    ASSERT_TRUE(WriteFileBytes(m_device.Path(kSkinImageFiles[kSkinPLine]),
                               SolidBmp(WidthOf(kSkinPLine), HeightOf(kSkinPLine), ColorOf(kSkinPLine))));
    TraceCapture trace;
    LoadSkinResources();
    for (int i = 0; i < kSkinImageCount; ++i) {
        SCOPED_TRACE(kSkinImageFiles[i]);
        const SkinImage& img = AppState.SkinImages[i];
        ASSERT_NE(img.hdcMem, nullptr);
        EXPECT_EQ(img.bm.bmWidth, WidthOf(i));
        EXPECT_EQ(img.bm.bmHeight, HeightOf(i));
        COLORREF expected = RGB((ColorOf(i) >> 16) & 0xFF, (ColorOf(i) >> 8) & 0xFF, ColorOf(i) & 0xFF);
        EXPECT_EQ(GetPixel(img.hdcMem, 0, 0), expected);
    }
    EXPECT_FALSE(trace.Has(L"[err]"));
}

TEST_F(SkinResourcesTest, LoadOneImage) {
    WriteSkin(kSkinPTitle);
    ASSERT_TRUE(LoadSkinImage(kSkinPTitle));
    EXPECT_EQ(AppState.SkinImages[kSkinPTitle].bm.bmHeight, HeightOf(kSkinPTitle));
    EXPECT_EQ(AppState.SkinImages[kSkinLTitle].hBitmap, nullptr);
    EXPECT_FALSE(LoadSkinImage(kSkinLTitle));
    EXPECT_FALSE(LoadSkinImage(-1));
    EXPECT_FALSE(LoadSkinImage(kSkinImageCount));
}

struct TitleCase {
    int nScale;
    int index;
    int cx, cy;
    int fittedCy;  // the picture's height once loaded
};

TEST_F(SkinResourcesTest, TitlePicturesTallerThanTheBarAreFittedToIt) {
    const TitleCase cases[] = {
        {1, kSkinPTitle, 240, 68, 68},   {1, kSkinPTitle, 240, 69, 68}, {2, kSkinPTitle, 480, 136, 136},
        {2, kSkinPTitle, 480, 137, 136}, {2, kSkinLTitle, 640, 900, 136}, {1, kSkinLTitle, 30, 4000, 68},
    };
    for (const TitleCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "s=" << c.nScale << " " << c.cx << "x" << c.cy);
        AppState.nScale = c.nScale;
        // Red above, blue below: fitted, both halves stay in sight.
        std::vector<Argb> pixels(size_t(c.cx) * c.cy, 0xFFFF0000u);
        std::fill(pixels.begin() + size_t(c.cx) * (c.cy / 2), pixels.end(), 0xFF0000FFu);
        ASSERT_TRUE(WritePng(m_device.Path(kSkinImageFiles[c.index]), c.cx, c.cy, pixels));
        TraceCapture trace;
        ASSERT_TRUE(LoadSkinImage(c.index));
        const SkinImage& img = AppState.SkinImages[c.index];
        EXPECT_EQ(img.bm.bmWidth, c.cx);
        EXPECT_EQ(img.bm.bmHeight, c.fittedCy);
        EXPECT_EQ(GetCurrentObject(img.hdcMem, OBJ_BITMAP), img.hBitmap);
        EXPECT_EQ(GetPixel(img.hdcMem, c.cx / 2, 0), RGB(0xFF, 0, 0));
        EXPECT_EQ(GetPixel(img.hdcMem, c.cx / 2, c.fittedCy - 1), RGB(0, 0, 0xFF));
        EXPECT_EQ(trace.Count(L"fitted to the title bar's"), c.cy == c.fittedCy ? 0 : 1);
    }
}

struct FontCase {
    int nScale;
    int nScreenType;
    BOOL bCJK;
    bool hasSizes;
    BYTE sizes[4];
    LONG large, primary, secondary, minor, thin, thinSmall;  // expected heights
};

TEST_F(SkinResourcesTest, FontHeightsFollowScaleClassSizesAndLanguage) {
    {
        scoped::WindowDC screen(nullptr);
        // The heights below are -size * s only when both directions agree.
        ASSERT_EQ(GetDeviceCaps(screen.get(), LOGPIXELSX), GetDeviceCaps(screen.get(), LOGPIXELSY));
    }
    const FontCase cases[] = {
        {1, 1, FALSE, false, {}, -12, -12, -11, -9, -8, -7},
        {2, 3, FALSE, false, {}, -24, -24, -22, -18, -16, -14},
        {1, 6, FALSE, false, {}, -16, -12, -11, -9, -8, -7},
        {2, 6, FALSE, false, {}, -32, -24, -22, -18, -16, -14},
        {1, 1, FALSE, true, {0, 14, 13, 10}, -12, -14, -13, -9, -10, -7},
        {2, 5, FALSE, true, {20, 14, 13, 10}, -24, -28, -26, -18, -20, -14},
        {1, 1, FALSE, true, {0, 0, 13, 10}, -12, 0, -13, -9, -10, -7},
        {1, 1, TRUE, false, {}, -12, -12, -11, -11, -8, -7},
        {2, 1, TRUE, false, {}, -24, -24, -22, -22, -16, -14},
    };
    for (const FontCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "s=" << c.nScale << " type=" << c.nScreenType
                                        << " cjk=" << c.bCJK << " sizes=" << c.hasSizes);
        AppState.nScale = c.nScale;
        AppState.nScreenType = c.nScreenType;
        AppState.bCJKLanguage = c.bCJK;
        AppState.bHasTextSize = c.hasSizes;
        memcpy(AppState.TextSizeSetting, c.sizes, 4);
        LoadSkinResources();
        struct { HFONT font; LONG height, weight; } const fonts[] = {
            {AppState.hFontLarge, c.large, 400},   {AppState.hFontPrimary, c.primary, 400},
            {AppState.hFontSecondary, c.secondary, 400}, {AppState.hFontMinor, c.minor, 400},
            {AppState.hFontThin, c.thin, 100},     {AppState.hFontThinSmall, c.thinSmall, 100},
        };
        for (int k = 0; k < 6; ++k) {
            SCOPED_TRACE(k);
            ASSERT_NE(fonts[k].font, nullptr);
            LOGFONTW lf = FontOf(fonts[k].font);
            EXPECT_EQ(lf.lfHeight, fonts[k].height);
            EXPECT_EQ(lf.lfWidth, 0);
            EXPECT_EQ(lf.lfWeight, fonts[k].weight);
            EXPECT_EQ(lf.lfQuality, c.bCJK ? DEFAULT_QUALITY : CLEARTYPE_QUALITY);
            EXPECT_EQ(lf.lfCharSet, 0);
            EXPECT_FALSE(lf.lfItalic || lf.lfUnderline || lf.lfStrikeOut);
            EXPECT_STREQ(lf.lfFaceName, L"Helvetica Neue OTS");
        }
    }
}

TEST_F(SkinResourcesTest, TextSizesFromTheRegistryReachTheFonts) {
    const BYTE sizes[4] = {0, 14, 13, 10};
    SetRegBinary(HKEY_LOCAL_MACHINE, L"Software\\Orvex\\Linkdeck", L"TextSizeSetting", sizes, 4);
    SetScreenSizeForTest(240, 320);
    GetSettings();
    LoadSkinResources();
    EXPECT_EQ(FontOf(AppState.hFontPrimary).lfHeight, -14);
    EXPECT_EQ(FontOf(AppState.hFontSecondary).lfHeight, -13);
    EXPECT_EQ(FontOf(AppState.hFontThin).lfHeight, -10);
    EXPECT_EQ(FontOf(AppState.hFontLarge).lfHeight, -12);
    EXPECT_EQ(FontOf(AppState.hFontMinor).lfHeight, -9);
    EXPECT_EQ(FontOf(AppState.hFontThinSmall).lfHeight, -7);
}

// The committed artwork decodes under this platform's imaging component.
TEST_F(SkinResourcesTest, CommittedSkinSetLoads) {
    const std::wstring set = std::wstring(QX_SKINS_DIR) + L"\\480x640\\";
    if (GetFileAttributesW(set.c_str()) == INVALID_FILE_ATTRIBUTES)
        GTEST_SKIP() << "skin artwork not reachable from here";
    for (LPCWSTR file : kSkinImageFiles) {
        std::wstring name = wcsrchr(file, L'\\') + 1;
        ASSERT_TRUE(CopyFileW((set + name).c_str(), m_device.Path(file).c_str(), FALSE)) << file;
    }
    TraceCapture trace;
    LoadSkinResources();
    EXPECT_FALSE(trace.Has(L"[err]"));
    EXPECT_EQ(AppState.SkinImages[kSkinPTitle].bm.bmWidth, 480);
    EXPECT_EQ(AppState.SkinImages[kSkinPTitle].bm.bmHeight, 60);
    EXPECT_EQ(AppState.SkinImages[kSkinLTitle].bm.bmWidth, 640);
    EXPECT_EQ(AppState.SkinImages[kSkinPInputBox].bm.bmWidth, 464);
    EXPECT_EQ(AppState.SkinImages[kSkinPInputBox].bm.bmHeight, 46);
}

}  // namespace
