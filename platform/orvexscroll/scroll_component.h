// The scroll component behind both libraries: creation and release of
// instances, and the clock they read. Each library links its own copy.
#pragma once
#include <windows.h>

#include "platform/orvexscroll/scroll_contract.h"

// Milliseconds of a monotonic clock.
using ScrollClock = double (*)();
double ScrollClockNow();

struct ScrollOptions {
    int nVersion = 1;                // 2 acts on gestures
    ScrollClock pfnClock = nullptr;  // null: ScrollClockNow
    double dScale = 0;               // 0: from the attached window's resolution
};

// Null when out of memory.
ScrollInstance* CreateScrollComponent(const ScrollOptions& opt);
// FALSE (and traced) for anything this module did not create or has
// released already. Inside one of the instance's own events the release
// waits until the event has returned.
BOOL DestroyScrollComponent(ScrollInstance* pInstance);
// Instances of this module not yet released.
int ScrollComponentCount();
