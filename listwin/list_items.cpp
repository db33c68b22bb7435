// The list rows' storage. The rows come with the list window; until they
// exist there is nothing to free.
#include "listwin/list_items.h"

void ReleaseListItems() {}
