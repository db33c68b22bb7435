// One radio request made synchronously: open a handle, send, wait for the
// answer with this request's id, close. For the phone-state query and the
// radio-power library, which have no thread of their own to wait on.
#pragma once
#include <windows.h>

#include <functional>
#include <vector>

#include "platform/ril/ril.h"

struct RilSyncAnswer {
    DWORD dwCode = 0;
    std::vector<BYTE> data;
};

// The library waits dwCommandTimeoutMs for the modem's answer (0, or more
// than its own per-command time-out: that one) and then answers the request
// itself with RIL_E_TIMEDOUT; this call waits for that verdict. False when no
// handle opens or the request is refused; otherwise the answer, whatever its
// code.
bool RilCallSync(const std::function<HRESULT(HRIL)>& request, DWORD dwCommandTimeoutMs,
                 RilSyncAnswer* pAnswer);
