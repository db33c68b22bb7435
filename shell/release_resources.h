// What the main window held for its life, released when it is destroyed.
#pragma once
#include <windows.h>

// The skin images and fonts, the list rows, then the imaging factory; every
// handle is cleared as it goes, so a second call releases nothing. Always TRUE.
BOOL ReleaseResources();
