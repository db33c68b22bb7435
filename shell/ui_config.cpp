// UI configuration. For now only the orientation; the registry comes next.
#include "shell/ui_config.h"

#include "platform/screen.h"
#include "shell/app_state.h"

BOOL GetSettings() {
    AppState.bLandscape = GetScreenWidth() > GetScreenHeight();
    return TRUE;
}
