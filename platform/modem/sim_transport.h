// The emulated device's built-in modem as the radio layer's transport: the
// simulated modem in the process, on the device's SIM card file. It registers
// itself with the radio layer as the modem of the port "sim" (and of a device
// without a Port); a radio layer without it finds no modem there.
#pragma once
#include "platform/modem/sim_modem.h"

// Every process of the emulated device that opens the radio (the program,
// the radio-power library, the status bar, tests) calls this before it does.
void RegisterSimModem();

// Faults of every built-in simulated modem of the process, read at each
// command (tests and benchmarks).
void SetSimModemFaultsForTest(const ModemFaults& faults);
ModemFaults SimModemFaultsForTest();
