// A scroll component for the list's tests: installed as either library, it
// records every call it receives, answers GetNextOffset and QueryState as
// told, and sends the events a test asks for.
#include <windows.h>

#include <cstdarg>
#include <cwchar>

#include "platform/orvexscroll/scroll_contract.h"

namespace {

wchar_t g_log[16384];
size_t g_logLen = 0;
ScrollEventProc g_pfnEvent = nullptr;
HWND g_hwnd = nullptr;
int g_nNextAnswers = 0;  // GetNextOffset answers left that move the offset
int g_iNextY = 0;
int g_iNextStep = 0;
DWORD g_dwState = 77;
double g_stepTimes[256];  // performance-counter ms of each Step
int g_nSteps = 0;

double NowMs() {
    LARGE_INTEGER f, c;
    QueryPerformanceFrequency(&f);
    QueryPerformanceCounter(&c);
    return c.QuadPart * 1000.0 / f.QuadPart;
}

void Log(const wchar_t* fmt, ...) {
    va_list args;
    va_start(args, fmt);
    size_t room = sizeof(g_log) / sizeof(g_log[0]) - g_logLen;
    int n = _vsnwprintf(g_log + g_logLen, room - 1, fmt, args);
    va_end(args);
    if (n > 0 && static_cast<size_t>(n) < room - 1) g_logLen += n;
    g_log[g_logLen] = L'\0';
}

class FakeScroll final : public ScrollInstance {
public:
    void Attach(ScrollEventProc pfnEvent, HWND hwnd) override {
        g_pfnEvent = pfnEvent;
        g_hwnd = hwnd;
        Log(L"Attach;");
    }
    void PenDown(const POINT* p) override { Log(L"Down(%ld,%ld);", p->x, p->y); }
    void PenUp(const POINT* p) override { Log(L"Up(%ld,%ld);", p->x, p->y); }
    void PenMove(const POINT* p) override { Log(L"Move(%ld,%ld);", p->x, p->y); }
    void Config(int content, int view, int offset) override { Log(L"Config(%d,%d,%d);", content, view, offset); }
    void ApplyState(DWORD state) override { Log(L"Apply(%lu);", state); }
    BOOL GetNextOffset(POINT* p) override {
        Log(L"Next(%ld);", p->y);
        if (g_nNextAnswers <= 0) return FALSE;
        --g_nNextAnswers;
        p->y = g_iNextY;
        g_iNextY += g_iNextStep;
        return TRUE;
    }
    DWORD QueryState() override {
        Log(L"Query;");
        return g_dwState;
    }
    void Step() override {
        Log(L"Step;");
        if (g_nSteps < 256) g_stepTimes[g_nSteps++] = NowMs();
    }
    void Reserved9() override { Log(L"Slot9;"); }
    void Reserved10() override { Log(L"Slot10;"); }
    void Gesture(HWND, UINT msg, WPARAM wParam, LPARAM) override {
        Log(L"Gesture(0x%x,%u);", msg, static_cast<unsigned>(wParam));
    }
};

}  // namespace

extern "C" __declspec(dllexport) BOOL CreateOrvexScrollInstance(ScrollInstance** ppInstance) {
    Log(L"Create;");
    *ppInstance = new FakeScroll;
    return TRUE;
}

extern "C" __declspec(dllexport) BOOL DestroyOrvexScrollInstance(ScrollInstance* pInstance) {
    Log(L"Destroy;");
    delete static_cast<FakeScroll*>(pInstance);
    g_pfnEvent = nullptr;
    return TRUE;
}

// Sends an event to the attached list; -1 when nothing is attached.
extern "C" __declspec(dllexport) int FakeScrollFire(int nEvent, int x, int v) {
    return g_pfnEvent ? g_pfnEvent(nEvent, 0, x, v, g_hwnd) : -1;
}

// Copies the calls recorded so far and forgets them.
extern "C" __declspec(dllexport) void FakeScrollTakeLog(wchar_t* buf, int cch) {
    lstrcpynW(buf, g_log, cch);
    g_logLen = 0;
    g_log[0] = L'\0';
}

// The next count GetNextOffset calls answer y, y + step, ...
extern "C" __declspec(dllexport) void FakeScrollAnswerNext(int count, int y, int step) {
    g_nNextAnswers = count;
    g_iNextY = y;
    g_iNextStep = step;
}

extern "C" __declspec(dllexport) void FakeScrollSetState(DWORD state) { g_dwState = state; }

// Copies the times of the Steps so far (at most max) and forgets them; their count.
extern "C" __declspec(dllexport) int FakeScrollTakeStepTimes(double* times, int max) {
    int n = g_nSteps < max ? g_nSteps : max;
    for (int i = 0; i < n; ++i) times[i] = g_stepTimes[i];
    g_nSteps = 0;
    return n;
}
