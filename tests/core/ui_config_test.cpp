// UI configuration against the real registry of the test prefix.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/app_state.h"
#include "core/ui_config.h"
#include "platform/base/screen.h"
#include "tests/support/scratch.h"

namespace {

constexpr WCHAR kQXPhone[] = L"SOFTWARE\\Orvex\\QXPhone";
constexpr WCHAR kUISettings[] = L"SOFTWARE\\Orvex\\QXPhone\\UISettings";
constexpr WCHAR kLinkdeck[] = L"Software\\Orvex\\Linkdeck";
constexpr WCHAR kDisplay[] = L"Drivers\\Display\\GPE";
constexpr WCHAR kMui[] = L"MUI";

void ClearConfigKeys() {
    DeleteRegTree(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Orvex");
    DeleteRegTree(HKEY_LOCAL_MACHINE, kDisplay);
    DeleteRegTree(HKEY_LOCAL_MACHINE, kMui);
}

class UiConfigTest : public testing::Test {
protected:
    void SetUp() override {
        ClearConfigKeys();
        ResetAppState();
        SetScreenSizeForTest(240, 320);
    }
    void TearDown() override {
        ClearConfigKeys();
        ResetAppState();
        SetScreenSizeForTest(0, 0);
    }
    // A fresh start of the program's configuration reading.
    void Read() {
        ResetAppState();
        ASSERT_TRUE(GetSettings());
    }
    std::vector<std::wstring> LinesWith(const TraceCapture& trace, const std::wstring& fragment) {
        std::vector<std::wstring> lines;
        for (const auto& t : trace.Texts())
            if (t.find(fragment) != std::wstring::npos) lines.push_back(t);
        return lines;
    }
};

TEST_F(UiConfigTest, ScaleIsTwoOnlyForExactly192LogicalPixels) {
    Read();
    EXPECT_EQ(AppState.nScale, 1) << "LogicalPixelsX missing";
    for (DWORD dpi : {191u, 193u, 96u, 0u}) {
        SetRegDword(HKEY_LOCAL_MACHINE, kDisplay, L"LogicalPixelsX", dpi);
        Read();
        EXPECT_EQ(AppState.nScale, 1) << dpi;
    }
    SetRegDword(HKEY_LOCAL_MACHINE, kDisplay, L"LogicalPixelsX", 192);
    Read();
    EXPECT_EQ(AppState.nScale, 2);

    // A number stored as text is not the DWORD the shell's reader accepts.
    SetRegString(HKEY_LOCAL_MACHINE, kDisplay, L"LogicalPixelsX", L"192");
    TraceCapture trace;
    Read();
    EXPECT_EQ(AppState.nScale, 1);
    EXPECT_EQ(trace.Count(L"[err]:GetSettings(), LogicalPixelsX cannot be read as a DWORD"), 1);
}

struct ExtensionCase {
    int cx, cy;
    DWORD dpi;            // 0: LogicalPixelsX absent
    bool haveRegistry;    // registry extensions 7 and -3 present
    LONG expectX, expectY;
    BOOL expectLandscape;
};

TEST_F(UiConfigTest, LongSideExtensionFollowsScreenAndScale) {
    const LONG kRegX = -7, kRegY = -3;
    const ExtensionCase cases[] = {
        {240, 400, 0, true, 80, 80, FALSE},
        {400, 240, 0, true, 80, 80, TRUE},
        {480, 800, 192, false, 160, 160, FALSE},
        {800, 480, 192, false, 160, 160, TRUE},
        {320, 480, 0, true, 160, 160, FALSE},
        {480, 320, 0, false, 160, 160, TRUE},
        {320, 480, 192, false, -160, -160, FALSE},
        {480, 640, 192, true, kRegX, kRegY, FALSE},
        {640, 480, 192, false, 0, 0, TRUE},
        {240, 320, 0, false, 0, 0, FALSE},
        {240, 320, 0, true, kRegX, kRegY, FALSE},
        // 480 short side at scale 1 is no 240-based screen.
        {480, 800, 0, true, kRegX, kRegY, FALSE},
        // Square: portrait, and the long side is no longer than 320; a list
        // 313 long leaves this screen, so the values read are ignored.
        {240, 240, 0, true, 0, 0, FALSE},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.cx << "x" << c.cy << " dpi " << c.dpi);
        ClearConfigKeys();
        if (c.dpi) SetRegDword(HKEY_LOCAL_MACHINE, kDisplay, L"LogicalPixelsX", c.dpi);
        if (c.haveRegistry) {
            SetRegDword(HKEY_LOCAL_MACHINE, kQXPhone, L"LandscapeXExtension", DWORD(kRegX));
            SetRegDword(HKEY_LOCAL_MACHINE, kQXPhone, L"PortraitYExtension", DWORD(kRegY));
        }
        SetScreenSizeForTest(c.cx, c.cy);
        TraceCapture trace;
        Read();
        EXPECT_EQ(AppState.LandscapeXExtension, c.expectX);
        EXPECT_EQ(AppState.PortraitYExtension, c.expectY);
        EXPECT_EQ(AppState.bLandscape, c.expectLandscape);
        // The dump shows what the registry held, before any computed extension.
        const std::wstring regX = std::to_wstring(c.haveRegistry ? kRegX : 0);
        const std::wstring regY = std::to_wstring(c.haveRegistry ? kRegY : 0);
        EXPECT_TRUE(trace.Has(L"[QXPhoneVMSetting] QXPhoneSpecialFlags: LandscapeXExtension = " + regX + L"\r\n"));
        EXPECT_TRUE(trace.Has(L"[QXPhoneVMSetting] QXPhoneSpecialFlags: PortraitYExtension = " + regY + L"\r\n"));
    }
}

struct LayoutValueCase {
    const char* what;
    int cx, cy;
    DWORD dpi;           // 0: LogicalPixelsX absent
    LONG x;              // LandscapeXExtension and PortraitYExtension read
    LONG left, field;    // list_left_padding, list_combobox_left_padding; -1 absent (UISettings off)
    LONG expectX, expectLeft, expectField;
    int ignored;         // "ignored" lines
};

TEST_F(UiConfigTest, LayoutValuesOutsideTheScreenAreIgnored) {
    const LayoutValueCase cases[] = {
        {"vga: the largest", 480, 640, 192, 0x7fffffff, -1, -1, 0, 0, 0, 2},
        {"vga: the smallest", 480, 640, 192, LONG(0x80000000), -1, -1, 0, 0, 0, 2},
        {"vga: -1000", 480, 640, 192, -1000, -1, -1, 0, 0, 0, 2},
        {"vga: -500", 480, 640, 192, -500, -1, -1, 0, 0, 0, 2},
        {"vga: one past the screen", 480, 640, 192, 1, -1, -1, 0, 0, 0, 2},
        {"vga: the shortest list kept", 480, 640, 192, -160, -1, -1, -160, 0, 0, 0},
        {"vga: one shorter", 480, 640, 192, -161, -1, -1, 0, 0, 0, 2},
        {"800 x 600: to the screen's edge", 800, 600, 0, 480, -1, -1, 480, 0, 0, 0},
        {"800 x 600: past it", 800, 600, 0, 481, -1, -1, 0, 0, 0, 2},
        {"square: its own extension", 240, 240, 0, -80, -1, -1, -80, 0, 0, 0},
        {"computed, not read: 320 x 480 at scale 2", 320, 480, 192, -1000, -1, -1, -160, 0, 0, 0},
        {"computed, not read: 240 x 400", 240, 400, 0, 0x7fffffff, -1, -1, 80, 0, 0, 0},
        // qvga: the list is 240 wide in portrait, so each inset must stay
        // under 120.
        {"label and field within the list", 240, 320, 0, 0, 10, 109, 0, 10, 109, 0},
        {"label at the list's middle", 240, 320, 0, 0, 120, 5, 0, 0, 5, 1},
        {"label left of the list", 240, 320, 0, 0, -1, 5, 0, 0, 5, 1},
        {"field at the list's middle", 240, 320, 0, 0, 10, 110, 0, 10, 0, 1},
        {"field back to the list's edge", 240, 320, 0, 0, 10, -10, 0, 10, -10, 0},
        {"field left of the list", 240, 320, 0, 0, 10, -11, 0, 10, 0, 1},
        {"both too far", 240, 320, 0, 0, 0x7fffffff, 0x7fffffff, 0, 0, 0, 2},
        // vga turned narrow: landscape 480 wide.
        {"the narrower orientation bounds", 480, 640, 192, -160, 239, 0, -160, 239, 0, 0},
        {"past the narrower orientation", 480, 640, 192, -160, 240, 0, -160, 0, 0, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ClearConfigKeys();
        if (c.dpi) SetRegDword(HKEY_LOCAL_MACHINE, kDisplay, L"LogicalPixelsX", c.dpi);
        SetRegDword(HKEY_LOCAL_MACHINE, kQXPhone, L"LandscapeXExtension", DWORD(c.x));
        SetRegDword(HKEY_LOCAL_MACHINE, kQXPhone, L"PortraitYExtension", DWORD(c.x));
        if (c.left != -1 || c.field != -1) {
            SetRegDword(HKEY_LOCAL_MACHINE, kQXPhone, L"IsEnableUISettings", 1);
            SetRegDword(HKEY_LOCAL_MACHINE, kUISettings, L"list_left_padding", DWORD(c.left));
            SetRegDword(HKEY_LOCAL_MACHINE, kUISettings, L"list_combobox_left_padding", DWORD(c.field));
        }
        SetScreenSizeForTest(c.cx, c.cy);
        TraceCapture trace;
        Read();
        EXPECT_EQ(AppState.LandscapeXExtension, c.expectX);
        EXPECT_EQ(AppState.PortraitYExtension, c.expectX);
        EXPECT_EQ(AppState.UIMetrics[kMetricListLeftPadding], c.expectLeft);
        EXPECT_EQ(AppState.UIMetrics[kMetricListComboboxLeftPadding], c.expectField);
        EXPECT_EQ(trace.Count(L"outside the screen, ignored."), c.ignored);
        // The dump still shows what the registry held.
        EXPECT_TRUE(trace.Has(L"QXPhoneSpecialFlags: LandscapeXExtension = " + std::to_wstring(c.x) + L"\r\n"));
    }
}

TEST_F(UiConfigTest, ScreenClassesInEitherOrientation) {
    struct { int cx, cy, type; } const cases[] = {
        {240, 320, 1}, {320, 240, 1}, {240, 240, 2}, {640, 480, 3}, {480, 640, 3},
        {320, 320, 4}, {480, 800, 5}, {800, 480, 5}, {320, 480, 6}, {480, 320, 6},
        {800, 600, 0}, {240, 400, 0}, {1024, 768, 0}, {1, 1, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.cx << "x" << c.cy);
        SetScreenSizeForTest(c.cx, c.cy);
        int nType = -1;
        EXPECT_EQ(ClassifyScreen(&nType) != FALSE, c.type != 0);
        EXPECT_EQ(nType, c.type);
    }

    // An unknown size still lets the rest of the configuration be read.
    SetScreenSizeForTest(800, 600);
    SetRegDword(HKEY_LOCAL_MACHINE, kMui, L"SysLang", 1041);
    AppState.nScreenType = 5;
    Read();
    EXPECT_EQ(AppState.nScreenType, 0);
    EXPECT_EQ(AppState.dwSysLang, 1041u);
    EXPECT_EQ(AppState.bLandscape, TRUE);
}

TEST_F(UiConfigTest, LanguageDecidesCJK) {
    Read();
    EXPECT_EQ(AppState.dwSysLang, 1033u) << "SysLang missing";
    EXPECT_EQ(AppState.bCJKLanguage, FALSE);
    struct { DWORD lang; BOOL cjk; } const cases[] = {
        {1028, TRUE}, {1041, TRUE}, {1042, TRUE}, {2052, TRUE},
        {1033, FALSE}, {3076, FALSE}, {1031, FALSE}, {0, FALSE},
    };
    for (const auto& c : cases) {
        SetRegDword(HKEY_LOCAL_MACHINE, kMui, L"SysLang", c.lang);
        Read();
        EXPECT_EQ(AppState.dwSysLang, c.lang);
        EXPECT_EQ(AppState.bCJKLanguage, c.cjk) << c.lang;
    }
}

TEST_F(UiConfigTest, FourByteValuesCountOnlyWithExactlyFourBytes) {
    const BYTE sizes[4] = {0, 14, 13, 10};
    SetRegBinary(HKEY_LOCAL_MACHINE, kLinkdeck, L"TextSizeSetting", sizes, 4);
    SetRegDword(HKEY_LOCAL_MACHINE, kLinkdeck, L"BackgroundColorSetting", 0x00336699);
    Read();
    EXPECT_EQ(AppState.bHasTextSize, TRUE);
    EXPECT_EQ(0, memcmp(AppState.TextSizeSetting, sizes, 4));
    EXPECT_EQ(AppState.bHasBackgroundColor, TRUE);
    EXPECT_EQ(AppState.BackgroundColorSetting, 0x00336699u);

    // The value type is not examined: a DWORD is four bytes, so is "a" as text.
    SetRegDword(HKEY_LOCAL_MACHINE, kLinkdeck, L"TextSizeSetting", 0x0A0D0E00);
    SetRegString(HKEY_LOCAL_MACHINE, kLinkdeck, L"BackgroundColorSetting", L"a");
    Read();
    EXPECT_EQ(AppState.bHasTextSize, TRUE);
    EXPECT_EQ(0, memcmp(AppState.TextSizeSetting, sizes, 4));
    EXPECT_EQ(AppState.bHasBackgroundColor, TRUE);
    EXPECT_EQ(AppState.BackgroundColorSetting, COLORREF(L'a'));

    // Too short or too long: absent, and nothing of it is kept.
    const BYTE eight[8] = {9, 9, 9, 9, 9, 9, 9, 9};
    for (DWORD cb : {3u, 8u, 0u}) {
        SCOPED_TRACE(cb);
        SetRegBinary(HKEY_LOCAL_MACHINE, kLinkdeck, L"TextSizeSetting", eight, cb);
        SetRegBinary(HKEY_LOCAL_MACHINE, kLinkdeck, L"BackgroundColorSetting", eight, cb);
        TraceCapture trace;
        ResetAppState();
        memset(AppState.TextSizeSetting, 0x55, 4);
        AppState.BackgroundColorSetting = 0x555555;
        GetSettings();
        const BYTE zero[4] = {};
        EXPECT_EQ(AppState.bHasTextSize, FALSE);
        EXPECT_EQ(0, memcmp(AppState.TextSizeSetting, zero, 4));
        EXPECT_EQ(AppState.bHasBackgroundColor, FALSE);
        EXPECT_EQ(AppState.BackgroundColorSetting, 0u);
        EXPECT_EQ(trace.Count(L"bytes instead of 4, ignored."), 2);
    }

    // No key at all: defaults, no complaint.
    DeleteRegTree(HKEY_LOCAL_MACHINE, kLinkdeck);
    TraceCapture trace;
    Read();
    EXPECT_EQ(AppState.bHasTextSize, FALSE);
    EXPECT_EQ(AppState.bHasBackgroundColor, FALSE);
    EXPECT_FALSE(trace.Has(L"[err]"));
}

TEST_F(UiConfigTest, SpecialFlagsAreDumpedInOrder) {
    SetRegDword(HKEY_LOCAL_MACHINE, kQXPhone, L"LandscapeXExtension", 12);
    SetRegDword(HKEY_LOCAL_MACHINE, kQXPhone, L"IsEnableUISettings", 3);
    TraceCapture trace;
    Read();
    const std::vector<std::wstring> expected = {
        L"[QXPhoneVMSetting] QXPhoneSpecialFlags: LandscapeXExtension = 12\r\n",
        L"[QXPhoneVMSetting] QXPhoneSpecialFlags: PortraitYExtension = 0\r\n",
        L"[QXPhoneVMSetting] QXPhoneSpecialFlags: IsEnableUISettings = 3\r\n",
    };
    EXPECT_EQ(LinesWith(trace, L"QXPhoneSpecialFlags"), expected);
    EXPECT_EQ(AppState.IsEnableUISettings, 3);
}

TEST_F(UiConfigTest, MetricsOnlyWhenUISettingsAreEnabledWithOne) {
    // Every other metric present, with values of both signs, each within
    // the list's bounds.
    auto valueOf = [](int i) { return LONG(i < 20 ? i * 3 + 2 : 5 - i * 3); };
    for (int i = 0; i < kUIMetricCount; i += 2)
        SetRegDword(HKEY_LOCAL_MACHINE, kUISettings, kUIMetricNames[i], DWORD(valueOf(i)));

    SetRegDword(HKEY_LOCAL_MACHINE, kQXPhone, L"IsEnableUISettings", 2);
    {
        TraceCapture trace;
        Read();
        EXPECT_EQ(trace.Count(L"QXPhoneUISettings"), 0);
        for (int i = 0; i < kUIMetricCount; ++i) EXPECT_EQ(AppState.UIMetrics[i], 0) << i;
    }

    SetRegDword(HKEY_LOCAL_MACHINE, kQXPhone, L"IsEnableUISettings", 1);
    TraceCapture trace;
    Read();
    std::vector<std::wstring> expected;
    for (int i = 0; i < kUIMetricCount; ++i) {
        LONG value = (i % 2 == 0) ? valueOf(i) : 0;
        EXPECT_EQ(AppState.UIMetrics[i], value) << kUIMetricNames[i];
        expected.push_back(std::wstring(L"[QXPhoneVMSetting] QXPhoneUISettings: ") + kUIMetricNames[i] +
                           L" = " + std::to_wstring(value) + L"\r\n");
    }
    EXPECT_EQ(LinesWith(trace, L"QXPhoneUISettings"), expected);
    // The dump carries no time stamp and follows the three special flags.
    auto texts = trace.Texts();
    ASSERT_FALSE(texts.empty());
    EXPECT_EQ(texts.back(), expected.back());
    EXPECT_EQ(std::wstring(kUIMetricNames[kMetricListLeftPadding]), L"list_left_padding");
    EXPECT_EQ(std::wstring(kUIMetricNames[kMetricListComboboxLeftPadding]), L"list_combobox_left_padding");
}

}  // namespace
