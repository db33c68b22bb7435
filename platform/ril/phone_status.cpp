// The radio-off bit of the phone's state in the registry.
#include "platform/ril/phone_status.h"

#include <mutex>

#include "platform/debug_out.h"

namespace {
std::mutex g_statusLock;  // read-modify-write of the value within this process
}

void UpdatePhoneStatusForCfun(int nCfun) {
    if (nCfun < 0) return;
    std::lock_guard<std::mutex> guard(g_statusLock);
    HKEY hKey = nullptr;
    if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, L"System\\State\\Phone", 0, nullptr, 0,
                        KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr, &hKey, nullptr) != ERROR_SUCCESS) {
        NKDbgPrintfW(L"[ril]: cannot open System\\State\\Phone, error %lu.\r\n", GetLastError());
        return;
    }
    DWORD status = 0, type = 0, cb = sizeof status;
    LONG rc = RegQueryValueExW(hKey, L"Status", nullptr, &type, reinterpret_cast<BYTE*>(&status), &cb);
    if (rc == ERROR_MORE_DATA || (rc == ERROR_SUCCESS && (type != REG_DWORD || cb != sizeof status))) {
        // Unusable as it stands; the radio's bit is all that can be said of it.
        NKDbgPrintfW(L"[ril]: Status has type %lu and %lu bytes; rewritten as a DWORD.\r\n", type, cb);
        status = 0;
        rc = ERROR_FILE_NOT_FOUND;
    } else if (rc != ERROR_SUCCESS) {
        status = 0;
    }
    DWORD updated = nCfun == 1 ? (status & ~kPhoneStatusRadioOff) : (status | kPhoneStatusRadioOff);
    if (rc != ERROR_SUCCESS || updated != status) {
        rc = RegSetValueExW(hKey, L"Status", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&updated),
                            sizeof updated);
        if (rc != ERROR_SUCCESS) NKDbgPrintfW(L"[ril]: setting Status failed, error %ld.\r\n", rc);
    }
    RegCloseKey(hKey);
}
