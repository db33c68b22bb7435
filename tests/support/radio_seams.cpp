// The radio's test seams set and reset together.
#include "tests/support/radio_seams.h"

#include "platform/modem/sim_transport.h"
#include "platform/ril/ril.h"
#include "platform/ril/ril_test_seams.h"
#include "settings/radio_link.h"

void UseSimModem(DWORD dwCommandTimeoutMs, DWORD dwLinkWaitMs) {
    RilSetPortForTest(L"sim");
    SetSimModemFaultsForTest(ModemFaults{});
    RilSetCommandTimeoutForTest(dwCommandTimeoutMs);
    RadioLink::SetWaitTimeoutForTest(dwLinkWaitMs);
}

void ResetRadioSeams() {
    RadioLink::SetWaitTimeoutForTest(0);
    RilSetCommandTimeoutForTest(0);
    SetSimModemFaultsForTest(ModemFaults{});
    RilSetPortForTest(nullptr);
}
