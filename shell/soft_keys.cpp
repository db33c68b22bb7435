// Soft keys through the shell's menu bar, and the default top-level area.
#include "shell/soft_keys.h"

#include "platform/aygshell/aygshell.h"
#include "res/resource.h"

HWND CreateSoftKeyBar(HWND hwndOwner, HINSTANCE hInst) {
    SHMENUBARINFO mbi{};
    mbi.cbSize = sizeof(mbi);
    mbi.hwndParent = hwndOwner;
    mbi.nToolBarId = IDR_MENUBAR;
    mbi.hInstRes = hInst;
    return SHCreateMenuBar(&mbi) ? mbi.hwndMB : nullptr;
}

RECT DefaultTopLevelArea() {
    RECT rc{};
    SHGetDefaultMainArea(&rc);
    return rc;
}
