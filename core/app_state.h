// AppState: the process-wide record of user-interface state.
#pragma once
#include <windows.h>

struct IUnknown;

constexpr int kTextLen = 260;     // fixed text buffers, terminator included
constexpr int kSkinImageCount = 22;
constexpr int kUIMetricCount = 33;

// One decoded skin image, kept selected into its own memory context.
struct SkinImage {
    HBITMAP hBitmap;
    HDC hdcMem;
    BITMAP bm;  // only bmWidth and bmHeight are used
};

struct AppStateRecord {
    // Start-up
    HINSTANCE hInst;
    WCHAR szAppTitle[kTextLen];
    IUnknown* pImagingFactory;
    int nPowerOnAnswer;

    // Windows
    HWND hwndMain;
    HWND hwndTitle;
    HWND hwndItem;
    HWND hwndMenuBar;
    int nTitleHeight;

    // UI configuration
    int nScale;
    int nScreenType;
    BOOL bLandscape;
    LONG LandscapeXExtension;
    LONG PortraitYExtension;
    LONG IsEnableUISettings;
    DWORD dwSysLang;
    BOOL bCJKLanguage;
    BYTE TextSizeSetting[4];
    BOOL bHasTextSize;
    COLORREF BackgroundColorSetting;
    BOOL bHasBackgroundColor;
    LONG UIMetrics[kUIMetricCount];

    // Skin resources
    SkinImage SkinImages[kSkinImageCount];
    HFONT hFontLarge;
    HFONT hFontPrimary;
    HFONT hFontSecondary;
    HFONT hFontMinor;
    HFONT hFontThin;
    HFONT hFontThinSmall;
    WCHAR szOnText[kTextLen];
    WCHAR szOffText[kTextLen];
};

extern AppStateRecord AppState;

// Back to the values at load (tests start each case from here).
void ResetAppState();
