// The list's side of the scroll binding, as the list window drives a
// component: events handled as the list handles them, re-synchronisation,
// and the per-paint Step / GetNextOffset loop. Works with any instance, from
// a library or linked in.
#pragma once
#include <windows.h>

#include <functional>
#include <vector>

#include "platform/orvexscroll/scroll_contract.h"

struct ScrollEventRecord {
    int nEvent, x, v;
    int iCurTopAfter;
};

class ListModel {
public:
    ListModel(ScrollInstance* pScroll, HWND hwnd, int iBmpHeight, int iScreenHeight);
    ~ListModel();
    ListModel(const ListModel&) = delete;
    ListModel& operator=(const ListModel&) = delete;

    // The list's event procedure: finds the model by window.
    static int CALLBACK EventProc(int nEvent, int nReserved, int x, int v, HWND hwnd);

    // As after a rebuild of the list image: offset 0 and Config.
    void Rebuild(int iBmpHeight, int iScreenHeight);
    void Resync();
    void Down(int x, int y) { Pen(1, x, y); }
    void Move(int x, int y) { Pen(3, x, y); }
    void Up(int x, int y) { Pen(2, x, y); }
    // One paint's scroll step; true when it changed the offset (or asked to repaint).
    bool PaintStep();
    // Paints while the window is invalid, calling tick before each paint, at most maxFrames.
    int RunPaints(const std::function<void()>& tick, int maxFrames);

    int Count(int nEvent) const;
    int MaxRest() const { return m_iBmpHeight - m_iScreenHeight; }

    ScrollInstance* pScroll;
    HWND hwnd;
    int iCurTop = 0;
    bool bInvalid = false;
    int nResyncs = 0;
    DWORD dwLastState = 0;
    std::vector<ScrollEventRecord> events;
    std::vector<int> frames;  // offsets the paint loop received
    // Runs after an event has been handled, e.g. to destroy the instance.
    std::function<void(int nEvent)> onEvent;

private:
    void Pen(int nSlot, int x, int y);
    int m_iBmpHeight, m_iScreenHeight;
};
