// The main window's resources released in their order.
#include "shell/release_resources.h"

#include "listwin/list_items.h"
#include "platform/base/imaging.h"
#include "shell/core/app_state.h"
#include "shell/core/skin_resources.h"

BOOL ReleaseResources() {
    ReleaseSkin();
    ReleaseListItems();
    ReleaseImagingFactory(&AppState.pImagingFactory);
    return TRUE;
}
