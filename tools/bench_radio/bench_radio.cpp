// bench_radio: times GET RESPONSE round trips through RadioLink against the
// built-in simulated modem and against modem_server.exe over loopback TCP,
// and the opening and closing of radio handles (RIL_Initialize and
// RIL_Deinitialize through RadioLink), and prints the median, the 99th
// percentile and the maximum of each.
//
//   bench_radio [COUNT]        (default 1000 round trips, COUNT / 10 open-close cycles)
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <mutex>
#include <string>
#include <vector>

#include "platform/base/debug_out.h"
#include "platform/base/device_root.h"
#include "platform/modem/sim_transport.h"
#include "platform/ril/ril_test_seams.h"
#include "platform/ril/srw_lock.h"
#include "settings/radio_link.h"
#include "tools/modem_server/modem_server_process.h"

namespace {

const char kCard[] =
    "radio on\r\n"
    "smsc +441234567890 145\r\n"
    "sim 2G\r\n"
    "file 6F17 reclen 28 records 6\r\n"
    "record 1 FF FF FF FF FF FF FF FF FF FF FF FF FF FF 06 91 21 43 65 F7 FF FF FF FF FF FF FF FF\r\n";

constexpr DWORD kMailboxFile = 0x6F17;
constexpr int kWarmUp = 20;

// The card is dated a minute back: a phone's card is at rest between
// savings, and the simulated modem reads a card written in the last few
// seconds again at every command.
bool WriteCardAtRest(const std::wstring& path, const std::string& text) {
    HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    bool ok = WriteFile(h, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
              written == text.size();
    FILETIME ft;
    GetSystemTimeAsFileTime(&ft);
    ULARGE_INTEGER t = {{ft.dwLowDateTime, ft.dwHighDateTime}};
    t.QuadPart -= 60ULL * 10000000;
    ft = {t.LowPart, t.HighPart};
    ok = ok && SetFileTime(h, nullptr, nullptr, &ft);
    CloseHandle(h);
    return ok;
}

std::wstring ExeFolder() {
    wchar_t path[MAX_PATH];
    DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring s(path, n);
    return s.substr(0, s.find_last_of(L'\\') + 1);
}

// A scratch device root holding the card, removed afterwards.
class BenchDevice {
public:
    BenchDevice() {
        wchar_t tmp[MAX_PATH];
        GetTempPathW(MAX_PATH, tmp);
        m_root = std::wstring(tmp) + L"qxbench-" + std::to_wstring(GetCurrentProcessId());
        CreateDirectoryW(m_root.c_str(), nullptr);
        CreateDirectoryW((m_root + L"\\Windows").c_str(), nullptr);
        SetDeviceRoot(m_root.c_str());
        m_bOk = WriteCardAtRest(Card(), kCard);
    }
    ~BenchDevice() {
        SetDeviceRoot(nullptr);
        DeleteFileW(Card().c_str());
        DeleteFileW(PortFile().c_str());
        RemoveDirectoryW((m_root + L"\\Windows").c_str());
        RemoveDirectoryW(m_root.c_str());
    }
    bool Ok() const { return m_bOk; }
    std::wstring Card() const { return m_root + L"\\Windows\\simcard.txt"; }
    std::wstring PortFile() const { return m_root + L"\\port.txt"; }

private:
    std::wstring m_root;
    bool m_bOk = false;
};

struct Result {
    int nFailed = 0;
    std::vector<double> ms;
};

// Milliseconds taken by f(); a false result counts as a failure.
template <typename F>
void Time(Result* r, F&& f) {
    LARGE_INTEGER freq, t0, t1;
    QueryPerformanceFrequency(&freq);
    QueryPerformanceCounter(&t0);
    bool ok = f();
    QueryPerformanceCounter(&t1);
    if (!ok) ++r->nFailed;
    r->ms.push_back(1000.0 * static_cast<double>(t1.QuadPart - t0.QuadPart) /
                    static_cast<double>(freq.QuadPart));
}

bool GetResponse(RadioLink& link) { return link.My_RIL_GetVoiceMail_Setting(kMailboxFile) && link.m_dwRecLen == 28; }

Result Measure(int count) {
    Result r;
    RadioLink link;
    if (!link.My_RIL_Initialize()) {
        r.nFailed = count;
        return r;
    }
    for (int i = 0; i < kWarmUp; ++i) GetResponse(link);
    for (int i = 0; i < count; ++i) Time(&r, [&] { return GetResponse(link); });
    link.My_RIL_Deinitialize();
    return r;
}

// The same request straight through the RIL, its answer awaited on a
// condition variable: the radio layer's own share of the round trip.
struct RawWaiter {
    SrwLock lock;
    HRESULT hrLast = 0;
    DWORD dwCode = 0;
};

void CALLBACK OnRawResult(DWORD dwCode, HRESULT hrCmdID, const void*, DWORD, DWORD_PTR dwParam) {
    auto* w = reinterpret_cast<RawWaiter*>(dwParam);
    std::lock_guard<SrwLock> lock(w->lock);
    w->hrLast = hrCmdID;
    w->dwCode = dwCode;
    w->lock.WakeAll();
}

Result MeasureRil(int count) {
    Result r;
    RawWaiter w;
    HRIL h = nullptr;
    if (FAILED(RIL_Initialize(1, &OnRawResult, nullptr, 0, reinterpret_cast<DWORD_PTR>(&w), &h))) {
        r.nFailed = count;
        return r;
    }
    RILSIMCMDPARAMETERS p = {sizeof p, RIL_PARAM_SCP_ALL, kMailboxFile, 0, 0, 0};
    auto once = [&] {
        HRESULT id = RIL_SendRestrictedSimCmd(h, RIL_SIMCMD_GETRESPONSE, &p, nullptr, 0);
        std::lock_guard<SrwLock> lock(w.lock);
        return id > 0 && w.lock.WaitUntil([&] { return w.hrLast == id; }, 5000) && w.dwCode == RIL_RESULT_OK;
    };
    for (int i = 0; i < kWarmUp; ++i) once();
    for (int i = 0; i < count; ++i) Time(&r, once);
    RIL_Deinitialize(h);
    return r;
}

// Open and close as the settings do, with a second handle open meanwhile,
// as when two procedures overlap: first open, a request, second open,
// second close, last close.
struct OpenClose {
    Result openFirst, openSecond, closeSecond, closeLast;
};

OpenClose MeasureOpenClose(int cycles) {
    OpenClose oc;
    for (int i = 0; i < cycles + kWarmUp / 4; ++i) {
        OpenClose one;
        RadioLink first, second;
        Time(&one.openFirst, [&] { return first.My_RIL_Initialize(); });
        if (!GetResponse(first)) ++one.openFirst.nFailed;
        Time(&one.openSecond, [&] { return second.My_RIL_Initialize(); });
        Time(&one.closeSecond, [&] { return second.My_RIL_Deinitialize(); });
        Time(&one.closeLast, [&] { return first.My_RIL_Deinitialize(); });
        if (i < kWarmUp / 4) continue;
        for (auto [to, from] : {std::pair{&oc.openFirst, &one.openFirst}, {&oc.openSecond, &one.openSecond},
                                {&oc.closeSecond, &one.closeSecond}, {&oc.closeLast, &one.closeLast}}) {
            to->nFailed += from->nFailed;
            to->ms.push_back(from->ms[0]);
        }
    }
    return oc;
}

// Nearest-rank percentile of sorted samples.
double Percentile(const std::vector<double>& sorted, double p) {
    if (sorted.empty()) return 0;
    size_t rank = static_cast<size_t>(p / 100.0 * static_cast<double>(sorted.size()) + 0.999999);
    if (rank < 1) rank = 1;
    return sorted[std::min(rank, sorted.size()) - 1];
}

void Report(const wchar_t* label, Result r) {
    std::sort(r.ms.begin(), r.ms.end());
    double median = r.ms.empty() ? 0
                  : r.ms.size() % 2 ? r.ms[r.ms.size() / 2]
                                    : (r.ms[r.ms.size() / 2 - 1] + r.ms[r.ms.size() / 2]) / 2;
    wprintf(L"%-24ls n=%zu  median %.3f ms  p99 %.3f ms  max %.3f ms  failed %d\n", label, r.ms.size(),
            median, Percentile(r.ms, 99), r.ms.empty() ? 0 : r.ms.back(), r.nFailed);
    fflush(stdout);
}

void ReportAll(const wchar_t* transport, int count) {
    std::wstring label = transport;
    Report((label + L" round trip").c_str(), Measure(count));
    Report((label + L" RIL only").c_str(), MeasureRil(count));
    OpenClose oc = MeasureOpenClose(count / 10 > 0 ? count / 10 : 1);
    Report((label + L" open first").c_str(), oc.openFirst);
    Report((label + L" open second").c_str(), oc.openSecond);
    Report((label + L" close second").c_str(), oc.closeSecond);
    Report((label + L" close last").c_str(), oc.closeLast);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    SetDebugOutToStderr(false);
    RegisterSimModem();
    int count = argc > 1 ? _wtoi(argv[1]) : 1000;
    if (count <= 0) count = 1000;
    BenchDevice dev;
    if (!dev.Ok()) {
        fwprintf(stderr, L"bench_radio: cannot write the card\n");
        return 2;
    }
    wprintf(L"GET RESPONSE round trips through RadioLink (%d each, after %d warm-up);\n"
            L"handles opened and closed through RadioLink (%d cycles)\n",
            count, kWarmUp, count / 10 > 0 ? count / 10 : 1);
    fflush(stdout);

    RilSetPortForTest(L"sim");
    ReportAll(L"in-process", count);

    // Every connection served; it stops 2 s after the last command.
    ModemServerProcess server(ExeFolder() + L"modem_server.exe", dev.Card(), dev.PortFile(), 2000,
                              L"--connections 0");
    if (server.PortNumber() == 0) {
        fwprintf(stderr, L"bench_radio: modem_server.exe did not start\n");
        return 2;
    }
    std::wstring port = server.Port();
    RilSetPortForTest(port.c_str());
    ReportAll(L"TCP", count);
    RilSetPortForTest(nullptr);
    return 0;
}
