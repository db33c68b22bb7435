// What the program's window procedures share: the (message, handler) table
// lookup (platform/base/message_table.h) and the common class attributes.
#pragma once
#include <windows.h>

#include "platform/base/message_table.h"

// Class style 3 (redraw on size changes), icon 101, no cursor, white brush.
// A class already registered by this module counts as success.
bool RegisterSkinClass(HINSTANCE hInstance, LPCWSTR className, WNDPROC proc);
