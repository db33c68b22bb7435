// The radio-off bit of the phone's state in the registry.
#include "platform/ril/phone_status.h"

#include <mutex>

#include "platform/base/debug_out.h"
#include "platform/base/registry.h"

namespace {
std::mutex g_statusLock;  // read-modify-write of the value within this process
}

void UpdatePhoneStatusForCfun(int nCfun) {
    if (nCfun < 0) return;
    std::lock_guard<std::mutex> guard(g_statusLock);
    registry::Key key;
    if (key.Create(HKEY_LOCAL_MACHINE, L"System\\State\\Phone", KEY_QUERY_VALUE | KEY_SET_VALUE) != ERROR_SUCCESS)
        return;
    DWORD status = 0;
    LONG rc = key.QueryDWORD(L"Status", &status);
    if (rc != ERROR_SUCCESS && !registry::IsAbsent(rc)) {
        // Unusable as it stands; the radio's bit is all that can be said of it.
        NKDbgPrintfW(L"[ril]: Status is not a DWORD (error %ld); rewritten as a DWORD.\r\n", rc);
    }
    if (rc != ERROR_SUCCESS) status = 0;
    DWORD updated = nCfun == 1 ? (status & ~kPhoneStatusRadioOff) : (status | kPhoneStatusRadioOff);
    if (rc != ERROR_SUCCESS || updated != status) key.SetDWORD(L"Status", updated);
}
