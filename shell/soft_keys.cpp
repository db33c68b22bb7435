// Soft keys. Placeholder until the shell's soft-key bar is in.
#include "shell/soft_keys.h"

#include "platform/screen.h"
#include "shell/app_state.h"

HWND CreateSoftKeyBar(HWND, HINSTANCE) { return nullptr; }

RECT DefaultTopLevelArea() {
    int bar = 26 * AppState.nScale;
    return {0, bar, GetScreenWidth(), GetScreenHeight() - bar};
}
