// The built-in transport: the simulated modem in this process. A command is
// answered when its CR is written; the answer becomes readable after the
// modem's delay, so a slow modem is slow for the channel's time-out as well.
// Written and read on the channel's thread only, so it needs no lock and no
// event: bytes only ever appear through Write, or when a delay runs out.
#include "platform/modem/sim_transport.h"

#include <deque>
#include <mutex>

#include "platform/attext/hex_text.h"
#include "platform/modem/sim_card_file.h"
#include "platform/ril/at_transport.h"

namespace {

std::mutex g_faultsLock;
ModemFaults g_faults;
uint32_t g_nScriptedAnswered = 0;  // commands given the scripted answer since the faults were set

// The scripted answer to this command line, when the faults have one for it.
bool TakeScriptedAnswer(const std::string& line, std::string* pAnswer) {
    std::lock_guard<std::mutex> lock(g_faultsLock);
    const ModemFaults& f = g_faults;
    if (!f.pszScriptedCommand || !f.pszScriptedAnswer ||
        !StartsWithNoCase(TrimBlanks(line), f.pszScriptedCommand) ||
        (f.dwScriptedTimes && g_nScriptedAnswered >= f.dwScriptedTimes))
        return false;
    ++g_nScriptedAnswered;
    *pAnswer = f.pszScriptedAnswer;
    return true;
}

class SimTransport : public AtTransport {
public:
    explicit SimTransport(const std::wstring& cardPath) : m_modem(std::make_unique<SimCardFileSlot>(cardPath)) {}

    bool Write(const char* pb, size_t cb) override {
        for (size_t i = 0; i < cb && !m_bHungUp; ++i) {
            if (pb[i] != '\r') {
                // A runaway line without CR is dropped rather than kept growing.
                if (m_line.size() < 4096) m_line += pb[i];
                continue;
            }
            m_modem.SetFaults(SimModemFaultsForTest());
            const ModemFaults& faults = m_modem.Faults();
            if (faults.bHangUp) {
                m_bHungUp = true;
                break;
            }
            // Counted from the first command that sees the fault.
            if (faults.dwDropAfterBytes && !m_bDropArmed) {
                m_bDropArmed = true;
                m_cbDropLeft = faults.dwDropAfterBytes;
            }
            Chunk c;
            if (!TakeScriptedAnswer(m_line, &c.text))
                c.text = faults.pszAnswer ? std::string(faults.pszAnswer) : m_modem.Answer(m_line);
            c.dwDue = GetTickCount() + faults.dwDelayMs;
            m_line.clear();
            if (!c.text.empty()) m_out.push_back(std::move(c));
        }
        return true;
    }

    int Read(char* pb, size_t cb) override {
        if (m_out.empty() || static_cast<LONG>(GetTickCount() - m_out.front().dwDue) < 0)
            return m_bHungUp ? -1 : 0;
        Chunk& c = m_out.front();
        size_t n = c.text.size() < cb ? c.text.size() : cb;
        if (m_bDropArmed && n > m_cbDropLeft) n = m_cbDropLeft;
        c.text.copy(pb, n);
        c.text.erase(0, n);
        if (c.text.empty()) m_out.pop_front();
        if (m_bDropArmed && (m_cbDropLeft -= n) == 0) {
            // The connection is lost in the middle of what the modem sends.
            m_bHungUp = true;
            m_out.clear();
        }
        return static_cast<int>(n);
    }

    HANDLE ReadEvent() override { return nullptr; }

    DWORD PendingMs() override {
        if (m_out.empty()) return INFINITE;
        LONG left = static_cast<LONG>(m_out.front().dwDue - GetTickCount());
        return left > 0 ? static_cast<DWORD>(left) : 0;
    }

private:
    struct Chunk {
        std::string text;
        DWORD dwDue = 0;
    };
    SimModem m_modem;
    std::string m_line;
    std::deque<Chunk> m_out;
    bool m_bHungUp = false;  // answers already on their way are still read, then the port is gone
    bool m_bDropArmed = false;
    size_t m_cbDropLeft = 0;  // answer bytes still read before the port closes
};

}  // namespace

void SetSimModemFaultsForTest(const ModemFaults& faults) {
    std::lock_guard<std::mutex> lock(g_faultsLock);
    g_faults = faults;
    g_nScriptedAnswered = 0;
}

ModemFaults SimModemFaultsForTest() {
    std::lock_guard<std::mutex> lock(g_faultsLock);
    return g_faults;
}

void RegisterSimModem() {
    SetBuiltInModem([](HKEY hRoot, LPCWSTR pszSubKey) -> std::unique_ptr<AtTransport> {
        return std::make_unique<SimTransport>(SimCardPathFromRegistry(hRoot, pszSubKey));
    });
}
