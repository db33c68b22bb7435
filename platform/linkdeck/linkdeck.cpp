// LinkdeckDll.dll: the radio-power library the settings program loads from
// "\Windows\LinkdeckDll.dll". It carries its own copy of the radio layer.
#include <windows.h>

#include "platform/base/debug_out.h"
#include "platform/modem/sim_transport.h"
#include "platform/ril/ril_sync.h"

namespace {

int SetPhone(int nOn) {
    if (nOn != 1) {
        NKDbgPrintfW(L"[linkdeck]: Linkdeck_SetPhone(%d): only 1 (radio on) is known.\r\n", nOn);
        return 0;
    }
    RilSyncAnswer a;
    // Switching the radio on may take a modem seconds: the library's own time-out holds.
    if (!RilCallSync([](HRIL h) { return RIL_SetEquipmentState(h, RIL_EQSTATE_FULL); }, 0, &a))
        return 0;
    if (a.dwCode != RIL_RESULT_OK) {
        NKDbgPrintfW(L"[linkdeck]: switching the radio on failed, result %lu.\r\n", a.dwCode);
        return 0;
    }
    return 1;
}

}  // namespace

// The library's own radio layer reaches the device's modem as the program's does.
BOOL WINAPI DllMain(HINSTANCE, DWORD dwReason, LPVOID) {
    if (dwReason == DLL_PROCESS_ATTACH) RegisterSimModem();
    return TRUE;
}

// 1 switches the radio on (AT+CFUN=1); the radio layer then clears the
// phone's radio-off Status bit. Non-zero on success. Nothing is thrown
// across the library's edge: the caller has a runtime of its own.
extern "C" __declspec(dllexport) int WINAPI Linkdeck_SetPhone(int nOn) {
    try {
        return SetPhone(nOn);
    } catch (...) {
        NKDbgPrintfW(L"[linkdeck]: Linkdeck_SetPhone(%d) failed (out of memory).\r\n", nOn);
        return 0;
    }
}
