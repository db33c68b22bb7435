// A flick on a tall list and what the glide costs: the process's and the
// user-interface thread's CPU time during the first kGlideMs after the
// release, the frames painted, and how far the frames lie from the glide's
// closed form at the moment they are painted (which includes the way from
// the component's step to the paint).
#include "tools/bench_list/bench_timing.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

#include "listwin/list_paint.h"
#include "listwin/list_scroll.h"
#include "listwin/list_state.h"
#include "platform/orvexscroll/scroll_physics.h"

namespace {

constexpr double kGlideMs = 2000;

double CpuMs(const FILETIME& kernel, const FILETIME& user) {
    auto ms = [](const FILETIME& ft) {
        return (static_cast<double>(ft.dwHighDateTime) * 4294967296.0 + ft.dwLowDateTime) / 10000.0;
    };
    return ms(kernel) + ms(user);
}

double ProcessCpuMs() {
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    return CpuMs(kernel, user);
}

double ThreadCpuMs() {
    FILETIME created, exited, kernel, user;
    GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user);
    return CpuMs(kernel, user);
}

void Pen(HWND hwnd, UINT msg, int y) {
    SendMessageW(hwnd, msg, msg == WM_LBUTTONUP ? 0 : MK_LBUTTON, MAKELPARAM(240, static_cast<WORD>(y)));
}

struct Glide {
    double cpuProcess = 0, cpuThread = 0;
    int frames = 0;
    double p95Px = 0;          // 95th percentile of the frames' distance from the closed form
    double medianGap = 0;      // ms between two frames
    bool ranThrough = false;   // still moving when the measurement ended
};

// Dispatches messages until kGlideMs after tRelease, noting each paint of
// the list: its offset against y0 + (rest - y0)(1 - e^(-t/T)).
Glide Follow(HWND hwnd, double tRelease, int y0, int rest, double tau) {
    Glide g;
    std::vector<double> distances, gaps;
    const double cpu0 = ProcessCpuMs(), thread0 = ThreadCpuMs();
    double lastFrame = -1;
    for (;;) {
        double now = BenchNow();
        if (now - tRelease >= kGlideMs) break;
        MSG msg;
        if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(tRelease + kGlideMs - now) + 1,
                                      QS_ALLINPUT);
            continue;
        }
        if (msg.message == WM_PAINT && msg.hwnd == hwnd) {
            ++g.frames;
            double t = now - tRelease;
            double expected = y0 + (rest - y0) * (1.0 - std::exp(-t / tau));
            distances.push_back(std::fabs(g_iCurTop - expected));
            if (lastFrame >= 0) gaps.push_back(now - lastFrame);
            lastFrame = now;
            g.ranThrough = g_iCurTop != rest;
        }
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    g.cpuProcess = ProcessCpuMs() - cpu0;
    g.cpuThread = ThreadCpuMs() - thread0;
    // A frame now and then comes late when the machine is busy: the 95th
    // percentile, not the worst.
    std::sort(distances.begin(), distances.end());
    if (!distances.empty()) g.p95Px = distances[distances.size() * 95 / 100];
    g.medianGap = Median(gaps);
    return g;
}

// Until the list has not painted for 200 ms (5 s at most).
void Settle(HWND hwnd) {
    double quiet = BenchNow(), end = quiet + 5000;
    while (BenchNow() - quiet < 200 && BenchNow() < end) {
        MSG msg;
        if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
            continue;
        }
        if (msg.message == WM_PAINT && msg.hwnd == hwnd) quiet = BenchNow();
        DispatchMessageW(&msg);
    }
}

Glide OneFlick(HWND hwnd) {
    // A rebuild puts the list back at the top and stops any movement.
    g_bBmpReady = FALSE;
    RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    Settle(hwnd);
    // Upwards, faster than the fastest glide: it starts at the top speed.
    int y = 440;
    Pen(hwnd, WM_LBUTTONDOWN, y);
    for (int i = 0; i < 8; ++i) {
        Sleep(4);
        y -= 40;
        Pen(hwnd, WM_MOUSEMOVE, y);
    }
    double tRelease = BenchNow();
    Pen(hwnd, WM_LBUTTONUP, y);
    int y0 = g_iCurTop;
    ScrollInstance* scroll = ActiveScroll();
    int rest = scroll ? static_cast<int>(scroll->QueryState()) : y0;
    Glide g = Follow(hwnd, tRelease, y0, rest, MakeScrollTuning(1).dGlideTime);
    Settle(hwnd);
    return g;
}

}  // namespace

void MeasureGlide(HWND hwnd, int count) {
    std::vector<double> process, thread, frames, distance, gap;
    int ranThrough = 0;
    for (int i = 0; i < count; ++i) {
        Glide g = OneFlick(hwnd);
        process.push_back(g.cpuProcess);
        thread.push_back(g.cpuThread);
        frames.push_back(g.frames);
        distance.push_back(g.p95Px);
        gap.push_back(g.medianGap);
        ranThrough += g.ranThrough;
    }
    wprintf(L"glide, first %.0f ms after a flick (median of %d, %d still moving at the end):\n", kGlideMs, count,
            ranThrough);
    wprintf(L"  CPU: process %7.1f ms = %5.1f %% of one core, UI thread %7.1f ms = %5.1f %%\n", Median(process),
            100 * Median(process) / kGlideMs, Median(thread), 100 * Median(thread) / kGlideMs);
    wprintf(L"  frames %5.0f, median gap between frames %6.2f ms, frames' distance from the closed form (95th percentile) %5.1f px\n",
            Median(frames), Median(gap), Median(distance));
}
