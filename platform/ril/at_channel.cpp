// The AT channel's thread and its one-command-in-flight queue.
#include "platform/ril/at_channel.h"

#include <algorithm>

#include "platform/base/debug_out.h"
#include "platform/ril/ril.h"

namespace {

const DWORD kDefaultTimeoutMs = 10000;
std::atomic<DWORD> g_timeoutMs{0};

DWORD MsUntil(DWORD dwDeadline, DWORD dwNow) {
    LONG left = static_cast<LONG>(dwDeadline - dwNow);
    return left > 0 ? static_cast<DWORD>(left) : 0;
}

bool Due(DWORD dwDeadline) { return MsUntil(dwDeadline, GetTickCount()) == 0; }

// What the pool thread holds while the channel runs: the owner, and the
// module, so that a library with this code is not unloaded under the thread.
struct ChannelTask {
    AtChannel* channel;
    std::shared_ptr<void> keepAlive;
    HMODULE hModule;
};

}  // namespace

void RilSetCommandTimeoutForTest(DWORD dwMs) { g_timeoutMs = dwMs; }

DWORD RilCommandTimeout() {
    DWORD t = g_timeoutMs;
    return t ? t : kDefaultTimeoutMs;
}

std::wstring AtTraceText(const std::string& s) {
    std::wstring w;
    for (char c : s) {
        unsigned char u = static_cast<unsigned char>(c);
        w += (u >= 0x20 && u < 0x7F) ? static_cast<wchar_t>(u) : L'?';
    }
    return w;
}

std::wstring AtTraceLine(const std::string& line) {
    if (line.size() <= kMaxTracedLineChars) return AtTraceText(line);
    return AtTraceText(line.substr(0, kMaxTracedLineChars)) + L"... (" + std::to_wstring(line.size()) +
           L" bytes)";
}

AtChannel::AtChannel(std::unique_ptr<AtTransport> port, AtChannelOwner* owner)
    : m_port(std::move(port)), m_owner(owner), m_hWake(CreateEventW(nullptr, FALSE, FALSE, nullptr)) {}

AtChannel::~AtChannel() = default;

bool AtChannel::Start(std::shared_ptr<void> keepAlive) {
    if (!m_hWake) return false;
    {
        std::lock_guard<SrwLock> lock(m_lock);
        m_hPortEvent = m_port->ReadEvent();
        m_bReleased = false;
    }
    HMODULE hModule = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS,
                       reinterpret_cast<LPCWSTR>(&AtChannel::ThreadMain), &hModule);
    auto* task = new ChannelTask{this, std::move(keepAlive), hModule};
    // A pool thread rather than one of its own: a connection opened again
    // soon finds a thread waiting, instead of paying for a new one.
    if (!TrySubmitThreadpoolCallback(&AtChannel::ThreadMain, task, nullptr)) {
        NKDbgPrintfW(L"[ril]: no thread for the modem channel, error %lu.\r\n", GetLastError());
        if (hModule) FreeLibrary(hModule);
        delete task;
        std::lock_guard<SrwLock> lock(m_lock);
        m_hPortEvent = nullptr;
        m_bReleased = true;
        return false;
    }
    return true;
}

VOID CALLBACK AtChannel::ThreadMain(PTP_CALLBACK_INSTANCE instance, PVOID pv) {
    auto* task = static_cast<ChannelTask*>(pv);
    // Not marked as running long: the pool would keep a spare worker (about
    // 1 MB resident under Wine) that nothing else of the process needs.
    if (task->hModule) FreeLibraryWhenCallbackReturns(instance, task->hModule);
    task->channel->Run();
    delete task;  // may be the owner's, and so the channel's, end
}

void AtChannel::Submit(AtJob job) {
    std::lock_guard<SrwLock> lock(m_lock);
    if (m_bStop) return;
    m_queue.push_back(std::move(job));
    WakeLocked();
}

void AtChannel::SubmitFirst(AtJob job) {
    std::lock_guard<SrwLock> lock(m_lock);
    if (m_bStop) return;
    m_queue.push_front(std::move(job));
    WakeLocked();
}

std::vector<AtJob> AtChannel::DropJobsOf(UINT_PTR hClient, AtJob* pInFlight, bool* pbInFlight) {
    std::lock_guard<SrwLock> lock(m_lock);
    std::vector<AtJob> dropped;
    for (auto it = m_queue.begin(); it != m_queue.end();) {
        if (it->hClient != hClient) {
            ++it;
            continue;
        }
        dropped.push_back(std::move(*it));
        it = m_queue.erase(it);
    }
    *pbInFlight = m_bInFlight && m_inFlight.hClient == hClient;
    if (*pbInFlight) *pInFlight = m_inFlight;
    return dropped;
}

void AtChannel::Stop() {
    std::unique_lock<SrwLock> lock(m_lock);
    m_bStop = true;
    m_queue.clear();
    WakeLocked();
    m_lock.WaitUntil([this] { return m_bReleased; });
}

void AtChannel::WakeLocked() {
    m_bKicked = true;
    if (m_hPortEvent) SetEvent(m_hWake.get());
    else m_lock.WakeAll();
}

void AtChannel::Run() {
    m_dwThreadId = GetCurrentThreadId();
    // Nothing may leave the pool thread's entry; a failed allocation ends
    // the connection as a closed port would, and Stop still finds it released.
    try {
        Serve();
    } catch (...) {
        NKDbgPrintfW(L"[ril]: the modem channel failed (out of memory); connection closed.\r\n");
    }
    std::unique_lock<SrwLock> lock(m_lock);
    m_queue.clear();
    m_exchange.Abort();
    m_bInFlight = false;
    m_hPortEvent = nullptr;
    lock.unlock();
    m_port.reset();
    TraceLeftOut();
    m_dwThreadId = 0;
    m_owner->OnReleased();
    lock.lock();
    m_bReleased = true;
    m_lock.WakeAll();
}

void AtChannel::Serve() {
    std::unique_lock<SrwLock> lock(m_lock);
    while (!m_bStop) {
        if (ReadyToSend()) {
            SendNext(lock);
        } else if (m_port && ReadPort(lock)) {
            // bytes or a closed port: look again before waiting
        } else if (m_bInFlight && Due(m_dwDeadline)) {
            TimeOut(lock);
        } else {
            WaitForWork(lock);
        }
    }
}

bool AtChannel::ReadyToSend() {
    if (m_bInFlight || m_queue.empty()) return false;
    if (m_bOwed && m_port && !Due(m_dwOwedDeadline)) return false;
    if (m_queue.front().bPaused && m_port && !Due(m_queue.front().dwNotBefore)) return false;
    m_bOwed = false;  // answered, or taken as lost
    return true;
}

void AtChannel::SendNext(std::unique_lock<SrwLock>& lock) {
    AtJob job = std::move(m_queue.front());
    m_queue.pop_front();
    if (!m_port) {
        Complete(lock, std::move(job), nullptr, RIL_E_RADIOUNAVAILABLE);
        return;
    }
    lock.unlock();
    m_owner->OnSending(&job);
    lock.lock();
    m_exchange.Begin(job.request.command, job.request.prefix, job.bNumericResults);
    m_bInFlight = true;
    m_dwTimeoutMs = job.dwTimeoutMs ? job.dwTimeoutMs : RilCommandTimeout();
    m_dwDeadline = GetTickCount() + m_dwTimeoutMs;
    std::string text = job.request.command + "\r";
    m_inFlight = std::move(job);
    lock.unlock();
    TraceLeftOut();
    m_lastCommand = m_inFlight.request.command;
    bool wrote = m_port->Write(text.data(), text.size());
    lock.lock();
    if (!wrote) LosePort(lock);
}

bool AtChannel::ReadPort(std::unique_lock<SrwLock>& lock) {
    char buf[512];
    lock.unlock();
    int n = m_port->Read(buf, sizeof buf);
    lock.lock();
    if (n == 0) return false;
    if (n < 0) {
        LosePort(lock);
    } else {
        m_lines.clear();
        m_parser.Feed(buf, static_cast<size_t>(n), &m_lines);
        OnLines(lock);
    }
    return true;
}

void AtChannel::OnLines(std::unique_lock<SrwLock>& lock) {
    for (const std::string& line : m_lines) {
        if (m_bStop) return;
        AtExchange::Use use = m_exchange.OnLine(line);
        if (use == AtExchange::Use::Final) {
            AtReply reply = m_exchange.Reply();
            m_bInFlight = false;
            Complete(lock, std::move(m_inFlight), &reply, S_OK);
            continue;
        }
        if (use != AtExchange::Use::Unsolicited) continue;
        bool late = m_bOwed;
        AtFinal final;
        if (late && ParseAtFinal(line, m_bOwedNumeric, &final) && !IsCallProgress(final.kind)) m_bOwed = false;
        if (m_nLinesTraced >= kMaxTracedLinesPerCommand) {
            ++m_nLinesLeftOut;
            continue;
        }
        ++m_nLinesTraced;
        lock.unlock();
        // No notification class is served; such lines (RING, +CREG, late
        // answers, line noise) are only traced.
        if (late)
            NKDbgPrintfW(L"[ril]: late answer of a timed-out command [%s] dropped.\r\n",
                         AtTraceLine(line).c_str());
        else
            NKDbgPrintfW(L"[ril]: unsolicited [%s].\r\n", AtTraceLine(line).c_str());
        lock.lock();
    }
}

// On the channel's thread, without the lock.
void AtChannel::TraceLeftOut() {
    if (m_nLinesLeftOut)
        NKDbgPrintfW(L"[ril]: %u more lines of the modem's own after [%s] left out of the trace.\r\n",
                     m_nLinesLeftOut, AtTraceText(m_lastCommand).c_str());
    m_nLinesTraced = 0;
    m_nLinesLeftOut = 0;
}

void AtChannel::TimeOut(std::unique_lock<SrwLock>& lock) {
    m_exchange.Abort();
    m_bInFlight = false;
    m_bOwed = true;
    m_bOwedNumeric = m_inFlight.bNumericResults;
    m_dwOwedDeadline = GetTickCount() + m_dwTimeoutMs;
    lock.unlock();
    NKDbgPrintfW(L"[ril]: no answer to [%s] in %lu ms.\r\n", AtTraceText(m_inFlight.request.command).c_str(),
                 m_dwTimeoutMs);
    lock.lock();
    Complete(lock, std::move(m_inFlight), nullptr, RIL_E_TIMEDOUT);
}

void AtChannel::LosePort(std::unique_lock<SrwLock>& lock) {
    bool inFlight = m_bInFlight;
    m_bInFlight = false;
    m_exchange.Abort();
    m_bOwed = false;
    m_hPortEvent = nullptr;
    lock.unlock();
    NKDbgPrintfW(L"[ril]: the modem port closed.\r\n");
    m_port.reset();  // at once, so that the port can be opened again
    m_owner->OnPortLost();
    lock.lock();
    if (inFlight) Complete(lock, std::move(m_inFlight), nullptr, RIL_E_RADIOUNAVAILABLE);
}

void AtChannel::Complete(std::unique_lock<SrwLock>& lock, AtJob job, const AtReply* reply,
                         HRESULT hrFailure) {
    lock.unlock();
    bool wanted = m_owner->OnCompleted(job, reply, hrFailure);
    lock.lock();
    if (!wanted) m_bStop = true;
}

void AtChannel::WaitForWork(std::unique_lock<SrwLock>& lock) {
    if (m_bKicked) {
        m_bKicked = false;
        return;
    }
    DWORD now = GetTickCount();
    DWORD wait = INFINITE;
    if (m_bInFlight) wait = MsUntil(m_dwDeadline, now);
    if (m_bOwed && !m_queue.empty()) wait = std::min(wait, MsUntil(m_dwOwedDeadline, now));
    if (!m_bInFlight && !m_queue.empty() && m_queue.front().bPaused)
        wait = std::min(wait, MsUntil(m_queue.front().dwNotBefore, now));
    if (m_port) wait = std::min(wait, m_port->PendingMs());
    if (wait == 0) return;
    if (m_hPortEvent) {
        HANDLE handles[2] = {m_hWake.get(), m_hPortEvent};
        lock.unlock();
        WaitForMultipleObjects(2, handles, FALSE, wait);
        lock.lock();
    } else {
        m_lock.Wait(wait);
    }
    m_bKicked = false;
}
