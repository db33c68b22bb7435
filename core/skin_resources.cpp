// Skin images, list fonts and switch texts: loading and release.
#include "core/skin_resources.h"

#include "core/draw_kit.h"
#include "core/screen_profile.h"
#include "core/trace.h"
#include "platform/aygshell/image_file.h"
#include "platform/base/imaging.h"
#include "platform/base/scoped.h"
#include "res/resource.h"

namespace {

constexpr LPCWSTR kSkinFiles[] = {
    L"\\Windows\\QXBS_Button_Off.png",
    L"\\Windows\\QXBS_Button_On.png",
    L"\\Windows\\QXBS_L_Line.png",
    L"\\Windows\\QXBS_L_SubTitle.png",
    L"\\Windows\\QXBS_L_Title.png",
    L"\\Windows\\QXBS_L_Button_Focus.png",
    L"\\Windows\\QXBS_P_Line.png",
    L"\\Windows\\QXBS_P_SubTitle.png",
    L"\\Windows\\QXBS_P_Title.png",
    L"\\Windows\\QXBS_P_Button_Focus.png",
    L"\\Windows\\QXBS_Button_Off_Mask.png",
    L"\\Windows\\QXBS_Button_On_Mask.png",
    L"\\Windows\\QXBS_SWITCH_ON.png",
    L"\\Windows\\QXBS_SWITCH_OFF.png",
    L"\\Windows\\QXBS_SWITCH_ON_DISABLE.png",
    L"\\Windows\\QXBS_SWITCH_OFF_DISABLE.png",
    L"\\Windows\\QXBS_CLICK_BOX_ON.png",
    L"\\Windows\\QXBS_CLICK_BOX_OFF.png",
    L"\\Windows\\QXBS_CLICK_BOX_ON_DISABLE.png",
    L"\\Windows\\QXBS_CLICK_BOX_OFF_DISABLE.png",
    L"\\Windows\\QXBS_P_INPUTBOX.png",
    L"\\Windows\\QXBS_L_INPUTBOX.png",
};
static_assert(ARRAYSIZE(kSkinFiles) == kSkinImageCount, "one file per skin image");

constexpr WCHAR kListFontFace[] = L"Helvetica Neue OTS";
constexpr LONG kWeightRegular = 400;
constexpr LONG kWeightThin = 100;

// The list fonts in the order they are deleted before a reload.
HFONT AppStateRecord::* const kFontsByDeleteOrder[] = {
    &AppStateRecord::hFontPrimary, &AppStateRecord::hFontLarge,
    &AppStateRecord::hFontSecondary, &AppStateRecord::hFontMinor,
    &AppStateRecord::hFontThin, &AppStateRecord::hFontThinSmall,
};

void DeleteGdiObject(HGDIOBJ h, LPCWSTR what) {
    if (h && !DeleteObject(h)) WriteTrace(L"[err]:DeleteGdiObject(), DeleteObject(%s) failed.", what);
}

void FreeSkinImage(int index) {
    SkinImage& img = AppState.SkinImages[index];
    // The context goes first: deleting it lets go of the bitmap selected into
    // it, which GDI would not delete while selected.
    if (img.hdcMem) {
        if (!DeleteDC(img.hdcMem))
            WriteTrace(L"[err]:FreeSkinImage(), DeleteDC(%s) failed.", kSkinFiles[index]);
        img.hdcMem = nullptr;
    }
    DeleteGdiObject(img.hBitmap, kSkinFiles[index]);
    img.hBitmap = nullptr;
}

// A title picture taller than the bar it is drawn in would make the title
// cover the screen (its height is the title's): it is fitted to the bar,
// keeping its width. Null when no fitted copy could be made.
HBITMAP FitTitlePicture(int index, HBITMAP hPicture, const BITMAP& bm, HDC hdcScreen) {
    const int cyMax = kMaxTitleHeight * CurrentScreen().nScale;
    BITMAPINFO bmi{};
    bmi.bmiHeader.biSize = sizeof(bmi.bmiHeader);
    bmi.bmiHeader.biWidth = bm.bmWidth;
    bmi.bmiHeader.biHeight = -cyMax;  // top-down, as the loader's pictures are
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    void* pBits = nullptr;
    scoped::Bitmap fitted(CreateDIBSection(hdcScreen, &bmi, DIB_RGB_COLORS, &pBits, nullptr, 0));
    scoped::MemDC from(CreateCompatibleDC(hdcScreen)), to(CreateCompatibleDC(hdcScreen));
    if (!fitted || !from || !to) return nullptr;
    {
        scoped::Select selFrom(from.get(), hPicture), selTo(to.get(), fitted.get());
        SetStretchBltMode(to.get(), HALFTONE);
        if (!StretchBlt(to.get(), 0, 0, bm.bmWidth, cyMax, from.get(), 0, 0, bm.bmWidth, bm.bmHeight, SRCCOPY))
            return nullptr;
    }
    WriteTrace(L"[err]:LoadSkinImage(), %s is %ldx%ld, fitted to the title bar's %ldx%d.", kSkinFiles[index],
               bm.bmWidth, bm.bmHeight, bm.bmWidth, cyMax);
    return fitted.release();
}

bool IsTitlePicture(int index) { return index == kSkinPTitle || index == kSkinLTitle; }

bool LoadSkinImageInto(int index, HDC hdcScreen, ImageFileLoader& loader) {
    FreeSkinImage(index);
    SkinImage& img = AppState.SkinImages[index];
    // An entry without a bitmap has no size, also after a reload.
    img.bm = BITMAP{};
    scoped::Bitmap bitmap(loader.Load(kSkinFiles[index]));
    if (!bitmap) {
        WriteTrace(L"[err]:LoadSkinImage(), %s not loaded.", kSkinFiles[index]);
        return false;
    }
    scoped::MemDC hdcMem(CreateCompatibleDC(hdcScreen));
    if (!hdcMem) {
        WriteTrace(L"[err]:LoadSkinImage(), CreateCompatibleDC for %s failed, GetLastError()=[%lu].",
                   kSkinFiles[index], GetLastError());
        return false;
    }
    BITMAP bm{};
    bool sized = GetObjectW(bitmap.get(), sizeof(bm), &bm) != 0;
    if (sized && IsTitlePicture(index) && bm.bmHeight > kMaxTitleHeight * CurrentScreen().nScale) {
        bitmap.reset(FitTitlePicture(index, bitmap.get(), bm, hdcScreen));
        sized = bitmap && GetObjectW(bitmap.get(), sizeof(bm), &bm) != 0;
    }
    if (!sized || !SelectObject(hdcMem.get(), bitmap.get())) {
        WriteTrace(L"[err]:LoadSkinImage(), %s cannot be selected.", kSkinFiles[index]);
        return false;
    }
    img.hdcMem = hdcMem.release();
    img.hBitmap = bitmap.release();
    img.bm = bm;
    return true;
}

HFONT CreateListFont(int size, LONG weight, HDC hdcScreen) {
    int pixels = size * CurrentScreen().nScale;
    HFONT hFont = CreateScaledFont(kListFontFace, pixels, weight, LanguageTextQuality(), hdcScreen);
    if (!hFont) WriteTrace(L"[err]:LoadSkinResources(), CreateFontIndirectW(size=[%d]) failed.", pixels);
    return hFont;
}

void DeleteListFonts() {
    for (HFONT AppStateRecord::* field : kFontsByDeleteOrder) {
        DeleteGdiObject(AppState.*field, kListFontFace);
        AppState.*field = nullptr;
    }
}

void CreateListFonts(HDC hdcScreen) {
    const BYTE* sizes = AppState.TextSizeSetting;
    bool custom = AppState.bHasTextSize == 1;
    AppState.hFontLarge = CreateListFont(CurrentScreen().b320x480 ? 16 : 12, kWeightRegular, hdcScreen);
    AppState.hFontPrimary = CreateListFont(custom ? sizes[1] : 12, kWeightRegular, hdcScreen);
    AppState.hFontSecondary = CreateListFont(custom ? sizes[2] : 11, kWeightRegular, hdcScreen);
    AppState.hFontMinor = CreateListFont(AppState.bCJKLanguage == 1 ? 11 : 9, kWeightRegular, hdcScreen);
    AppState.hFontThin = CreateListFont(custom ? sizes[3] : 8, kWeightThin, hdcScreen);
    AppState.hFontThinSmall = CreateListFont(7, kWeightThin, hdcScreen);
}

void LoadText(UINT id, WCHAR (&sz)[kTextLen]) {
    sz[0] = L'\0';
    if (LoadStringW(AppState.hInst, id, sz, kTextLen) <= 0) {
        sz[0] = L'\0';
        WriteTrace(L"[err]:LoadSkinResources(), string %u not found.", id);
    }
}

}  // namespace

const LPCWSTR (&kSkinImageFiles)[kSkinImageCount] = kSkinFiles;

BOOL LoadSkinImage(int index) {
    if (index < 0 || index >= kSkinImageCount) return FALSE;
    scoped::WindowDC screen(nullptr);
    ImageFileLoader loader(AppState.pImagingFactory);
    return LoadSkinImageInto(index, screen.get(), loader) ? TRUE : FALSE;
}

BOOL LoadSkinResources() {
    // The list window does not exist yet at the only call: the screen's context.
    scoped::WindowDC hdc(AppState.hwndItem);

    // One loader for all files: the program's imaging factory, or (tools,
    // tests) one of the loader's own.
    ImageFileLoader loader(AppState.pImagingFactory);
    for (int i = 0; i < kSkinImageCount; ++i) LoadSkinImageInto(i, hdc.get(), loader);

    DeleteListFonts();
    CreateListFonts(hdc.get());

    LoadText(IDS_ON, AppState.szOnText);
    LoadText(IDS_OFF, AppState.szOffText);
    return TRUE;
}

void ReleaseSkin() {
    for (int i = 0; i < kSkinImageCount; ++i) {
        FreeSkinImage(i);
        AppState.SkinImages[i].bm = BITMAP{};
    }
    DeleteListFonts();
}
