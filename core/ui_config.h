// The UI configuration: scale, screen class, orientation, long-side
// extension, language, text sizes, background colour and layout metrics.
#pragma once
#include <windows.h>

#include "core/app_state.h"

// The layout metric names under "Software\Orvex\QXPhone\UISettings", in
// reading order; the index of a name is its slot in AppState.UIMetrics.
extern const LPCWSTR (&kUIMetricNames)[kUIMetricCount];

// The two slots the list painting uses.
constexpr int kMetricListLeftPadding = 0;
constexpr int kMetricListComboboxLeftPadding = 14;

// Reads everything into AppState once, before any window exists. Always TRUE.
BOOL GetSettings();

// The screen-size class (0 to 6) of the current screen into *pnScreenType;
// FALSE, with class 0 stored, for a size the program does not know.
BOOL ClassifyScreen(int* pnScreenType);
