// Decoding of the menu-bar resource from byte strings cut short or padded
// (the module's own resource 102 is decoded by the soft-key bar tests).
#include <gtest/gtest.h>

#include <vector>

#include "platform/aygshell/menubar_resource.h"

namespace {

std::vector<BYTE> Words(std::initializer_list<WORD> words) {
    std::vector<BYTE> bytes;
    for (WORD w : words) {
        bytes.push_back(static_cast<BYTE>(w & 0xFF));
        bytes.push_back(static_cast<BYTE>(w >> 8));
    }
    return bytes;
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
