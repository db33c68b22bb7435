// The list's handling of scroll events and paints, for the component tests.
#include "tests/platform/orvexscroll/list_model.h"

#include <map>

namespace {
std::map<HWND, ListModel*>& Models() {
    static std::map<HWND, ListModel*> s_models;
    return s_models;
}
}  // namespace

ListModel::ListModel(ScrollInstance* p, HWND h, int iBmpHeight, int iScreenHeight)
    : pScroll(p), hwnd(h), m_iBmpHeight(iBmpHeight), m_iScreenHeight(iScreenHeight) {
    Models()[hwnd] = this;
    pScroll->Attach(&ListModel::EventProc, hwnd);
    pScroll->Config(m_iBmpHeight, m_iScreenHeight, iCurTop);
}

ListModel::~ListModel() { Models().erase(hwnd); }

int CALLBACK ListModel::EventProc(int nEvent, int /*nReserved*/, int x, int v, HWND hwnd) {
    auto it = Models().find(hwnd);
    if (it == Models().end()) return 1;
    ListModel& m = *it->second;
    switch (nEvent) {
    case SCROLL_EVENT_OFFSET:
        m.iCurTop += v;
        m.bInvalid = true;
        break;
    case SCROLL_EVENT_PROPOSE:
        if (m.iCurTop + v < 0 || m.iCurTop + v > m.MaxRest()) m.Resync();
        break;
    case SCROLL_EVENT_RESYNC:
        m.Resync();
        break;
    default:
        break;
    }
    m.events.push_back({nEvent, x, v, m.iCurTop});
    if (m.onEvent) m.onEvent(nEvent);
    return 1;
}

void ListModel::Rebuild(int iBmpHeight, int iScreenHeight) {
    m_iBmpHeight = iBmpHeight;
    m_iScreenHeight = iScreenHeight;
    iCurTop = 0;
    pScroll->Config(m_iBmpHeight, m_iScreenHeight, iCurTop);
    bInvalid = true;
}

void ListModel::Resync() {
    pScroll->Config(m_iBmpHeight, m_iScreenHeight, iCurTop);
    dwLastState = pScroll->QueryState();
    pScroll->ApplyState(dwLastState);
    bInvalid = true;
    ++nResyncs;
}

void ListModel::Pen(int nSlot, int x, int y) {
    POINT pt{x, y};
    if (nSlot == 1) pScroll->PenDown(&pt);
    if (nSlot == 2) pScroll->PenUp(&pt);
    if (nSlot == 3) pScroll->PenMove(&pt);
}

bool ListModel::PaintStep() {
    pScroll->Step();
    POINT pt{0, iCurTop};
    if (!pScroll->GetNextOffset(&pt)) return false;
    iCurTop = pt.y;
    frames.push_back(pt.y);
    bInvalid = true;
    return true;
}

int ListModel::RunPaints(const std::function<void()>& tick, int maxFrames) {
    int n = 0;
    while (bInvalid && n < maxFrames) {
        bInvalid = false;
        tick();
        PaintStep();
        ++n;
    }
    return n;
}

int ListModel::Count(int nEvent) const {
    int n = 0;
    for (const auto& e : events) n += e.nEvent == nEvent;
    return n;
}
