// bench_startup: starts the floor (bench_floor.exe, a bare full-screen window)
// and the settings program alternately, floor then program, on the device and
// desktop it runs on, and times each from process creation to its first idle:
// the moment its GUI thread first waits for a message with nothing left to
// handle (WaitForInputIdle). Wine's server calls a thread idle only when it
// has no sent, posted, input or paint message for it, so the windows are
// painted by then. The bench then checks that the process shows its window
// (QXCFMainClass, the floor's class; any window for a program given by
// name), reads its private memory (Wine's PagefileUsage: RssAnon plus VmSwap
// of the process), closes the window and waits for the end. It prints both
// medians, the median of the paired ratios, the program's trace pairs (read
// from its standard error) and where its time went by their tick counts.
//
//   bench_startup [COUNT] [--floor EXE] [--program EXE] [--before EXE]
//                 [--warm-up N] [--settle MS] [--each] [--traces DIR]
//
// --before: a third program, an earlier build of the settings program,
// started between the floor and the program in every round, so "before" and
// "after" are measured side by side; its rows and paired ratios are printed
// as well.
// COUNT pairs (default 15) after N warm-up pairs (default 2); MS: the pause
// after each end (default 200); --each prints every pair; --traces keeps each
// start's standard error in DIR. The programs default to
// C:\windows\bench_floor.exe and C:\windows\QXPhoneVMSetting.exe.
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <string>
#include <vector>

#include "platform/base/clock.h"
#include "tools/bench_startup/trace_ticks.h"

namespace {

constexpr DWORD kIdleTimeoutMs = 30000;
constexpr DWORD kEndTimeoutMs = 10000;
// A pause after each end, so the last process's teardown is not the next one's start.
DWORD g_settleMs = 200;


struct Start {
    bool bOk = false;
    LPCWSTR failure = L"";
    double ms = 0;          // creation -> first idle
    double privateMiB = 0;  // at idle
    DWORD tickCreated = 0, tickIdle = 0;
    std::string trace;      // the process's standard error
};

double Median(std::vector<double> v) {
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

// A program to start and the class of the window it shows when it is up
// (empty: any visible top-level window without an owner).
struct Candidate {
    std::wstring exe;
    std::wstring windowClass;
};

struct FindWindowOf {
    DWORD pid;
    const std::wstring* cls;
    HWND hwnd;
};

BOOL CALLBACK MatchWindow(HWND hwnd, LPARAM lParam) {
    auto* f = reinterpret_cast<FindWindowOf*>(lParam);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    wchar_t cls[64] = L"";
    GetClassNameW(hwnd, cls, 64);
    if (pid == f->pid && IsWindowVisible(hwnd) && !GetWindow(hwnd, GW_OWNER) &&
        (f->cls->empty() || *f->cls == cls)) {
        f->hwnd = hwnd;
        return FALSE;
    }
    return TRUE;
}

HWND VisibleWindowOf(DWORD pid, const std::wstring& cls) {
    FindWindowOf f{pid, &cls, nullptr};
    EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&f));
    return f.hwnd;
}

std::string ReadWhole(HANDLE h) {
    std::string s;
    SetFilePointer(h, 0, nullptr, FILE_BEGIN);
    char buf[16384];
    DWORD n = 0;
    while (ReadFile(h, buf, sizeof buf, &n, nullptr) && n) s.append(buf, n);
    return s;
}

// One start: creation, first idle, its window, its memory, its end.
Start Run(const Candidate& c) {
    Start r;
    SECURITY_ATTRIBUTES sa = {sizeof sa, nullptr, TRUE};
    wchar_t tmp[MAX_PATH], file[MAX_PATH];
    GetTempPathW(MAX_PATH, tmp);
    GetTempFileNameW(tmp, L"qxs", 0, file);
    HANDLE hErr = CreateFileW(file, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &sa,
                              CREATE_ALWAYS, FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    HANDLE hNul = CreateFileW(L"NUL", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &sa,
                              OPEN_EXISTING, 0, nullptr);
    STARTUPINFOW si = {};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdInput = si.hStdOutput = hNul;
    si.hStdError = hErr;
    PROCESS_INFORMATION pi = {};
    std::wstring cmd = L"\"" + c.exe + L"\"";

    r.tickCreated = GetTickCount();
    double t0 = MonotonicMs();
    if (!CreateProcessW(c.exe.c_str(), cmd.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi)) {
        r.failure = L"CreateProcess failed";
    } else {
        DWORD w = WaitForInputIdle(pi.hProcess, kIdleTimeoutMs);
        double t1 = MonotonicMs();
        r.tickIdle = GetTickCount();
        r.ms = t1 - t0;
        HWND hwnd = w == 0 ? VisibleWindowOf(pi.dwProcessId, c.windowClass) : nullptr;
        PROCESS_MEMORY_COUNTERS pmc = {};
        pmc.cb = sizeof pmc;
        if (w != 0) {
            r.failure = w == WAIT_TIMEOUT ? L"no idle within 30 s" : L"WaitForInputIdle failed";
        } else if (!hwnd) {
            r.failure = L"idle, but its window is not shown";
        } else if (!GetProcessMemoryInfo(pi.hProcess, &pmc, sizeof pmc)) {
            r.failure = L"GetProcessMemoryInfo failed";
        } else {
            // Wine reads it from /proc: RssAnon plus VmSwap, the process's own pages.
            r.privateMiB = static_cast<double>(pmc.PagefileUsage) / (1024.0 * 1024.0);
            r.bOk = true;
        }
        if (hwnd) PostMessageW(hwnd, WM_CLOSE, 0, 0);
        if (WaitForSingleObject(pi.hProcess, kEndTimeoutMs) != WAIT_OBJECT_0) {
            TerminateProcess(pi.hProcess, 1);
            WaitForSingleObject(pi.hProcess, kEndTimeoutMs);
            if (r.bOk) r.failure = L"did not end on WM_CLOSE";
            r.bOk = false;
        }
        CloseHandle(pi.hThread);
        CloseHandle(pi.hProcess);
    }
    r.trace = ReadWhole(hErr);
    CloseHandle(hNul);
    CloseHandle(hErr);
    Sleep(g_settleMs);
    return r;
}

void SaveText(const std::wstring& path, const std::string& text) {
    HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return;
    DWORD n = 0;
    WriteFile(h, text.data(), static_cast<DWORD>(text.size()), &n, nullptr);
    CloseHandle(h);
}

std::wstring GraphicsDriver() {
    wchar_t v[32] = L"(default)";
    DWORD cb = sizeof v;
    RegGetValueW(HKEY_CURRENT_USER, L"Software\\Wine\\Drivers", L"Graphics", RRF_RT_REG_SZ, nullptr, v, &cb);
    return v;
}

// What the good pairs measured.
struct Results {
    std::vector<double> floorMs, progMs, ratioMs, floorMiB, progMiB, ratioMiB;
    std::vector<double> pairSum, beforeSteps, steps, afterSteps;
    std::vector<double> labelMs[kTraceLabelCount];
    int nFailed = 0;

    void Add(const Start& a, const Start& b) {
        floorMs.push_back(a.ms);
        progMs.push_back(b.ms);
        ratioMs.push_back(b.ms / a.ms);
        floorMiB.push_back(a.privateMiB);
        progMiB.push_back(b.privateMiB);
        ratioMiB.push_back(b.privateMiB / a.privateMiB);
        TraceTicks t = ParseTraceTicks(b.trace);
        if (!t.bComplete) return;
        pairSum.push_back(t.nSum);
        for (int k = 0; k < kTraceLabelCount; ++k) labelMs[k].push_back(t.ms[k]);
        // The tick counts of both processes come from one clock.
        beforeSteps.push_back(static_cast<int>(t.tickFirst - b.tickCreated));
        steps.push_back(static_cast<int>(t.tickLast - t.tickFirst));
        afterSteps.push_back(static_cast<int>(b.tickIdle - t.tickLast));
    }

    void Print() const {
        auto row = [](LPCWSTR what, const std::vector<double>& a, const std::vector<double>& b,
                      const std::vector<double>& ratios, LPCWSTR unit) {
            wprintf(L"  %-34ls %9.1f %-3ls %9.1f %-3ls %6.2f\n", what, Median(a), unit, Median(b), unit,
                    Median(ratios));
        };
        wprintf(L"\n  %-34ls %13ls %13ls %6ls\n", L"medians of the good pairs", L"floor", L"program", L"ratio");
        row(L"creation -> first idle, painted", floorMs, progMs, ratioMs, L"ms");
        row(L"private memory at idle", floorMiB, progMiB, ratioMiB, L"MiB");
        auto [minA, maxA] = std::minmax_element(floorMs.begin(), floorMs.end());
        auto [minB, maxB] = std::minmax_element(progMs.begin(), progMs.end());
        wprintf(L"  %-34ls %5.0f-%-7.0f %5.0f-%-7.0f\n", L"  range, ms", *minA, *maxA, *minB, *maxB);
        wprintf(L"  (ratio: the median of each pair's program/floor; %zu good pairs, %d failed starts)\n\n",
                floorMs.size(), nFailed);
        if (pairSum.empty()) {
            wprintf(L"  the program's trace has no complete set of top-level pairs\n");
            return;
        }
        wprintf(L"  program's trace pairs, ms (medians of %zu starts):\n", pairSum.size());
        for (int k = 0; k < kTraceLabelCount; ++k)
            wprintf(L"    %-20ls %6.1f%ls\n", kTraceLabels[k].label, Median(labelMs[k]),
                    kTraceLabels[k].bTopLevel ? L"" : L"   (inside CreateMainWindow)");
        wprintf(L"    %-20ls %6.1f   (sum of the five top-level pairs)\n", L"sum", Median(pairSum));
        wprintf(L"  program's time line by tick count, ms (medians):\n"
                L"    creation -> first pair opens      %6.1f   (loader, runtime, COM, imaging factory)\n"
                L"    first pair opens -> last closes   %6.1f\n"
                L"    last pair closes -> first idle    %6.1f   (showing and painting the windows)\n",
                Median(beforeSteps), Median(steps), Median(afterSteps));
    }
};

// The earlier build against the same rounds' floor and program.
struct BeforeResults {
    std::vector<double> ms, miB, ratioFloor, ratioAfter;

    void Add(const Start& floor, const Start& before, const Start& after) {
        ms.push_back(before.ms);
        miB.push_back(before.privateMiB);
        ratioFloor.push_back(before.ms / floor.ms);
        ratioAfter.push_back(after.ms / before.ms);
    }

    void Print() const {
        if (ms.empty()) return;
        wprintf(L"  before (the earlier build), %zu good rounds:\n"
                L"    creation -> first idle, painted  %9.1f ms   before/floor %5.2f   program/before %5.2f\n"
                L"    private memory at idle           %9.1f MiB\n\n",
                ms.size(), Median(ms), Median(ratioFloor), Median(ratioAfter), Median(miB));
    }
};

int Usage() {
    fwprintf(stderr, L"usage: bench_startup [COUNT] [--floor EXE] [--program EXE] [--before EXE] [--warm-up N]"
                     L" [--settle MS] [--each] [--traces DIR]\n");
    return 2;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    int count = 15, warmUp = 2;
    bool bEach = false;
    std::wstring traces;
    Candidate floor{L"C:\\windows\\bench_floor.exe", L"QXBenchFloorClass"};
    Candidate program{L"C:\\windows\\QXPhoneVMSetting.exe", L"QXCFMainClass"};
    Candidate before{L"", L"QXCFMainClass"};
    for (int i = 1; i < argc; ++i) {
        std::wstring a = argv[i];
        bool bValue = i + 1 < argc;
        if (a == L"--floor" && bValue) floor = {argv[++i], L""};
        else if (a == L"--program" && bValue) program = {argv[++i], L""};
        else if (a == L"--before" && bValue) before = {argv[++i], L""};
        else if (a == L"--warm-up" && bValue) warmUp = _wtoi(argv[++i]);
        else if (a == L"--settle" && bValue) g_settleMs = static_cast<DWORD>(_wtoi(argv[++i]));
        else if (a == L"--traces" && bValue) traces = argv[++i];
        else if (a == L"--each") bEach = true;
        else if (iswdigit(a[0])) count = _wtoi(a.c_str());
        else return Usage();
    }
    if (count < 1 || warmUp < 0) return Usage();

    wprintf(L"bench_startup: %d pairs after %d warm-up pairs, floor then program; graphics driver %ls, "
            L"screen %dx%d\n  floor   %ls\n  program %ls\n",
            count, warmUp, GraphicsDriver().c_str(), GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN),
            floor.exe.c_str(), program.exe.c_str());
    fflush(stdout);

    Results results;
    BeforeResults beforeResults;
    for (int i = -warmUp; i < count; ++i) {
        std::wstring name = i < 0 ? L"w" + std::to_wstring(i + warmUp + 1) : std::to_wstring(i + 1);
        Start a = Run(floor);
        Start z;
        if (!before.exe.empty()) {
            z = Run(before);
            if (!z.bOk) wprintf(L"  start %ls of the earlier build failed: %ls\n", name.c_str(), z.failure);
        }
        Start b = Run(program);
        for (const Start* s : {&a, &b}) {
            if (s->bOk) continue;
            ++results.nFailed;
            wprintf(L"  start %ls of the %ls failed: %ls\n", name.c_str(), s == &a ? L"floor" : L"program",
                    s->failure);
        }
        if (!traces.empty()) {
            SaveText(traces + L"\\floor-" + name + L".txt", a.trace);
            SaveText(traces + L"\\program-" + name + L".txt", b.trace);
            if (!before.exe.empty()) SaveText(traces + L"\\before-" + name + L".txt", z.trace);
        }
        if (bEach)
            wprintf(L"  %3ls  floor %7.1f ms %5.1f MiB   program %7.1f ms %5.1f MiB   pairs %d ms\n", name.c_str(),
                    a.ms, a.privateMiB, b.ms, b.privateMiB, ParseTraceTicks(b.trace).nSum);
        fflush(stdout);
        if (i >= 0 && a.bOk && b.bOk) results.Add(a, b);
        if (i >= 0 && a.bOk && b.bOk && z.bOk) beforeResults.Add(a, z, b);
    }
    if (results.floorMs.empty()) {
        wprintf(L"no good pair\n");
        return 1;
    }
    results.Print();
    beforeResults.Print();
    return results.nFailed ? 1 : 0;
}
