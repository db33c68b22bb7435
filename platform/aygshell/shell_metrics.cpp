// Display scale, bar heights and the default top-level area.
#include "platform/aygshell/shell_metrics.h"

#include "platform/aygshell/aygshell.h"
#include "platform/base/registry.h"
#include "platform/base/screen.h"

namespace {
constexpr int kBarBaseHeight = 26;
}

int ShellScale() { return registry::ReadDisplayScale(); }

int SHGetBarHeight() { return kBarBaseHeight * ShellScale(); }

RECT ScreenRect() { return RECT{0, 0, GetScreenWidth(), GetScreenHeight()}; }

RECT SoftKeyBarRect() {
    RECT rc = ScreenRect();
    rc.top = rc.bottom - SHGetBarHeight();
    return rc;
}

BOOL SHGetDefaultMainArea(RECT* prc) {
    if (!prc) return FALSE;
    int bar = SHGetBarHeight();
    *prc = ScreenRect();
    prc->top += bar;
    prc->bottom -= bar;
    // A screen too small for both bars still gives a well-formed rectangle.
    if (prc->bottom < prc->top) prc->bottom = prc->top;
    return TRUE;
}
