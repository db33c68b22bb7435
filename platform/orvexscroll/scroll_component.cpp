// Instances of this module: made, counted and released here, so a pointer
// handed back twice, or one this module never made, is refused and traced
// instead of being freed.
#include "platform/orvexscroll/scroll_component.h"

#include <algorithm>
#include <new>
#include <vector>

#include "platform/base/clock.h"
#include "platform/base/debug_out.h"
#include "platform/orvexscroll/orvex_scroll.h"

namespace {

std::vector<OrvexScroll*>& LiveInstances() {
    static std::vector<OrvexScroll*> s_live;
    return s_live;
}

}  // namespace

double ScrollClockNow() { return MonotonicMs(); }

ScrollInstance* CreateScrollComponent(const ScrollOptions& opt) {
    OrvexScroll* p = new (std::nothrow) OrvexScroll(opt);
    if (!p) return nullptr;
    try {
        LiveInstances().push_back(p);
    } catch (...) {
        delete p;
        return nullptr;
    }
    return p;
}

BOOL DestroyScrollComponent(ScrollInstance* pInstance) {
    if (!pInstance) return FALSE;
    auto& live = LiveInstances();
    auto it = std::find(live.begin(), live.end(), pInstance);
    if (it == live.end()) {
        NKDbgPrintfW(L"[OrvexScroll] [err]:DestroyOrvexScrollInstance(), instance=[0x%p] unknown or released, ignored.\r\n",
                     static_cast<void*>(pInstance));
        return FALSE;
    }
    OrvexScroll* p = *it;
    live.erase(it);
    if (p->InEvent())
        p->ReleaseAfterEvent();
    else
        delete p;
    return TRUE;
}

int ScrollComponentCount() { return static_cast<int>(LiveInstances().size()); }
