// The RIL entry points: handles, command ids, and the answers handed to the
// caller's result callback on the channel's dispatcher thread.
#include <atomic>
#include <cstring>
#include <mutex>
#include <set>
#include <thread>

#include "platform/debug_out.h"
#include "platform/modem/sim_modem.h"
#include "platform/ril/at_channel.h"
#include "platform/ril/phone_status.h"
#include "platform/ril/ril.h"
#include "platform/ril/ril_test_seams.h"

namespace {

struct RilHandle {
    RILRESULTCALLBACK pfnResult = nullptr;
    DWORD_PTR dwParam = 0;
    std::unique_ptr<AtChannel> channel;
};

std::mutex g_handlesLock;
std::set<RilHandle*> g_handles;
std::atomic<LONG> g_lastId{0};

std::mutex g_portLock;
bool g_bPortOverride = false;
std::wstring g_portOverride;

HRESULT NextId() {
    // Ids stay positive: 1 to 0x7FFFFFFF, then round again.
    LONG id = ++g_lastId;
    if (id <= 0) {
        g_lastId = 1;
        id = 1;
    }
    return static_cast<HRESULT>(id);
}

void Completed(void* ctx, const AtJob& job, const AtReply* reply, HRESULT hrFailure) {
    auto* h = static_cast<RilHandle*>(ctx);
    RilAnswer answer = reply ? AnswerFromReply(job.request, *reply) : ErrorAnswer(hrFailure);
    UpdatePhoneStatusForCfun(CfunFromAnswer(job.request, answer));
    if (answer.dwCode != RIL_RESULT_OK) {
        HRESULT hr = 0;
        if (answer.data.size() == sizeof hr) memcpy(&hr, answer.data.data(), sizeof hr);
        NKDbgPrintfW(L"[ril]: id %ld: result %lu, error 0x%08lX.\r\n", static_cast<long>(job.hrId),
                     answer.dwCode, static_cast<unsigned long>(hr));
    }
    if (h->pfnResult)
        h->pfnResult(answer.dwCode, job.hrId, answer.data.empty() ? nullptr : answer.data.data(),
                     static_cast<DWORD>(answer.data.size()), h->dwParam);
}

HRESULT Submit(HRIL hRil, HRESULT hrBuilt, RilRequest&& request) {
    auto* h = static_cast<RilHandle*>(hRil);
    std::lock_guard<std::mutex> lock(g_handlesLock);
    if (!h || !g_handles.count(h)) return RIL_E_INVALIDHANDLE;
    if (FAILED(hrBuilt)) {
        NKDbgPrintfW(L"[ril]: request refused, error 0x%08lX.\r\n", static_cast<unsigned long>(hrBuilt));
        return hrBuilt;
    }
    AtJob job;
    job.hrId = NextId();
    job.request = std::move(request);
    HRESULT id = job.hrId;
    h->channel->Submit(std::move(job));
    return id;
}

std::wstring ConfiguredPort(bool* pOk) {
    {
        std::lock_guard<std::mutex> lock(g_portLock);
        if (g_bPortOverride) {
            *pOk = true;
            return g_portOverride;
        }
    }
    std::wstring port;
    *pOk = ReadRadioPort(HKEY_LOCAL_MACHINE, kRilRegistryKey, &port);
    return port;
}

}  // namespace

void RilSetPortForTest(LPCWSTR pszPort) {
    std::lock_guard<std::mutex> lock(g_portLock);
    g_bPortOverride = pszPort != nullptr;
    g_portOverride = pszPort ? pszPort : L"";
}

HRESULT RIL_Initialize(DWORD dwIndex, RILRESULTCALLBACK pfnResult, RILNOTIFYCALLBACK pfnNotify,
                       DWORD dwNotificationClasses, DWORD_PTR dwParam, HRIL* lphRil) {
    (void)pfnNotify;  // no notification class is served
    if (!lphRil) return RIL_E_INVALIDARG;
    *lphRil = nullptr;
    bool ok = false;
    std::wstring port = ConfiguredPort(&ok);
    if (!ok) return RIL_E_RADIOUNAVAILABLE;
    std::wstring card = SimCardPathFromRegistry(HKEY_LOCAL_MACHINE, kRilRegistryKey);
    std::unique_ptr<AtTransport> transport = OpenTransport(port, card);
    if (!transport) {
        NKDbgPrintfW(L"[ril]: RIL_Initialize(%lu): no modem on [%s].\r\n", dwIndex, port.c_str());
        return RIL_E_RADIOUNAVAILABLE;
    }
    auto* h = new RilHandle;
    h->pfnResult = pfnResult;
    h->dwParam = dwParam;
    h->channel = std::make_unique<AtChannel>(std::move(transport), &Completed, h);
    h->channel->Start();
    {
        std::lock_guard<std::mutex> lock(g_handlesLock);
        g_handles.insert(h);
    }
    if (dwNotificationClasses)
        NKDbgPrintfW(L"[ril]: notification classes 0x%lX are not served.\r\n", dwNotificationClasses);
    *lphRil = static_cast<HRIL>(h);
    return S_OK;
}

HRESULT RIL_Deinitialize(HRIL hRil) {
    auto* h = static_cast<RilHandle*>(hRil);
    {
        std::lock_guard<std::mutex> lock(g_handlesLock);
        if (!h || !g_handles.erase(h)) return RIL_E_INVALIDHANDLE;
    }
    if (h->channel->OnDispatcherThread()) {
        // Closed from its own result callback: the dispatcher cannot wait for
        // itself, so the joining is left to a thread of its own.
        h->channel->StopSoon();
        std::thread([h] { delete h; }).detach();
        return S_OK;
    }
    delete h;
    return S_OK;
}

HRESULT RIL_GetMsgConfig(HRIL hRil) {
    RilRequest r;
    HRESULT hr = BuildGetMsgConfig(&r);
    return Submit(hRil, hr, std::move(r));
}

HRESULT RIL_SetMsgConfig(HRIL hRil, const RILMSGCONFIG* lpMsgConfigInfo) {
    RilRequest r;
    HRESULT hr = BuildSetMsgConfig(lpMsgConfigInfo, &r);
    return Submit(hRil, hr, std::move(r));
}

HRESULT RIL_SendRestrictedSimCmd(HRIL hRil, DWORD dwCommand, const RILSIMCMDPARAMETERS* lpParameters,
                                 const BYTE* lpbData, DWORD dwSize) {
    RilRequest r;
    HRESULT hr = BuildSimCmd(dwCommand, lpParameters, lpbData, dwSize, &r);
    return Submit(hRil, hr, std::move(r));
}

HRESULT RIL_GetEquipmentState(HRIL hRil) {
    RilRequest r;
    HRESULT hr = BuildGetEquipmentState(&r);
    return Submit(hRil, hr, std::move(r));
}

HRESULT RIL_SetEquipmentState(HRIL hRil, DWORD dwEquipmentState) {
    RilRequest r;
    HRESULT hr = BuildSetEquipmentState(dwEquipmentState, &r);
    return Submit(hRil, hr, std::move(r));
}
