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

// False when no handle opens, the request is refused or no answer comes
// within dwWaitMs; otherwise the answer, whatever its code.
bool RilCallSync(const std::function<HRESULT(HRIL)>& request, DWORD dwWaitMs, RilSyncAnswer* pAnswer);
