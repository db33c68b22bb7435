// What the shell library's own windows share besides their message tables
// (platform/base/message_table.h): the module they are registered in and the face
// of their texts.
#pragma once
#include <windows.h>

#include <cstddef>

#include "platform/base/message_table.h"

namespace shellwnd {

// The module holding this code (the classes are registered there, not in the
// caller's resource module).
HINSTANCE Module();
// Registers a class of the library once; true when it is registered.
bool RegisterClassOnce(LPCWSTR className, WNDPROC proc, size_t cbWndExtra);
// The shell's face at a pixel height, bold or not; the caller owns it.
HFONT CreateShellFont(int pixelHeight, bool bold);

// WM_MOUSEACTIVATE: tapped windows of the shell never take activation from
// the program.
LRESULT NoActivate(HWND);
// WM_ERASEBKGND: the shell's windows paint their whole area, so nothing is
// erased first; 1 tells the system it is done.
LRESULT PaintedWhole(HWND);

}  // namespace shellwnd
