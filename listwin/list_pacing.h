// Pacing of a running scroll movement: the list steps it at most once per
// display refresh and sleeps in between, so a glide costs a frame's work per
// refresh instead of a core. The motion itself is the component's, a
// function of the time at each step, so its course does not change.
#pragma once
#include <windows.h>

// The list window's timer that takes over a wait cut short by input. Timers
// belong to their window; the list window has no other.
constexpr UINT_PTR kScrollFrameTimer = 0x5146;

// After a paint, while a movement runs: sleeps until a refresh has passed
// since the last step. TRUE when it has; FALSE when input or a message came
// first: the timer then brings the step at its time, and the thread goes
// back to its messages.
BOOL WaitForScrollFrame(HWND hwnd);
// A step happens now: the next one is due a refresh later; any timer stops.
void NoteScrollFrame(HWND hwnd);
