// Layout of the list rows and of the items inside group rows, for portrait
// and landscape at once, in list-image coordinates.
#pragma once
#include <windows.h>

#include "listwin/list_state.h"

// Lays out g_pItems. FALSE when no rows exist.
BOOL LayoutItems();

// Lays out any row array the same way, moving g_rcExtent; FALSE without rows.
BOOL LayoutRowArray(ListItem* pRows, UINT nRows);
