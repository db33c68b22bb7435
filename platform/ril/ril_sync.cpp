// Synchronous radio requests over the asynchronous RIL.
#include "platform/ril/ril_sync.h"

#include <map>
#include <mutex>

#include "platform/debug_out.h"
#include "platform/ril/srw_lock.h"

namespace {

// Answers are kept by id, so one that arrives before the request call has
// returned its id is not lost.
struct Waiter {
    SrwLock lock;
    std::map<HRESULT, RilSyncAnswer> answers;
};

void CALLBACK OnResult(DWORD dwCode, HRESULT hrCmdID, const void* lpData, DWORD cbData, DWORD_PTR dwParam) {
    auto* w = reinterpret_cast<Waiter*>(dwParam);
    RilSyncAnswer a;
    a.dwCode = dwCode;
    if (lpData && cbData) a.data.assign(static_cast<const BYTE*>(lpData), static_cast<const BYTE*>(lpData) + cbData);
    std::lock_guard<SrwLock> lock(w->lock);
    w->answers[hrCmdID] = std::move(a);
    w->lock.WakeAll();
}

}  // namespace

bool RilCallSync(const std::function<HRESULT(HRIL)>& request, DWORD dwWaitMs, RilSyncAnswer* pAnswer) {
    Waiter w;
    HRIL hRil = nullptr;
    HRESULT hr = RIL_Initialize(1, &OnResult, nullptr, 0, reinterpret_cast<DWORD_PTR>(&w), &hRil);
    if (FAILED(hr) || !hRil) return false;
    HRESULT id = request(hRil);
    bool answered = false;
    if (id > 0) {
        std::lock_guard<SrwLock> lock(w.lock);
        answered = w.lock.WaitUntil([&] { return w.answers.count(id) > 0; }, dwWaitMs);
        if (answered && pAnswer) *pAnswer = w.answers[id];
    }
    // Deinitialize waits for a callback in progress, so w outlives every call into it.
    RIL_Deinitialize(hRil);
    if (!answered) NKDbgPrintfW(L"[ril]: request 0x%08lX got no answer.\r\n", static_cast<unsigned long>(id));
    return answered;
}
