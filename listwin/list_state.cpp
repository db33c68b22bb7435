// The list's process-wide state, with the values it starts with.
#include "listwin/list_state.h"

// The rows of this program: one group row.
ListItem* g_pItems = nullptr;
const UINT g_nItems = 1;
RECT g_rcExtent[2] = {};
int g_iCurSel = -1;

HDC g_hdcItem = nullptr;
HBITMAP g_hBmpItem = nullptr;
HBITMAP g_hBmpItemL = nullptr;
BOOL g_bBmpReady = FALSE;
RECT g_rcItemClient = {};
int g_iBmpHeight = 0;
int g_iScreenHeight = 0;
int g_iCurTop = 0;

int g_nScrollKind = 0;
HMODULE g_hScrollDll = nullptr;
HMODULE g_hScrollDll2 = nullptr;
ScrollInstance* g_scroll = nullptr;
ScrollInstance* g_scroll2 = nullptr;
