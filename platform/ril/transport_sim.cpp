// The built-in transport: the simulated modem in this process. A command is
// answered when its CR arrives; the answer becomes readable after the modem's
// delay, so a slow modem is slow for the channel's time-out as well.
#include <condition_variable>
#include <deque>
#include <mutex>

#include "platform/ril/at_transport.h"
#include "platform/ril/ril_test_seams.h"

namespace {

std::mutex g_faultsLock;
ModemFaults g_faults;

class SimTransport : public AtTransport {
public:
    explicit SimTransport(const std::wstring& cardPath) : m_modem(cardPath) {}

    bool Write(const char* pb, size_t cb) override {
        for (size_t i = 0; i < cb; ++i) {
            if (pb[i] != '\r') {
                // A runaway line without CR is dropped rather than kept growing.
                if (m_line.size() < 4096) m_line += pb[i];
                continue;
            }
            m_modem.SetFaults(SimModemFaultsForTest());
            Chunk c;
            c.text = m_modem.Answer(m_line);
            c.dwDue = GetTickCount() + m_modem.Faults().dwDelayMs;
            m_line.clear();
            if (c.text.empty()) continue;
            std::lock_guard<std::mutex> lock(m_lock);
            m_out.push_back(c);
            m_ready.notify_all();
        }
        return true;
    }

    int Read(char* pb, size_t cb, DWORD dwWaitMs) override {
        std::unique_lock<std::mutex> lock(m_lock);
        DWORD start = GetTickCount();
        for (;;) {
            DWORD now = GetTickCount();
            DWORD waited = now - start;
            if (!m_out.empty() && static_cast<LONG>(now - m_out.front().dwDue) >= 0) break;
            if (waited >= dwWaitMs) return 0;
            DWORD wait = dwWaitMs - waited;
            if (!m_out.empty()) {
                DWORD due = m_out.front().dwDue - now;
                if (due < wait) wait = due;
            }
            m_ready.wait_for(lock, std::chrono::milliseconds(wait));
        }
        Chunk& c = m_out.front();
        size_t n = c.text.size() < cb ? c.text.size() : cb;
        c.text.copy(pb, n);
        c.text.erase(0, n);
        if (c.text.empty()) m_out.pop_front();
        return static_cast<int>(n);
    }

private:
    struct Chunk {
        std::string text;
        DWORD dwDue = 0;
    };
    SimModem m_modem;  // used by the writing thread only
    std::string m_line;
    std::mutex m_lock;
    std::condition_variable m_ready;
    std::deque<Chunk> m_out;
};

}  // namespace

void SetSimModemFaultsForTest(const ModemFaults& faults) {
    std::lock_guard<std::mutex> lock(g_faultsLock);
    g_faults = faults;
}

ModemFaults SimModemFaultsForTest() {
    std::lock_guard<std::mutex> lock(g_faultsLock);
    return g_faults;
}

std::unique_ptr<AtTransport> OpenSimTransport(const std::wstring& cardPath) {
    return std::make_unique<SimTransport>(cardPath);
}
