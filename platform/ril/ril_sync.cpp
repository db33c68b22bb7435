// Synchronous radio requests over the asynchronous RIL.
#include "platform/ril/ril_sync.h"

#include <map>
#include <mutex>

#include "platform/base/debug_out.h"
#include "platform/ril/at_channel.h"
#include "platform/ril/ril_session.h"
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

bool RilCallSync(const std::function<HRESULT(HRIL)>& request, DWORD dwCommandTimeoutMs,
                 RilSyncAnswer* pAnswer) {
    Waiter w;
    HRIL hRil = nullptr;
    HRESULT hr = RilOpenHandle(1, &OnResult, reinterpret_cast<DWORD_PTR>(&w), dwCommandTimeoutMs, &hRil);
    if (FAILED(hr) || !hRil) return false;
    HRESULT id = request(hRil);
    bool answered = false;
    if (id > 0) {
        // A backstop only: ahead of this command there may be one whose late
        // answer the channel waits out (at most a command time-out), then this
        // command's own time-out.
        DWORD dwOwn = dwCommandTimeoutMs && dwCommandTimeoutMs < RilCommandTimeout() ? dwCommandTimeoutMs
                                                                                    : RilCommandTimeout();
        std::lock_guard<SrwLock> lock(w.lock);
        answered = w.lock.WaitUntil([&] { return w.answers.count(id) > 0; }, RilCommandTimeout() + dwOwn + 1000);
        if (answered && pAnswer) *pAnswer = w.answers[id];
    }
    // Deinitialize waits for a callback in progress, so w outlives every call into it;
    // it traces a command left unanswered.
    RIL_Deinitialize(hRil);
    return answered;
}
