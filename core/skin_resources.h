// Skin resources: the 22 skin images, each kept in its own memory context,
// the six list fonts and the two switch texts. Loaded with the main window
// and given back with it, together with the list rows and the imaging factory.
#pragma once
#include <windows.h>

#include "core/app_state.h"

// Slots of AppState.SkinImages; "L" images serve landscape, "P" portrait.
enum SkinImageIndex {
    kSkinButtonOff = 0,
    kSkinButtonOn = 1,
    kSkinLLine = 2,
    kSkinLSubTitle = 3,
    kSkinLTitle = 4,
    kSkinLButtonFocus = 5,
    kSkinPLine = 6,
    kSkinPSubTitle = 7,
    kSkinPTitle = 8,
    kSkinPButtonFocus = 9,
    kSkinButtonOffMask = 10,
    kSkinButtonOnMask = 11,
    kSkinSwitchOn = 12,
    kSkinSwitchOff = 13,
    kSkinSwitchOnDisable = 14,
    kSkinSwitchOffDisable = 15,
    kSkinClickBoxOn = 16,
    kSkinClickBoxOff = 17,
    kSkinClickBoxOnDisable = 18,
    kSkinClickBoxOffDisable = 19,
    kSkinPInputBox = 20,
    kSkinLInputBox = 21,
};

// The device path of each skin image, by slot.
extern const LPCWSTR (&kSkinImageFiles)[kSkinImageCount];

// The message box's pictures, decoded from file whenever they are drawn,
// named as the box names them (relative to the root, as CE reads them).
constexpr WCHAR kBoxButtonUpFile[] = L"windows\\QXBS_NB_btn_up.png";
constexpr WCHAR kBoxButtonDownFile[] = L"windows\\QXBS_NB_btn_dn.png";
constexpr WCHAR kBoxPanelPortraitFile[] = L"windows\\QXBS_NB_bg_P.png";
constexpr WCHAR kBoxPanelLandscapeFile[] = L"windows\\QXBS_NB_bg_L.png";
// The password field's frame: the list's portrait input box, in both orientations.
constexpr WCHAR kBoxInputFrameFile[] = L"\\Windows\\QXBS_P_INPUTBOX.png";

// Loads one skin image into its slot, replacing what the slot held. FALSE,
// with the slot left empty (no bitmap, no context, zero size), when the file
// cannot be loaded. The title window uses it for its image before the rest.
BOOL LoadSkinImage(int index);

// All 22 images, the six list fonts and the switch texts; a second call
// replaces everything. Always TRUE.
BOOL LoadSkinResources();

// The images, then the fonts; every handle is cleared as it goes, so a
// second call releases nothing. ReleaseResources (shell/release_resources.h)
// releases the rest of the main window's resources after them.
void ReleaseSkin();
