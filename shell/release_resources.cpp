// The main window's resources released in their order.
#include "shell/release_resources.h"

#include "core/app_state.h"
#include "core/skin_resources.h"
#include "listwin/list_items.h"
#include "platform/base/imaging.h"

BOOL ReleaseResources() {
    ReleaseSkin();
    ReleaseListItems();
    ReleaseImagingFactory(&AppState.pImagingFactory);
    return TRUE;
}
