// Milliseconds of the performance counter.
#include "platform/base/clock.h"

#include <windows.h>

double MonotonicMs() {
    static const double s_dPerMs = [] {
        LARGE_INTEGER f;
        return QueryPerformanceFrequency(&f) && f.QuadPart > 0 ? f.QuadPart / 1000.0 : 0.0;
    }();
    LARGE_INTEGER c;
    if (s_dPerMs <= 0 || !QueryPerformanceCounter(&c)) return static_cast<double>(GetTickCount());
    return c.QuadPart / s_dPerMs;
}
