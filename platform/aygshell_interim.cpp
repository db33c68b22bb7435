// Interim stand-ins for the shell library's dialog calls until the shell
// library of the platform lands: the box is sized to the screen less the
// status bar and soft-key bar, no bar is made, activation is not followed.
#include "platform/aygshell/aygshell.h"
#include "platform/screen.h"
#include "platform/regext.h"

BOOL SHInitDialog(SHINITDLGINFO* p) {
    if (!p || !p->hDlg) return FALSE;
    DWORD dpi = 0;
    int s = RegistryGetDWORD(HKEY_LOCAL_MACHINE, L"Drivers\\Display\\GPE", L"LogicalPixelsX", &dpi) == S_OK && dpi == 192 ? 2 : 1;
    MoveWindow(p->hDlg, 0, 26 * s, GetScreenWidth(), GetScreenHeight() - 52 * s, FALSE);
    return TRUE;
}
BOOL SHCreateMenuBar(SHMENUBARINFO* p) { if (p) p->hwndMB = nullptr; return FALSE; }
BOOL SHHandleWMActivate(HWND, WPARAM, LPARAM, SHACTIVATEINFO* p, DWORD) { return p != nullptr; }
BOOL SHHandleWMSettingChange(HWND h, WPARAM, LPARAM, SHACTIVATEINFO*) { return h != nullptr; }
