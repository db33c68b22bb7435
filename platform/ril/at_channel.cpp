// The AT channel's two threads and its one-command-in-flight queue.
#include "platform/ril/at_channel.h"

#include "platform/debug_out.h"
#include "platform/ril/ril.h"

namespace {

const DWORD kDefaultTimeoutMs = 10000;
const DWORD kReadSliceMs = 100;  // how soon the reader notices Stop()
std::atomic<DWORD> g_timeoutMs{0};

// Modem text for the trace: control bytes and non-ASCII shown as '?'.
std::wstring Printable(const std::string& s) {
    std::wstring w;
    for (char c : s) {
        unsigned char u = static_cast<unsigned char>(c);
        w += (u >= 0x20 && u < 0x7F) ? static_cast<wchar_t>(u) : L'?';
    }
    return w;
}

}  // namespace

void RilSetCommandTimeoutForTest(DWORD dwMs) { g_timeoutMs = dwMs; }

DWORD RilCommandTimeout() {
    DWORD t = g_timeoutMs;
    return t ? t : kDefaultTimeoutMs;
}

AtChannel::AtChannel(std::unique_ptr<AtTransport> port, Completion done, void* ctx)
    : m_port(std::move(port)), m_done(done), m_ctx(ctx) {}

AtChannel::~AtChannel() { Stop(); }

void AtChannel::Start() {
    m_reader = std::thread(&AtChannel::ReaderMain, this);
    m_dispatcher = std::thread(&AtChannel::DispatcherMain, this);
}

void AtChannel::Submit(AtJob job) {
    std::lock_guard<std::mutex> lock(m_lock);
    if (m_bStop) return;
    m_queue.push_back(std::move(job));
    m_cv.notify_all();
}

void AtChannel::StopSoon() {
    std::lock_guard<std::mutex> lock(m_lock);
    m_bStop = true;
    m_queue.clear();
    m_cv.notify_all();
}

void AtChannel::Stop() {
    StopSoon();
    if (m_dispatcher.joinable()) m_dispatcher.join();
    m_bReaderStop = true;
    if (m_reader.joinable()) m_reader.join();
}

bool AtChannel::OnDispatcherThread() const { return m_dwDispatcherId == GetCurrentThreadId(); }

void AtChannel::ReaderMain() {
    char buf[512];
    std::vector<std::string> lines;
    while (!m_bReaderStop) {
        int n = m_port->Read(buf, sizeof buf, kReadSliceMs);
        if (n == 0) continue;
        if (n < 0) {
            NKDbgPrintfW(L"[ril]: the modem port closed.\r\n");
            std::lock_guard<std::mutex> lock(m_lock);
            m_bPortDead = true;
            m_cv.notify_all();
            return;
        }
        lines.clear();
        m_parser.Feed(buf, static_cast<size_t>(n), &lines);
        for (const auto& line : lines) {
            AtExchange::Use use;
            bool late = false;
            {
                std::lock_guard<std::mutex> lock(m_lock);
                use = m_exchange.OnLine(line);
                if (use == AtExchange::Use::Final) {
                    m_bFinal = true;
                    m_cv.notify_all();
                } else if (use == AtExchange::Use::Unsolicited && m_bOwed) {
                    late = true;
                    if (ParseAtFinal(line, nullptr)) {
                        m_bOwed = false;
                        m_cv.notify_all();
                    }
                }
            }
            if (late)
                NKDbgPrintfW(L"[ril]: late answer of a timed-out command [%s] dropped.\r\n",
                             Printable(line).c_str());
            else if (use == AtExchange::Use::Unsolicited)
                OnUnsolicited(line);
        }
    }
}

void AtChannel::OnUnsolicited(const std::string& line) {
    // No notification class is served; such lines (RING, +CREG, late answers,
    // line noise) are only traced.
    NKDbgPrintfW(L"[ril]: unsolicited [%s].\r\n", Printable(line).c_str());
}

void AtChannel::DispatcherMain() {
    m_dwDispatcherId = GetCurrentThreadId();
    std::unique_lock<std::mutex> lock(m_lock);
    for (;;) {
        m_cv.wait(lock, [this] { return m_bStop || !m_queue.empty(); });
        if (m_bStop) return;
        AtJob job = std::move(m_queue.front());
        m_queue.pop_front();

        HRESULT failure = S_OK;
        AtReply reply;
        if (m_bOwed && !m_bPortDead) {
            DWORD left = m_dwOwedDeadline - GetTickCount();
            if (static_cast<LONG>(left) > 0)
                m_cv.wait_for(lock, std::chrono::milliseconds(left),
                              [this] { return !m_bOwed || m_bPortDead || m_bStop; });
            if (m_bStop) return;
            m_bOwed = false;  // answered, or taken as lost
        }
        if (m_bPortDead) {
            failure = RIL_E_RADIOUNAVAILABLE;
        } else {
            m_exchange.Begin(job.request.command, job.request.prefix);
            m_bFinal = false;
            lock.unlock();
            std::string text = job.request.command + "\r";
            bool wrote = m_port->Write(text.data(), text.size());
            lock.lock();
            if (!wrote) m_bPortDead = true;
            DWORD timeout = RilCommandTimeout();
            m_cv.wait_for(lock, std::chrono::milliseconds(timeout),
                          [this] { return m_bFinal || m_bPortDead || m_bStop; });
            if (m_bStop) {
                m_exchange.Abort();
                return;
            }
            if (m_bFinal) {
                reply = m_exchange.Reply();
            } else {
                m_exchange.Abort();
                failure = m_bPortDead ? RIL_E_RADIOUNAVAILABLE : RIL_E_TIMEDOUT;
                if (!m_bPortDead) {
                    m_bOwed = true;
                    m_dwOwedDeadline = GetTickCount() + timeout;
                }
                if (!m_bPortDead)
                    NKDbgPrintfW(L"[ril]: no answer to [%s] in %lu ms.\r\n",
                                 Printable(job.request.command).c_str(), timeout);
            }
        }
        lock.unlock();
        m_done(m_ctx, job, failure == S_OK ? &reply : nullptr, failure);
        lock.lock();
    }
}
