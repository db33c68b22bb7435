// The menu-bar resource (RCDATA): WORD menu id, WORD button count, then per
// button seven WORDs: image, command, state, style, string id, 0, submenu.
#pragma once
#include <windows.h>

#include <cstddef>
#include <vector>

struct MenuBarButton {
    WORD wImage;     // 0xFFFE: no image
    WORD wCommand;
    WORD wState;     // TBSTATE_* (0x04 enabled, 0x08 hidden)
    WORD wStyle;     // TBSTYLE_* (0x01 separator, 0x10 autosize)
    WORD wString;    // string-table id of the text
    WORD wReserved;
    WORD wSubMenu;   // 0xFFFF: none
};

constexpr WORD kMenuBarNoImage = 0xFFFE;
constexpr WORD kMenuBarNoSubMenu = 0xFFFF;
constexpr WORD kMenuBarStateEnabled = 0x04;
constexpr WORD kMenuBarStateHidden = 0x08;
constexpr WORD kMenuBarStyleSeparator = 0x01;

// Decodes the resource bytes. False, with *pButtons empty, when the bytes are
// too short for the header or for the count they give; bytes after the last
// button are ignored.
bool ParseMenuBarResource(const BYTE* pData, size_t cbData, WORD* pwMenuId,
                          std::vector<MenuBarButton>* pButtons);
