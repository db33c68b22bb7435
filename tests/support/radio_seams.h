// The radio's test seams in one place: the built-in simulated modem with
// short waits for a test, and everything back as the device has it after.
#pragma once
#include <windows.h>

// The port "sim", the modem well, the library's per-command time-out and
// RadioLink's wait (0: the device's own).
void UseSimModem(DWORD dwCommandTimeoutMs, DWORD dwLinkWaitMs);
// The port from the registry, the modem well, both waits the device's.
void ResetRadioSeams();
