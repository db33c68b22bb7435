// The RIL entry points: each request is built into its AT command and queued
// on the shared modem connection under the caller's handle.
#include "platform/base/debug_out.h"
#include "platform/ril/ril.h"
#include "platform/ril/ril_commands.h"
#include "platform/ril/ril_session.h"

namespace {

// The entry points are the library's edge (ril.dll on the device): a call
// that cannot allocate fails with E_OUTOFMEMORY instead of throwing.
template <typename F>
HRESULT AtEdge(LPCWSTR pszEntry, F&& f) noexcept {
    try {
        return f();
    } catch (...) {
        NKDbgPrintfW(L"[ril]: %s failed (out of memory).\r\n", pszEntry);
        return E_OUTOFMEMORY;
    }
}

}  // namespace

HRESULT RIL_Initialize(DWORD dwIndex, RILRESULTCALLBACK pfnResult, RILNOTIFYCALLBACK pfnNotify,
                       DWORD dwNotificationClasses, DWORD_PTR dwParam, HRIL* lphRil) {
    (void)pfnNotify;  // no notification class is served
    if (!lphRil) return RIL_E_INVALIDARG;
    *lphRil = nullptr;
    HRESULT hr = AtEdge(L"RIL_Initialize", [&] { return RilOpenHandle(dwIndex, pfnResult, dwParam, 0, lphRil); });
    if (FAILED(hr)) return hr;
    if (dwNotificationClasses)
        NKDbgPrintfW(L"[ril]: notification classes 0x%lX are not served.\r\n", dwNotificationClasses);
    return S_OK;
}

HRESULT RIL_Deinitialize(HRIL hRil) {
    return AtEdge(L"RIL_Deinitialize", [&] { return RilCloseHandle(hRil); });
}

HRESULT RIL_GetMsgConfig(HRIL hRil) {
    return AtEdge(L"RIL_GetMsgConfig", [&] {
        RilRequest r;
        HRESULT hr = BuildGetMsgConfig(&r);
        return RilSubmit(hRil, hr, std::move(r));
    });
}

HRESULT RIL_SetMsgConfig(HRIL hRil, const RILMSGCONFIG* lpMsgConfigInfo) {
    return AtEdge(L"RIL_SetMsgConfig", [&] {
        RilRequest r;
        HRESULT hr = BuildSetMsgConfig(lpMsgConfigInfo, &r);
        return RilSubmit(hRil, hr, std::move(r));
    });
}

HRESULT RIL_SendRestrictedSimCmd(HRIL hRil, DWORD dwCommand, const RILSIMCMDPARAMETERS* lpParameters,
                                 const BYTE* lpbData, DWORD dwSize) {
    return AtEdge(L"RIL_SendRestrictedSimCmd", [&] {
        RilRequest r;
        HRESULT hr = BuildSimCmd(dwCommand, lpParameters, lpbData, dwSize, &r);
        return RilSubmit(hRil, hr, std::move(r));
    });
}

HRESULT RIL_GetEquipmentState(HRIL hRil) {
    return AtEdge(L"RIL_GetEquipmentState", [&] {
        RilRequest r;
        HRESULT hr = BuildGetEquipmentState(&r);
        return RilSubmit(hRil, hr, std::move(r));
    });
}

HRESULT RIL_SetEquipmentState(HRIL hRil, DWORD dwEquipmentState) {
    return AtEdge(L"RIL_SetEquipmentState", [&] {
        RilRequest r;
        HRESULT hr = BuildSetEquipmentState(dwEquipmentState, &r);
        return RilSubmit(hRil, hr, std::move(r));
    });
}
