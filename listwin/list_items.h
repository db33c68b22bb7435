// The list rows' storage.
#pragma once

// Frees the row array and every sub-item block, clearing the pointers.
void ReleaseListItems();
