// The scroll component of the sibling library as the list uses it: which
// library, when each operation is called, and the list's side of the events.
#include "listwin/list_scroll.h"

#include <cstdlib>

#include "core/trace.h"
#include "listwin/list_draw.h"
#include "listwin/list_edit.h"
#include "listwin/list_pacing.h"
#include "listwin/list_select.h"
#include "listwin/list_state.h"
#include "platform/base/kernel.h"

namespace {

PFN_CreateOrvexScrollInstance g_pfnCreate = nullptr;
PFN_DestroyOrvexScrollInstance g_pfnDestroy = nullptr;
PFN_CreateOrvexScrollInstance g_pfnCreate2 = nullptr;
PFN_DestroyOrvexScrollInstance g_pfnDestroy2 = nullptr;

// The component is optional, so nothing is shown for its absence; the trace
// still says why the list does not scroll.
HMODULE LoadScrollLibrary(LPCWSTR path) {
    HMODULE h = CeLoadLibrary(path);
    if (!h) WriteTrace(L"[msg]:SetupScrollComponent(), %s not loaded, error=[%lu].", path, GetLastError());
    return h;
}

// Creates and attaches the component of one library; false leaves the list
// without one.
bool AttachFrom(HMODULE hLib, LPCWSTR path, PFN_CreateOrvexScrollInstance* ppfnCreate,
                PFN_DestroyOrvexScrollInstance* ppfnDestroy, ScrollInstance** ppInstance,
                ScrollEventProc pfnEvent, HWND hwnd) {
    *ppfnCreate = GetProcAs<PFN_CreateOrvexScrollInstance>(hLib, SZ_CREATE_ORVEX_SCROLL);
    *ppfnDestroy = GetProcAs<PFN_DestroyOrvexScrollInstance>(hLib, SZ_DESTROY_ORVEX_SCROLL);
    if (!*ppInstance) {
        if (!*ppfnCreate) {
            WriteTrace(L"[err]:SetupScrollComponent(), %s has no CreateOrvexScrollInstance.", path);
            return false;
        }
        (*ppfnCreate)(ppInstance);
        if (!*ppInstance) {
            WriteTrace(L"[err]:SetupScrollComponent(), %s made no instance.", path);
            return false;
        }
    }
    (*ppInstance)->Attach(pfnEvent, hwnd);
    return true;
}

void Invalidate(HWND hwnd) { InvalidateRect(hwnd, nullptr, FALSE); }

// The last step's answer was a new offset: a movement runs.
bool g_bMoving = false;

// Step, then the next offset; a new one repaints.
void StepScroll(HWND hwnd, ScrollInstance* scroll) {
    NoteScrollFrame(hwnd);
    scroll->Step();
    POINT pt{0, g_iCurTop};
    g_bMoving = scroll->GetNextOffset(&pt) != FALSE;
    if (g_bMoving) {
        g_iCurTop = pt.y;
        Invalidate(hwnd);
    }
}

// Without a component the list reports its own taps and clicks: a press is
// a tap, and a release near the press is a click there. Nothing scrolls.
constexpr int kOwnClickSlop = 8;  // base units
bool g_bOwnPress = false;
POINT g_ptOwnPress = {};

void OwnPenDown(const POINT& pt) {
    g_bOwnPress = true;
    g_ptOwnPress = pt;
    OnTap(pt.x, pt.y);
}

void OwnPenUp(const POINT& pt) {
    if (!g_bOwnPress) return;
    g_bOwnPress = false;
    const int slop = kOwnClickSlop * CurrentScreen().nScale;
    if (labs(pt.x - g_ptOwnPress.x) <= slop && labs(pt.y - g_ptOwnPress.y) <= slop)
        OnClick(g_ptOwnPress.x, g_ptOwnPress.y);
}

// The list's side of an event of either component.
int HandleScrollEvent(int nEvent, int x, int v, HWND hwnd) {
    switch (nEvent) {
    case SCROLL_EVENT_TAP:
        OnTap(x, v);
        break;
    case SCROLL_EVENT_CLICK:
        OnClick(x, v);
        break;
    case SCROLL_EVENT_OFFSET:
        g_iCurTop += v;
        Invalidate(hwnd);
        break;
    case SCROLL_EVENT_PROPOSE: {
        // Inside the resting range the proposal is not applied; outside it
        // the component is brought back in step with the list.
        int proposed = g_iCurTop + v;
        if (proposed >= 0 && proposed <= g_iBmpHeight - g_iScreenHeight) break;
        ResyncScroll(hwnd);
        break;
    }
    case SCROLL_EVENT_RESYNC:
        ResyncScroll(hwnd);
        break;
    default:
        break;
    }
    return 1;
}

void DestroyInstance(ScrollInstance** ppInstance, PFN_DestroyOrvexScrollInstance pfnDestroy) {
    if (!*ppInstance) return;
    if (pfnDestroy) pfnDestroy(*ppInstance);
    *ppInstance = nullptr;
}

void FreeScrollLibrary(HMODULE* phLib) {
    if (*phLib) FreeLibrary(*phLib);
    *phLib = nullptr;
}

}  // namespace

int CALLBACK ScrollEventProc1(int nEvent, int, int x, int v, HWND hwnd) {
    return HandleScrollEvent(nEvent, x, v, hwnd);
}

int CALLBACK ScrollEventProc2(int nEvent, int, int x, int v, HWND hwnd) {
    return HandleScrollEvent(nEvent, x, v, hwnd);
}

void SetupScrollComponent(HWND hwnd) {
    g_hScrollDll = LoadScrollLibrary(SZ_ORVEX_SCROLL_DLL);
    g_hScrollDll2 = LoadScrollLibrary(SZ_ORVEX_SCROLL2_DLL);
    // A first library without a usable component leaves the list without
    // one: the second is not tried then.
    if (g_hScrollDll) {
        g_nScrollKind = 0;
        AttachFrom(g_hScrollDll, SZ_ORVEX_SCROLL_DLL, &g_pfnCreate, &g_pfnDestroy, &g_scroll, ScrollEventProc1,
                   hwnd);
    } else if (g_hScrollDll2) {
        g_nScrollKind = 1;
        AttachFrom(g_hScrollDll2, SZ_ORVEX_SCROLL2_DLL, &g_pfnCreate2, &g_pfnDestroy2, &g_scroll2,
                   ScrollEventProc2, hwnd);
    }
}

void ReleaseScrollComponent() {
    g_bMoving = false;
    DestroyInstance(&g_scroll, g_pfnDestroy);
    DestroyInstance(&g_scroll2, g_pfnDestroy2);
    FreeScrollLibrary(&g_hScrollDll);
    FreeScrollLibrary(&g_hScrollDll2);
    g_pfnCreate = g_pfnCreate2 = nullptr;
    g_pfnDestroy = g_pfnDestroy2 = nullptr;
}

ScrollInstance* ActiveScroll() { return g_nScrollKind == 0 ? g_scroll : g_scroll2; }

void ConfigScrollAfterBuild() {
    ScrollInstance* scroll = ActiveScroll();
    if (!scroll) return;
    WriteTrace(g_nScrollKind == 0
                   ? L"OnItemPaint : g_scroll->Config(g_iBmpHeight = %d , g_iScreenHeight = %d, g_iCurTop = %d)"
                   : L"OnItemPaint : g_scroll2->Config(g_iBmpHeight = %d , g_iScreenHeight = %d, g_iCurTop = %d)",
               g_iBmpHeight, g_iScreenHeight, g_iCurTop);
    scroll->Config(g_iBmpHeight, g_iScreenHeight, g_iCurTop);
}

void StepScrollAfterPaint(HWND hwnd) {
    ScrollInstance* scroll = ActiveScroll();
    if (!scroll) return;
    // A running movement steps once per display refresh, not at every
    // paint the queue would allow; a wait cut short resumes on the timer.
    if (g_bMoving && !WaitForScrollFrame(hwnd)) return;
    StepScroll(hwnd, scroll);
}

void StepScrollOnTimer(HWND hwnd) {
    ScrollInstance* scroll = ActiveScroll();
    if (!scroll) {
        NoteScrollFrame(hwnd);
        g_bMoving = false;
        return;
    }
    StepScroll(hwnd, scroll);
    PlaceEditControls();
}

void ResyncScroll(HWND hwnd) {
    ScrollInstance* scroll = ActiveScroll();
    if (!scroll) return;
    scroll->Config(g_iBmpHeight, g_iScreenHeight, g_iCurTop);
    scroll->ApplyState(scroll->QueryState());
    Invalidate(hwnd);
}

void ScrollPenDown(const POINT& pt) {
    if (ScrollInstance* scroll = ActiveScroll())
        scroll->PenDown(&pt);
    else
        OwnPenDown(pt);
}

void ScrollPenUp(const POINT& pt) {
    if (ScrollInstance* scroll = ActiveScroll())
        scroll->PenUp(&pt);
    else
        OwnPenUp(pt);
}

void ScrollPenMove(const POINT& pt) {
    if (ScrollInstance* scroll = ActiveScroll()) scroll->PenMove(&pt);
}

void ScrollGesture(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (g_scroll2) g_scroll2->Gesture(hwnd, msg, wParam, lParam);
}
