// What the list's drawing routines share: the colours, anchored text, plain
// fills and the skin images drawn from file.
#pragma once
#include <windows.h>

#include "core/screen_profile.h"
#include "listwin/list_state.h"

constexpr COLORREF kListTextColour = RGB(0, 0, 0);
constexpr COLORREF kListGreyColour = RGB(0xDC, 0xDC, 0xDC);  // disabled rows and items
constexpr COLORREF kListWhite = RGB(0xFF, 0xFF, 0xFF);       // sub-titles, marked rows
constexpr COLORREF kListFocusColour = RGB(0x2F, 0x7F, 0xCF);  // the skin's accent: the field with the focus

// On a 320 x 480 screen a main text wider than this takes the secondary font.
constexpr int kType6WideText = 267;

// BackgroundColorSetting when configured, else white.
COLORREF ListBackgroundColour();

// Width and height of skin image i; 0 when it did not load.
int SkinWidth(int i);
int SkinHeight(int i);

// Fills exactly the rectangle, no outline.
void FillSolid(HDC hdc, const RECT& rc, COLORREF colour);

// Draws text with its top-left corner at (x, y) in font, selected only for
// the call. When wideFont is given and the text measures wider than
// wideLimit, wideFont draws it instead. Returns the measured width.
int DrawListText(HDC hdc, HFONT font, LPCWSTR text, int x, int y, HFONT wideFont = nullptr,
                 int wideLimit = 0);

// Skin image i decoded from its file and scaled into the rectangle.
BOOL DrawSkinFile(int i, HDC hdc, const RECT& rc);

// Texts t1 and t2 of a row: the string-table text when an id is set.
void RowTexts(const ListItem& row, WCHAR (&t1)[kTextLen], WCHAR (&t2)[kTextLen]);

// Rectangle of row or item in the current orientation.
inline const RECT& ItemRect(const ListItem& item) { return item.rcItem[CurrentScreen().o]; }
