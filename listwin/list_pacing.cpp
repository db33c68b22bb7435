// One scroll step per display refresh: the time of the last step, the wait
// for the next and the timer that takes over when input comes first.
#include "listwin/list_pacing.h"

#include <cmath>

#include "platform/base/clock.h"

namespace {

// The device's display shows 60 frames a second.
constexpr double kFrameMs = 1000.0 / 60.0;
// What cuts a wait short: the user's pen and keys, and messages for the
// thread. Paints of other windows and the hovering mouse wait their turn.
constexpr DWORD kWakeMask = QS_KEY | QS_MOUSEBUTTON | QS_POSTMESSAGE | QS_SENDMESSAGE | QS_HOTKEY;

double g_tLastStep = -1e9;
bool g_bTimerSet = false;

// Whole milliseconds still to go, rounded up so a wait never ends early.
DWORD MsUntilFrame() {
    double left = g_tLastStep + kFrameMs - MonotonicMs();
    return left > 0 ? static_cast<DWORD>(std::ceil(left)) : 0;
}

}  // namespace

BOOL WaitForScrollFrame(HWND hwnd) {
    for (DWORD ms; (ms = MsUntilFrame()) > 0;) {
        DWORD r = MsgWaitForMultipleObjectsEx(0, nullptr, ms, kWakeMask, MWMO_INPUTAVAILABLE);
        if (r == WAIT_TIMEOUT) continue;
        // Input first: it is handled now, the step at its time.
        if ((ms = MsUntilFrame()) == 0) return TRUE;
        g_bTimerSet = SetTimer(hwnd, kScrollFrameTimer, ms, nullptr) != 0;
        return FALSE;
    }
    return TRUE;
}

void NoteScrollFrame(HWND hwnd) {
    if (g_bTimerSet) KillTimer(hwnd, kScrollFrameTimer);
    g_bTimerSet = false;
    g_tLastStep = MonotonicMs();
}
