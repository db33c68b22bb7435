// What the number fields take from the keyboard, the input panel and the
// clipboard, and how the keys move between them. Each field refuses as it is
// typed or pasted what "Done" would refuse in it, with the default beep; a
// pasted number first loses its visual separators.
#pragma once
#include <windows.h>

#include <string>

// The edit control of a text box takes input as its field does (subclassed
// until it is destroyed). False, with a trace line, when it could not be.
bool TakeNumberInput(HWND hwndEdit);

// A pasted number without its visual separators: blanks, "-", ".", "/" and
// parentheses.
std::wstring WithoutSeparators(const std::wstring& text);

// The keyboard focus on the field, the caret at the end of its text; the
// input panel stays as it is (keys need none). False when there is no field.
bool FocusFieldAtEnd(HWND hwndEdit);
// Up, Down, Tab and Shift+Tab move the focus from hwndFrom (or from no
// field) to the next field in screen order, Up and Shift+Tab to the
// previous one, wrapping around. False for any other key.
bool FocusFieldOnKey(HWND hwndFrom, UINT vk);

// True while a field takes the focus from a tap on it: only then does the
// input panel come up.
bool IsTapFocus();
