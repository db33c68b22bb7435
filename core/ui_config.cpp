// UI configuration read once at start-up from the screen and the registry.
#include "core/ui_config.h"

#include <cstring>
#include <utility>

#include "core/screen_profile.h"
#include "core/trace.h"
#include "platform/aygshell/regext.h"
#include "platform/base/debug_out.h"
#include "platform/base/registry.h"
#include "platform/base/screen.h"

namespace {

constexpr LPCWSTR kMetricNames[] = {
    L"list_left_padding",
    L"list_right_padding",
    L"list_inputfield_left_margin",
    L"list_inputfield_right_margin",
    L"list_content_top_padding",
    L"list_sub_content_top_padding",
    L"list_checkbox_right_margin",
    L"list_checkbox_del_right_margin",
    L"list_switch_right_margin",
    L"list_slider_right_margin",
    L"list_signal_right_margin",
    L"list_combobox_left_margin",
    L"list_combobox_right_margin",
    L"list_combobox_top_margin",
    L"list_combobox_left_padding",
    L"list_combobox_right_padding",
    L"list_radiobtn_right_margin",
    L"list_icon_left_margin",
    L"list_icon_right_margin",
    L"list_icon_top_margin",
    L"msgbox_left_margin",
    L"msgbox_right_margin",
    L"msgbox_left_margin_L",
    L"msgbox_right_margin_L",
    L"msgbox_left_padding",
    L"msgbox_right_padding",
    L"msgbox_top_padding",
    L"msgbox_bottom_padding",
    L"msgbox_btn_left_margin",
    L"msgbox_btn_right_margin",
    L"msgbox_btn_top_margin",
    L"msgbox_btn_bottom_margin",
    L"msgbox_btn_middle_padding",
};
static_assert(ARRAYSIZE(kMetricNames) == kUIMetricCount, "one name per UIMetrics slot");

}  // namespace

const LPCWSTR (&kUIMetricNames)[kUIMetricCount] = kMetricNames;

namespace {

constexpr WCHAR kQXPhoneKey[] = L"SOFTWARE\\Orvex\\QXPhone";
constexpr WCHAR kMuiKey[] = L"MUI";
constexpr WCHAR kLinkdeckKey[] = L"Software\\Orvex\\Linkdeck";
constexpr WCHAR kUISettingsKey[] = L"Software\\Orvex\\QXPhone\\UISettings";

constexpr DWORD kDefaultLanguage = 1033;

struct ScreenClass {
    int cx;
    int cy;
    int nType;
};

// Either orientation of each size counts.
constexpr ScreenClass kScreenClasses[] = {
    {240, 320, 1}, {240, 240, 2}, {480, 640, 3}, {320, 320, 4}, {480, 800, 5}, {320, 480, kScreenClass320x480},
};

// Absence is normal; anything else is a value we cannot use.
void TraceUnusableDword(LPCWSTR name, HRESULT hr) {
    if (hr != HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND) && hr != HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND))
        WriteTrace(L"[err]:GetSettings(), %s cannot be read as a DWORD, hr=[0x%08lx], ignored.", name,
                   static_cast<unsigned long>(hr));
}

// A DWORD of the configuration; false when absent or not a 32-bit number.
bool ReadConfigDword(LPCWSTR subkey, LPCWSTR name, DWORD* pdw) {
    DWORD dw = 0;
    HRESULT hr = RegistryGetDWORD(HKEY_LOCAL_MACHINE, subkey, name, &dw);
    if (hr == S_OK) {
        *pdw = dw;
        return true;
    }
    TraceUnusableDword(name, hr);
    return false;
}

LONG ReadConfigLong(LPCWSTR subkey, LPCWSTR name) {
    DWORD dw = 0;
    return ReadConfigDword(subkey, name, &dw) ? static_cast<LONG>(dw) : 0;
}

// Opens the Linkdeck key and queries a value into exactly 4 bytes; the value
// type is not examined, only the count of bytes delivered. False when the key
// does not open (the caller then leaves its value alone).
bool QueryLinkdeckValue(LPCWSTR name, BYTE (&out)[4], BOOL* pbRead) {
    registry::Key key;
    if (key.Open(HKEY_LOCAL_MACHINE, kLinkdeckKey, registry::kRead) != ERROR_SUCCESS) return false;
    BYTE buf[4] = {};
    DWORD cb = 0;
    LONG rc = key.QueryExact(name, buf, sizeof(buf), &cb);
    // A short or long value must not leave part of itself behind.
    if (rc == ERROR_SUCCESS) {
        std::memcpy(out, buf, sizeof(buf));
        *pbRead = TRUE;
        return true;
    }
    std::memset(out, 0, sizeof(out));
    *pbRead = FALSE;
    if (rc == ERROR_INVALID_DATA)
        WriteTrace(L"[err]:GetSettings(), %s has %lu bytes instead of 4, ignored.", name, cb);
    return true;
}

// The long side beyond 320 base pixels; unchanged for screens without a rule.
// True when it was computed, so the values read do not count.
bool ApplyLongSideExtension(int width, int height, int s) {
    bool landscape = width > height;
    int shortSide = landscape ? height : width;
    int longSide = landscape ? width : height;
    LONG ext = 0;
    if (shortSide == 240 * s && longSide > 320 * s)
        ext = longSide - 320 * s;
    else if (shortSide == 320 && longSide == 480)
        ext = 480 - 320 * s;  // screen class 6; negative at s = 2, used as computed
    else
        return false;
    AppState.LandscapeXExtension = ext;
    AppState.PortraitYExtension = ext;
    return true;
}

// A layout value that would put the list, a field or a label outside the
// screen is ignored like a value of the wrong type, and its default used.
void IgnoreOutside(LPCWSTR name, LONG* pValue, LONG lowest, LONG highest, LPCWSTR where) {
    if (*pValue >= lowest && *pValue <= highest) return;
    WriteTrace(L"[err]:GetSettings(), %s = %ld puts %s outside the screen, ignored.", name, *pValue, where);
    *pValue = 0;
}

// An extension read (not computed) makes the long side 320·s + X. Past the
// screen's long side L the list leaves the screen; below 240·s, the side of
// the smallest screen the program knows (its square class), it describes no
// screen, and a list that short loses its fields.
void BoundReadExtensions(int width, int height, int s) {
    const LONG longSide = width > height ? width : height;
    for (auto [name, pValue] : {std::pair{L"LandscapeXExtension", &AppState.LandscapeXExtension},
                                std::pair{L"PortraitYExtension", &AppState.PortraitYExtension}})
        IgnoreOutside(name, pValue, -80 * s, longSide - 320 * s, L"the list");
}

// The list places its labels at list_left_padding, its fields' frames from
// there to the same distance from the right, and the fields' text at that
// plus list_combobox_left_padding: each must lie within the left half of the
// narrower of the list's widths, or a frame or field turns inside out.
void BoundListMetrics() {
    const ScreenProfile screen = MakeScreenProfile(AppState);
    const LONG half = (screen.nWidth[kPortrait] < screen.nWidth[kLandscape] ? screen.nWidth[kPortrait]
                                                                           : screen.nWidth[kLandscape]) / 2;
    LONG& left = AppState.UIMetrics[kMetricListLeftPadding];
    LONG& field = AppState.UIMetrics[kMetricListComboboxLeftPadding];
    IgnoreOutside(kUIMetricNames[kMetricListLeftPadding], &left, 0, half - 1, L"a label or a field");
    IgnoreOutside(kUIMetricNames[kMetricListComboboxLeftPadding], &field, -left, half - 1 - left, L"a field");
}

bool IsCJKLanguage(DWORD lang) {
    return lang == 1028 || lang == 1041 || lang == 1042 || lang == 2052;
}

}  // namespace

BOOL ClassifyScreen(int* pnScreenType) {
    int cx = GetScreenWidth();
    int cy = GetScreenHeight();
    int nType = 0;
    for (const ScreenClass& c : kScreenClasses) {
        if ((cx == c.cx && cy == c.cy) || (cx == c.cy && cy == c.cx)) {
            nType = c.nType;
            break;
        }
    }
    if (pnScreenType) *pnScreenType = nType;
    return nType != 0;
}

BOOL GetSettings() {
    struct SpecialFlag {
        LPCWSTR name;
        LONG* pValue;
    };
    const SpecialFlag flags[] = {
        {L"LandscapeXExtension", &AppState.LandscapeXExtension},
        {L"PortraitYExtension", &AppState.PortraitYExtension},
        {L"IsEnableUISettings", &AppState.IsEnableUISettings},
    };
    for (const SpecialFlag& f : flags) {
        *f.pValue = ReadConfigLong(kQXPhoneKey, f.name);
        NKDbgPrintfW(L"[QXPhoneVMSetting] QXPhoneSpecialFlags: %s = %d\r\n", f.name,
                     static_cast<int>(*f.pValue));
    }

    LONG rcScale = ERROR_SUCCESS;
    AppState.nScale = registry::ReadDisplayScale(&rcScale);
    if (rcScale != ERROR_SUCCESS)
        TraceUnusableDword(L"LogicalPixelsX", HRESULT_FROM_WIN32(rcScale == ERROR_INVALID_DATA ? ERROR_DATATYPE_MISMATCH
                                                                                                : rcScale));

    ClassifyScreen(&AppState.nScreenType);

    int cx = GetScreenWidth();
    int cy = GetScreenHeight();
    AppState.bLandscape = cx > cy;
    if (!ApplyLongSideExtension(cx, cy, AppState.nScale)) BoundReadExtensions(cx, cy, AppState.nScale);

    DWORD dwLang = 0;
    AppState.dwSysLang = ReadConfigDword(kMuiKey, L"SysLang", &dwLang) ? dwLang : kDefaultLanguage;
    if (IsCJKLanguage(AppState.dwSysLang)) AppState.bCJKLanguage = TRUE;

    QueryLinkdeckValue(L"TextSizeSetting", AppState.TextSizeSetting, &AppState.bHasTextSize);

    BYTE color[4] = {};
    BOOL bHasColor = FALSE;
    if (QueryLinkdeckValue(L"BackgroundColorSetting", color, &bHasColor)) {
        std::memcpy(&AppState.BackgroundColorSetting, color, sizeof(color));
        AppState.bHasBackgroundColor = bHasColor;
    }

    if (AppState.IsEnableUISettings == 1) {
        for (int i = 0; i < kUIMetricCount; ++i) {
            AppState.UIMetrics[i] = ReadConfigLong(kUISettingsKey, kUIMetricNames[i]);
            NKDbgPrintfW(L"[QXPhoneVMSetting] QXPhoneUISettings: %s = %d\r\n", kUIMetricNames[i],
                         static_cast<int>(AppState.UIMetrics[i]));
        }
        BoundListMetrics();
    }
    return TRUE;
}
