// Seams of the radio layer for tests: the modem port and the faults of the
// built-in simulated modem. Both are process-wide.
#pragma once
#include <windows.h>

#include "platform/modem/sim_modem.h"

// A "Port" value used instead of the registry's; null goes back to the registry.
void RilSetPortForTest(LPCWSTR pszPort);
// Faults of every built-in simulated modem, read at each command.
void SetSimModemFaultsForTest(const ModemFaults& faults);
ModemFaults SimModemFaultsForTest();
