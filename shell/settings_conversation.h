// The conversation about the two numbers, run at the top, where the list
// and the settings meet: the numbers are read when the main window is made
// and handed to the list as texts; on Done the list hands back what its
// fields hold, the settings check and save them, and what cannot be stored
// is said. The list only shows texts; the settings never see the screen.
#pragma once
#include <windows.h>

// The main window's "LoadSetting" step: the rows, then the two numbers read
// and shown in them. TRUE.
BOOL LoadSetting();

// "Done". TRUE when the screen may close: what changed was saved and the
// phone application told. FALSE while it stays: a text that cannot be
// stored, or a save that did not happen, was said and its field selected;
// the user would not delete the voice mail; or such a box is still up.
BOOL SaveOnDone(HWND hwndMain);

// A report of Done is up: the soft keys wait for it.
BOOL IsDoneReportUp();
