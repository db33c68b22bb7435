// The shared modem connection: the registry of handles, the connection they
// share, and the answers handed to each handle's result callback on the
// connection's channel thread.
//
// Lock order: the registry's lock, then a channel's. A channel calls its
// owner without its own lock, so the two never wait on each other.
#include "platform/ril/ril_session.h"

#include <atomic>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <shared_mutex>

#include "platform/debug_out.h"
#include "platform/ril/at_channel.h"
#include "platform/ril/phone_status.h"

namespace {

class Session;

struct Client {
    RILRESULTCALLBACK pfnResult = nullptr;
    DWORD_PTR dwParam = 0;
    std::shared_ptr<Session> session;
};

// Handle values are never reused within a process, so a stale handle cannot
// reach a later client.
const UINT_PTR kFirstHandle = 0x52494C00;

struct Registry {
    SrwLock lock;  // guards everything here and the sessions' fields
    std::map<UINT_PTR, Client> clients;
    std::shared_ptr<Session> current;  // the live connection new handles join
    std::shared_ptr<Session> closing;  // a connection still closing its port
    bool bOpening = false;             // a connection is being opened
    UINT_PTR hLast = kFirstHandle;
};

// Never destroyed: a channel thread may still be ending while the process exits.
Registry& Reg() {
    static Registry* r = new Registry;
    return *r;
}

std::atomic<LONG> g_lastId{0};

HRESULT NextId() {
    // Ids stay positive: 1 to 0x7FFFFFFF, then round again.
    LONG id = ++g_lastId;
    if (id <= 0) {
        g_lastId = 1;
        id = 1;
    }
    return static_cast<HRESULT>(id);
}

class Session final : public AtChannelOwner, public std::enable_shared_from_this<Session> {
public:
    explicit Session(std::unique_ptr<AtTransport> port) : channel(std::move(port), this) {}

    bool OnCompleted(const AtJob& job, const AtReply* reply, HRESULT hrFailure) override;
    void OnPortLost() override;
    void OnReleased() override;
    // Under the registry's lock: no handle is left, so the connection goes.
    void EndLocked(Registry& r);

    AtChannel channel;
    // Under the registry's lock.
    int nClients = 0;
    UINT_PTR hDelivering = 0;  // the handle whose callback runs now
    bool bEnding = false;
    bool bLost = false;
};

void Session::EndLocked(Registry& r) {
    if (bEnding) return;
    bEnding = true;
    if (r.current.get() == this) r.current.reset();
    // Until its port is closed, a new connection must not open it again.
    if (!bLost) r.closing = shared_from_this();
}

bool Session::OnCompleted(const AtJob& job, const AtReply* reply, HRESULT hrFailure) {
    RilAnswer answer = reply ? AnswerFromReply(job.request, *reply) : ErrorAnswer(hrFailure);
    UpdatePhoneStatusForCfun(CfunFromAnswer(job.request, answer));
    if (answer.dwCode != RIL_RESULT_OK) {
        HRESULT hr = 0;
        if (answer.data.size() == sizeof hr) memcpy(&hr, answer.data.data(), sizeof hr);
        NKDbgPrintfW(L"[ril]: id %ld: result %lu, error 0x%08lX.\r\n", static_cast<long>(job.hrId),
                     answer.dwCode, static_cast<unsigned long>(hr));
    }
    Registry& r = Reg();
    std::unique_lock<SrwLock> lock(r.lock);
    auto it = r.clients.find(job.hClient);
    if (it == r.clients.end()) {
        lock.unlock();
        NKDbgPrintfW(L"[ril]: id %ld: its handle is closed; answer dropped.\r\n", static_cast<long>(job.hrId));
        lock.lock();
    } else if (it->second.pfnResult) {
        RILRESULTCALLBACK pfn = it->second.pfnResult;
        DWORD_PTR dwParam = it->second.dwParam;
        hDelivering = job.hClient;
        lock.unlock();
        pfn(answer.dwCode, job.hrId, answer.data.empty() ? nullptr : answer.data.data(),
            static_cast<DWORD>(answer.data.size()), dwParam);
        lock.lock();
        hDelivering = 0;
        r.lock.WakeAll();
    }
    // The callback may have closed the last handle (and opened another).
    if (nClients > 0) return true;
    EndLocked(r);
    return false;
}

void Session::OnPortLost() {
    Registry& r = Reg();
    std::lock_guard<SrwLock> lock(r.lock);
    bLost = true;
    if (r.current.get() == this) r.current.reset();
    r.lock.WakeAll();
}

void Session::OnReleased() {
    Registry& r = Reg();
    std::lock_guard<SrwLock> lock(r.lock);
    if (r.closing.get() == this) r.closing.reset();
    if (r.current.get() == this) r.current.reset();
    r.lock.WakeAll();
}

std::shared_ptr<Session> OpenSession(DWORD dwIndex) {
    std::unique_ptr<AtTransport> transport = OpenDeviceTransport(dwIndex);
    if (!transport) return nullptr;
    auto s = std::make_shared<Session>(std::move(transport));
    // A modem's set-up commands, once there are any, are submitted here,
    // before Start(), so that they go out ahead of every handle's.
    if (!s->channel.Start(s)) return nullptr;
    return s;
}

}  // namespace

HRESULT RilOpenHandle(DWORD dwIndex, RILRESULTCALLBACK pfnResult, DWORD_PTR dwParam, HRIL* phRil) {
    Registry& r = Reg();
    std::unique_lock<SrwLock> lock(r.lock);
    // The port is opened by one thread at a time, and not while the last
    // connection is still closing it (a serial port opens only once).
    r.lock.WaitUntil([&r] { return r.current || !(r.bOpening || r.closing); });
    std::shared_ptr<Session> s = r.current;
    if (!s) {
        r.bOpening = true;
        lock.unlock();
        s = OpenSession(dwIndex);
        lock.lock();
        r.bOpening = false;
        r.lock.WakeAll();
        if (!s) return RIL_E_RADIOUNAVAILABLE;
        if (!s->bLost) r.current = s;
    }
    UINT_PTR h = ++r.hLast;
    if (h == 0) h = r.hLast = kFirstHandle;
    r.clients[h] = Client{pfnResult, dwParam, s};
    ++s->nClients;
    *phRil = reinterpret_cast<HRIL>(h);
    return S_OK;
}

HRESULT RilCloseHandle(HRIL hRil) {
    UINT_PTR h = reinterpret_cast<UINT_PTR>(hRil);
    Registry& r = Reg();
    std::unique_lock<SrwLock> lock(r.lock);
    auto it = r.clients.find(h);
    if (it == r.clients.end()) return RIL_E_INVALIDHANDLE;
    std::shared_ptr<Session> s = std::move(it->second.session);
    r.clients.erase(it);
    --s->nClients;
    s->channel.DropJobsOf(h);
    // Closed from a callback on the connection's own thread: the callback
    // under way finishes, and the channel ends after it if nobody is left.
    if (s->channel.OnChannelThread()) return S_OK;
    r.lock.WaitUntil([&] { return s->hDelivering != h; });
    if (s->nClients > 0 || s->bEnding) return S_OK;
    s->EndLocked(r);
    lock.unlock();
    s->channel.Stop();
    return S_OK;
}

HRESULT RilSubmit(HRIL hRil, HRESULT hrBuilt, RilRequest&& request) {
    UINT_PTR h = reinterpret_cast<UINT_PTR>(hRil);
    Registry& r = Reg();
    std::shared_lock<SrwLock> lock(r.lock);
    auto it = r.clients.find(h);
    if (it == r.clients.end()) return RIL_E_INVALIDHANDLE;
    if (FAILED(hrBuilt)) {
        NKDbgPrintfW(L"[ril]: request refused, error 0x%08lX.\r\n", static_cast<unsigned long>(hrBuilt));
        return hrBuilt;
    }
    AtJob job;
    job.hClient = h;
    job.hrId = NextId();
    job.request = std::move(request);
    HRESULT id = job.hrId;
    it->second.session->channel.Submit(std::move(job));
    return id;
}
