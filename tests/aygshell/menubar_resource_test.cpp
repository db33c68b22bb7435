// Decoding of the menu-bar resource: the module's own resource 102 and
// byte strings cut short or padded.
#include <gtest/gtest.h>

#include <vector>

#include "platform/aygshell/menubar_resource.h"
#include "res/resource.h"

namespace {

std::vector<BYTE> ModuleResource(UINT id) {
    HMODULE hmod = GetModuleHandleW(nullptr);
    HRSRC hRes = FindResourceW(hmod, MAKEINTRESOURCEW(id), RT_RCDATA);
    if (!hRes) return {};
    const BYTE* p = static_cast<const BYTE*>(LockResource(LoadResource(hmod, hRes)));
    return std::vector<BYTE>(p, p + SizeofResource(hmod, hRes));
}

std::vector<BYTE> Words(std::initializer_list<WORD> words) {
    std::vector<BYTE> bytes;
    for (WORD w : words) {
        bytes.push_back(static_cast<BYTE>(w & 0xFF));
        bytes.push_back(static_cast<BYTE>(w >> 8));
    }
    return bytes;
}

TEST(MenuBarResource, ModuleResource102HasDoneAndCancel) {
    std::vector<BYTE> bytes = ModuleResource(IDR_MENUBAR);
    ASSERT_EQ(bytes.size(), 4u + 2 * 14u);
    WORD wMenuId = 0;
    std::vector<MenuBarButton> buttons;
    ASSERT_TRUE(ParseMenuBarResource(bytes.data(), bytes.size(), &wMenuId, &buttons));
    EXPECT_EQ(wMenuId, IDR_MENUBAR);
    ASSERT_EQ(buttons.size(), 2u);
    EXPECT_EQ(buttons[0].wImage, kMenuBarNoImage);
    EXPECT_EQ(buttons[0].wCommand, IDM_DONE);
    EXPECT_EQ(buttons[0].wState, kMenuBarStateEnabled);
    EXPECT_EQ(buttons[0].wString, IDS_DONE);
    EXPECT_EQ(buttons[0].wSubMenu, kMenuBarNoSubMenu);
    EXPECT_EQ(buttons[1].wCommand, IDM_CANCEL);
    EXPECT_EQ(buttons[1].wString, IDS_CANCEL);
    EXPECT_EQ(buttons[1].wStyle, 0x10);
}

TEST(MenuBarResource, ShortBytesAreRefusedAndLeaveNoButtons) {
    std::vector<BYTE> bytes = Words({9, 2, 0xFFFE, 1, 4, 0, 7, 0, 0xFFFF, 0xFFFE, 2, 4, 0, 12, 0, 0xFFFF});
    std::vector<MenuBarButton> buttons;
    for (size_t n = 0; n < bytes.size(); ++n) {
        buttons.assign(1, MenuBarButton{});
        EXPECT_FALSE(ParseMenuBarResource(bytes.data(), n, nullptr, &buttons)) << n << " bytes";
        EXPECT_TRUE(buttons.empty()) << n << " bytes";
    }
    EXPECT_FALSE(ParseMenuBarResource(nullptr, 100, nullptr, &buttons));
}

TEST(MenuBarResource, CountBeyondTheBytesIsRefusedPaddingIsNot) {
    std::vector<MenuBarButton> buttons;
    std::vector<BYTE> huge = Words({9, 0xFFFF, 0xFFFE, 1, 4, 0, 7, 0, 0xFFFF});
    EXPECT_FALSE(ParseMenuBarResource(huge.data(), huge.size(), nullptr, &buttons));

    std::vector<BYTE> padded = Words({9, 1, 0xFFFE, 5, 0, 1, 7, 0, 3, 0, 0});
    padded.push_back(0xAA);
    ASSERT_TRUE(ParseMenuBarResource(padded.data(), padded.size(), nullptr, &buttons));
    ASSERT_EQ(buttons.size(), 1u);
    EXPECT_EQ(buttons[0].wCommand, 5);
    EXPECT_EQ(buttons[0].wState, 0);
    EXPECT_EQ(buttons[0].wStyle, 1);
    EXPECT_EQ(buttons[0].wSubMenu, 3);

    std::vector<BYTE> none = Words({9, 0});
    ASSERT_TRUE(ParseMenuBarResource(none.data(), none.size(), nullptr, &buttons));
    EXPECT_TRUE(buttons.empty());
}

}  // namespace
