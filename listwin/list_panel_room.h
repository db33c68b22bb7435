// Room for the field being typed: while the input panel is up and one of the
// list's edit fields has the focus, the list's view ends at the panel's top
// and its content moves so that the field is wholly in view. Otherwise the
// list window has the box its geometry rule gives, and nothing moves.
#pragma once
#include <windows.h>

// After the panel went up or down, a field got or lost the focus, or the
// screen turned: the list window's height and the scroll offset for the
// current state. A list image still to be built only takes the height.
void FitListToInputPanel(HWND hwndList);

// After the list image was built (the offset is back at 0): the focused
// field into view again within the current view.
void BringFocusedFieldIntoView();
