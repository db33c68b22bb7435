// The shared modem connection: the registry of handles, the connection they
// share, and the answers handed to each handle's result callback on the
// connection's channel thread.
//
// Lock order: the registry's lock, then a channel's. A channel calls its
// owner without its own lock, so the two never wait on each other.
#include "platform/ril/ril_session.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <shared_mutex>

#include "platform/base/debug_out.h"
#include "platform/ril/at_channel.h"
#include "platform/ril/phone_status.h"

namespace {

class Session;

struct Client {
    RILRESULTCALLBACK pfnResult = nullptr;
    DWORD_PTR dwParam = 0;
    std::shared_ptr<Session> session;
    DWORD dwTimeoutMs = 0;  // of each command; 0: the library's
};

// The connection's own set-up commands go under this client. A live modem
// answers them at once; one that is silent for a second is not waited for
// longer, so that a dead modem costs the caller one short wait.
const UINT_PTR kSetupClient = 0;
const DWORD kSetupTimeoutMs = 1000;

DWORD SetupTimeout() { return std::min(kSetupTimeoutMs, RilCommandTimeout()); }

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
    void OnSending(AtJob* job) override;
    void OnPortLost() override;
    void OnReleased() override;
    // Under the registry's lock: no handle is left, so the connection goes.
    void EndLocked(Registry& r);
    // The set-up command to send now, or the end of the set-up.
    void ContinueSetUp();
    // A SIM command the modem should be asked again, below the caller.
    bool AskAgain(const AtJob& job, const AtReply& reply);
    // A transient answer: the command goes out again after a pause.
    bool AskAgainLater(const AtJob& job, const AtReply& reply);
    // Queues the job again, first, with the request; false when its handle is gone.
    bool Resubmit(const AtJob& job, RilRequest again, DWORD dwPauseMs);

    AtChannel channel;
    // The channel's thread alone uses these (the opener waits for bSetUp).
    AtSetup setup;
    AtDialect dialect;
    // Under the registry's lock.
    bool bSetUp = false;
    int nClients = 0;
    UINT_PTR hDelivering = 0;  // the handle whose callback runs now
    bool bEnding = false;
    bool bLost = false;
};

void Session::ContinueSetUp() {
    if (const char* command = setup.Command()) {
        AtJob job;
        job.hClient = kSetupClient;
        job.request.command = command;
        job.request.prefix = setup.Prefix();
        job.dwTimeoutMs = SetupTimeout();
        channel.Submit(std::move(job));
        return;
    }
    if (dialect.charset == TeCharset::Ucs2 || dialect.charset == TeCharset::Hex)
        NKDbgPrintfW(L"[ril]: the modem keeps character set %hs; addresses are written in it.\r\n",
                     CharsetName(dialect.charset));
    Registry& r = Reg();
    std::lock_guard<SrwLock> lock(r.lock);
    bSetUp = true;
    r.lock.WakeAll();
}

void Session::OnSending(AtJob* job) {
    job->bNumericResults = !dialect.bVerbose;
    if (job->hClient != kSetupClient) FitRequestToModem(&job->request, dialect);
}

bool Session::Resubmit(const AtJob& job, RilRequest again, DWORD dwPauseMs) {
    {
        Registry& r = Reg();
        std::shared_lock<SrwLock> lock(r.lock);
        if (!r.clients.count(job.hClient)) return false;
    }
    AtJob next = job;
    next.request = std::move(again);
    next.bPaused = dwPauseMs != 0;
    next.dwNotBefore = GetTickCount() + dwPauseMs;
    channel.SubmitFirst(std::move(next));
    return true;
}

bool Session::AskAgain(const AtJob& job, const AtReply& reply) {
    RilRequest again;
    if (!RetryOfSimCmd(job.request, reply, &again)) return false;
    std::string command = again.command;
    bool bPath = again.sim.bPathRetried;
    if (!Resubmit(job, std::move(again), 0)) return false;
    // Once a file needed its path, the connection's later commands carry it.
    if (bPath) dialect.bSimPaths = true;
    NKDbgPrintfW(L"[ril]: id %ld: [%s] answered [%s]; asked again as [%s].\r\n", static_cast<long>(job.hrId),
                 AtTraceText(job.request.command).c_str(), AtTraceLine(reply.lines[0]).c_str(),
                 AtTraceText(command).c_str());
    return true;
}

bool Session::AskAgainLater(const AtJob& job, const AtReply& reply) {
    RilRequest again;
    if (!RetryOfTransient(job.request, reply, !dialect.bSimAnswered, &again)) return false;
    int nTry = again.nTransientRetries + 1;
    if (!Resubmit(job, std::move(again), kTransientPauseMs)) return false;
    const std::string& answered = reply.final.kind == AtFinalKind::Ok ? reply.lines[0] : reply.final.text;
    NKDbgPrintfW(L"[ril]: id %ld: [%s] answered [%s]; asked again in %lu ms (try %d of %d).\r\n",
                 static_cast<long>(job.hrId), AtTraceText(job.request.command).c_str(),
                 AtTraceLine(answered).c_str(), static_cast<unsigned long>(kTransientPauseMs), nTry,
                 kMaxTransientRetries + 1);
    return true;
}

void Session::EndLocked(Registry& r) {
    if (bEnding) return;
    bEnding = true;
    if (r.current.get() == this) r.current.reset();
    // Until its port is closed, a new connection must not open it again.
    if (!bLost) r.closing = shared_from_this();
}

bool Session::OnCompleted(const AtJob& job, const AtReply* reply, HRESULT hrFailure) {
    if (reply && (reply->final.kind == AtFinalKind::Unsupported || reply->final.kind == AtFinalKind::ModemError))
        NKDbgPrintfW(L"[ril]: [%s] ended by the modem's own final result [%s].\r\n",
                     AtTraceText(job.request.command).c_str(), AtTraceLine(reply->final.text).c_str());
    if (job.hClient == kSetupClient) {
        // Each refusal is borne: the modem is then used as it is.
        if (!reply)
            NKDbgPrintfW(L"[ril]: set-up [%s] got no answer; the modem is used as it is.\r\n",
                         AtTraceText(job.request.command).c_str());
        else if (reply->final.kind != AtFinalKind::Ok)
            NKDbgPrintfW(L"[ril]: set-up [%s] refused.\r\n", AtTraceText(job.request.command).c_str());
        setup.OnReply(reply, &dialect);
        ContinueSetUp();
        return true;
    }
    if (reply && AskAgainLater(job, *reply)) return true;
    if (reply && job.request.kind == RilRequestKind::SimCmd) dialect.bSimAnswered = true;
    if (reply && AskAgain(job, *reply)) return true;
    if (const std::string* line = reply && reply->final.kind == AtFinalKind::Ok ? RepeatedLine(*reply) : nullptr)
        NKDbgPrintfW(L"[ril]: id %ld: [%s] gave [%s] %u times; taken once.\r\n", static_cast<long>(job.hrId),
                     AtTraceText(job.request.command).c_str(), AtTraceLine(*line).c_str(),
                     static_cast<unsigned>(reply->lines.size()));
    RilAnswer answer = reply ? AnswerFromReply(job.request, *reply, dialect) : ErrorAnswer(hrFailure);
    UpdatePhoneStatusForCfun(CfunFromAnswer(job.request, answer));
    if (answer.dwCode != RIL_RESULT_OK) {
        HRESULT hr = 0;
        if (answer.data.size() == sizeof hr) memcpy(&hr, answer.data.data(), sizeof hr);
        NKDbgPrintfW(L"[ril]: id %ld [%s]: result %lu, error 0x%08lX.\r\n", static_cast<long>(job.hrId),
                     AtTraceText(job.request.command).c_str(), answer.dwCode, static_cast<unsigned long>(hr));
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
    // The set-up goes out ahead of every handle's command; the first handle
    // is handed out once it is over, so that every command is sent and read
    // in what it learnt.
    s->ContinueSetUp();
    if (!s->channel.Start(s)) return nullptr;
    Registry& r = Reg();
    std::unique_lock<SrwLock> lock(r.lock);
    r.lock.WaitUntil([&s] { return s->bSetUp; }, 10 * SetupTimeout() + 1000);
    return s;
}

}  // namespace

HRESULT RilOpenHandle(DWORD dwIndex, RILRESULTCALLBACK pfnResult, DWORD_PTR dwParam,
                      DWORD dwCommandTimeoutMs, HRIL* phRil) {
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
    DWORD dwTimeoutMs = dwCommandTimeoutMs < RilCommandTimeout() ? dwCommandTimeoutMs : 0;
    r.clients[h] = Client{pfnResult, dwParam, s, dwTimeoutMs};
    ++s->nClients;
    *phRil = reinterpret_cast<HRIL>(h);
    return S_OK;
}

namespace {

// What a closing handle leaves unanswered, traced once the locks are let go.
struct Unanswered {
    std::vector<AtJob> dropped;
    AtJob inFlight;
    bool bInFlight = false;
    ~Unanswered() {
        if (bInFlight)
            NKDbgPrintfW(L"[ril]: id %ld: handle closed before [%s] was answered.\r\n",
                         static_cast<long>(inFlight.hrId), AtTraceText(inFlight.request.command).c_str());
        for (const AtJob& job : dropped)
            NKDbgPrintfW(L"[ril]: id %ld: handle closed; [%s] not sent.\r\n", static_cast<long>(job.hrId),
                         AtTraceText(job.request.command).c_str());
    }
};

}  // namespace

HRESULT RilCloseHandle(HRIL hRil) {
    UINT_PTR h = reinterpret_cast<UINT_PTR>(hRil);
    Unanswered unanswered;
    Registry& r = Reg();
    std::unique_lock<SrwLock> lock(r.lock);
    auto it = r.clients.find(h);
    if (it == r.clients.end()) return RIL_E_INVALIDHANDLE;
    std::shared_ptr<Session> s = std::move(it->second.session);
    r.clients.erase(it);
    --s->nClients;
    unanswered.dropped = s->channel.DropJobsOf(h, &unanswered.inFlight, &unanswered.bInFlight);
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
    job.dwTimeoutMs = it->second.dwTimeoutMs;
    HRESULT id = job.hrId;
    it->second.session->channel.Submit(std::move(job));
    return id;
}
