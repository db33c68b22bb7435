// bench_radio: times GET RESPONSE round trips through RadioLink against the
// built-in simulated modem and against modem_server.exe over loopback TCP,
// and prints the median and the 99th percentile of each.
//
//   bench_radio [COUNT]        (default 1000)
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "platform/debug_out.h"
#include "platform/device_root.h"
#include "platform/ril/ril_test_seams.h"
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

bool WriteText(const std::wstring& path, const std::string& text) {
    HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    bool ok = WriteFile(h, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
              written == text.size();
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
        m_bOk = WriteText(Card(), kCard);
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

Result Measure(int count) {
    Result r;
    RadioLink link;
    if (!link.My_RIL_Initialize()) {
        r.nFailed = count;
        return r;
    }
    LARGE_INTEGER freq, t0, t1;
    QueryPerformanceFrequency(&freq);
    for (int i = 0; i < kWarmUp; ++i) link.My_RIL_GetVoiceMail_Setting(kMailboxFile);
    for (int i = 0; i < count; ++i) {
        QueryPerformanceCounter(&t0);
        bool ok = link.My_RIL_GetVoiceMail_Setting(kMailboxFile) && link.m_dwRecLen == 28;
        QueryPerformanceCounter(&t1);
        if (!ok) ++r.nFailed;
        r.ms.push_back(1000.0 * static_cast<double>(t1.QuadPart - t0.QuadPart) /
                       static_cast<double>(freq.QuadPart));
    }
    link.My_RIL_Deinitialize();
    return r;
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
    wprintf(L"%-18ls n=%zu  median %.3f ms  p99 %.3f ms  max %.3f ms  failed %d\n", label, r.ms.size(),
            median, Percentile(r.ms, 99), r.ms.empty() ? 0 : r.ms.back(), r.nFailed);
    fflush(stdout);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    SetDebugOutToStderr(false);
    int count = argc > 1 ? _wtoi(argv[1]) : 1000;
    if (count <= 0) count = 1000;
    BenchDevice dev;
    if (!dev.Ok()) {
        fwprintf(stderr, L"bench_radio: cannot write the card\n");
        return 2;
    }
    wprintf(L"GET RESPONSE round trips through RadioLink (%d each, after %d warm-up)\n", count, kWarmUp);
    fflush(stdout);

    RilSetPortForTest(L"sim");
    Report(L"in-process modem", Measure(count));

    ModemServerProcess server(ExeFolder() + L"modem_server.exe", dev.Card(), dev.PortFile(), 30000);
    if (server.PortNumber() == 0) {
        fwprintf(stderr, L"bench_radio: modem_server.exe did not start\n");
        return 2;
    }
    std::wstring port = server.Port();
    RilSetPortForTest(port.c_str());
    Report(L"TCP modem server", Measure(count));
    RilSetPortForTest(nullptr);
    return 0;
}
