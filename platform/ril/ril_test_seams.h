// Seam of the radio layer for tests: the modem port, process-wide. (The
// built-in modem's faults are the modem's: platform/modem/sim_transport.h.)
#pragma once
#include <windows.h>

// A "Port" value used instead of the registry's; null goes back to the registry.
void RilSetPortForTest(LPCWSTR pszPort);
