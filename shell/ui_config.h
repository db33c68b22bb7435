// The UI configuration: scale, screen class, orientation, long-side
// extension, language, text sizes, background colour and layout metrics.
#pragma once
#include <windows.h>

// Reads everything into AppState once, before any window exists. Always TRUE.
BOOL GetSettings();
