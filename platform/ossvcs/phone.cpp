// Phone state from the radio: AT+CFUN? through the RIL, answered within a
// few seconds or not at all. The radio layer updates the phone's Status bit
// from the same answer.
#include "platform/ossvcs/phone.h"

#include <cstring>

#include "platform/base/debug_out.h"
#include "platform/ril/ril_sync.h"

namespace {
// AT+CFUN? is answered at once by a live modem; the program's start waits on it.
const DWORD kPhoneStateTimeoutMs = 3000;
}

BOOL GetPhoneState(DWORD* pdwState) {
    if (!pdwState) return FALSE;
    RilSyncAnswer a;
    if (!RilCallSync([](HRIL h) { return RIL_GetEquipmentState(h); }, kPhoneStateTimeoutMs, &a))
        return FALSE;
    RILEQUIPMENTSTATE eq = {};
    if (a.dwCode != RIL_RESULT_OK || a.data.size() < sizeof eq) {
        NKDbgPrintfW(L"[ril]: GetPhoneState: the radio gave result %lu.\r\n", a.dwCode);
        return FALSE;
    }
    memcpy(&eq, a.data.data(), sizeof eq);
    switch (eq.dwEqState) {
        case RIL_EQSTATE_MINIMUM: *pdwState = 0; break;
        case RIL_EQSTATE_FULL: *pdwState = 2; break;
        case RIL_EQSTATE_DISABLETX:
        case RIL_EQSTATE_DISABLERX:
        case RIL_EQSTATE_DISABLETXANDRX: *pdwState = 1; break;  // transmitter off: flight mode
        default:
            NKDbgPrintfW(L"[ril]: GetPhoneState: unknown radio state %lu.\r\n", eq.dwEqState);
            return FALSE;
    }
    return TRUE;
}
