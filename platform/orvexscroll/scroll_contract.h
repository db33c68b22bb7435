// The scroll component's interface as the list drives it: the instance's
// operations in slot order, the event procedure, the event codes and the
// library exports. Only plain values, pointers and this interface cross the
// library boundary; no exception ever leaves a call.
#pragma once
#include <windows.h>

// Where the device keeps the two versions of the component.
#define SZ_ORVEX_SCROLL_DLL L"\\windows\\OrvexScroll.dll"
#define SZ_ORVEX_SCROLL2_DLL L"\\windows\\OrvexScroll2.dll"
#define SZ_CREATE_ORVEX_SCROLL "CreateOrvexScrollInstance"
#define SZ_DESTROY_ORVEX_SCROLL "DestroyOrvexScrollInstance"

// Event codes of ScrollEventProc.
enum {
    SCROLL_EVENT_TAP = 0,      // v: pen y; the pen touched the list at rest
    SCROLL_EVENT_CLICK = 1,    // v: pen y; the press ended where it began
    SCROLL_EVENT_OFFSET = 2,   // v: amount to add to the offset (+ moves the content up)
    SCROLL_EVENT_PROPOSE = 3,  // v: amount the component proposes to add; re-synchronise if it leaves the range
    SCROLL_EVENT_RESYNC = 4,   // v: unused; re-synchronise now
};

// Called on the user-interface thread from inside a pen call, a paint-time
// call or Gesture. x and v are in list-window coordinates; hwnd is the window
// given to Attach; nReserved carries nothing. Returns 1.
typedef int(CALLBACK* ScrollEventProc)(int nEvent, int nReserved, int x, int v, HWND hwnd);

// The component instance. Slot order is fixed: the device's libraries are
// called through these slots. There is no destructor slot; an instance is
// released only through its library's DestroyOrvexScrollInstance.
struct ScrollInstance {
    // 0: events go to pfnEvent with hwnd; the window's resolution sets the
    // component's pixel thresholds.
    virtual void Attach(ScrollEventProc pfnEvent, HWND hwnd) = 0;
    // 1-3: pen positions in list-window coordinates, as the messages brought
    // them. Taps, clicks and drag offsets are reported before the call returns.
    virtual void PenDown(const POINT* ppt) = 0;
    virtual void PenUp(const POINT* ppt) = 0;
    virtual void PenMove(const POINT* ppt) = 0;
    // 4: content (list image) height, view height and the list's offset. The
    // resting range is 0 .. content - view; the list's offset is taken as the truth.
    virtual void Config(int iContentHeight, int iViewHeight, int iOffset) = 0;
    // 5: hands back what QueryState returned, after a Config; brings the
    // offset back into the resting range where it is outside.
    virtual void ApplyState(DWORD dwState) = 0;
    // 6: ppt->y holds the list's offset; non-zero when ppt->y now holds the
    // next offset. Answers 0 only when no movement runs.
    virtual BOOL GetNextOffset(POINT* ppt) = 0;
    // 7: an opaque value for ApplyState.
    virtual DWORD QueryState() = 0;
    // 8: advances a running movement to the present; called after each paint.
    virtual void Step() = 0;
    // 9, 10: never called by the list.
    virtual void Reserved9() = 0;
    virtual void Reserved10() = 0;
    // 11: WM_GESTURE as the window received it; only the second version acts on it.
    virtual void Gesture(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam) = 0;

protected:
    ~ScrollInstance() = default;
};

// Library exports. Create fills *ppInstance (null on failure); Destroy
// releases an instance of the same library. Results are TRUE on success and
// not needed by the list.
typedef BOOL (*PFN_CreateOrvexScrollInstance)(ScrollInstance** ppInstance);
typedef BOOL (*PFN_DestroyOrvexScrollInstance)(ScrollInstance* pInstance);
