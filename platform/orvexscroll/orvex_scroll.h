// The scroll instance: turns pen positions into taps, clicks and drag
// offsets, and runs glides and springs one list paint at a time.
#pragma once
#include "platform/orvexscroll/pen_track.h"
#include "platform/orvexscroll/scroll_component.h"
#include "platform/orvexscroll/scroll_contract.h"
#include "platform/orvexscroll/scroll_physics.h"

class OrvexScroll final : public ScrollInstance {
public:
    explicit OrvexScroll(const ScrollOptions& opt);
    ~OrvexScroll() = default;
    OrvexScroll(const OrvexScroll&) = delete;
    OrvexScroll& operator=(const OrvexScroll&) = delete;

    void Attach(ScrollEventProc pfnEvent, HWND hwnd) override;
    void PenDown(const POINT* ppt) override;
    void PenUp(const POINT* ppt) override;
    void PenMove(const POINT* ppt) override;
    void Config(int iContentHeight, int iViewHeight, int iOffset) override;
    void ApplyState(DWORD dwState) override;
    BOOL GetNextOffset(POINT* ppt) override;
    DWORD QueryState() override;
    void Step() override;
    void Reserved9() override {}
    void Reserved10() override {}
    void Gesture(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam) override;

    // Release asked for from inside one of our events: done once it returns.
    bool InEvent() const { return m_nEventDepth > 0; }
    void ReleaseAfterEvent() { m_bReleasePending = true; }

private:
    enum class Pen { Up, Pressed, Dragging };

    // Sends an event; false when the instance was released meanwhile, after
    // which the caller must return at once.
    bool Fire(int nEvent, int x, int v);
    bool DragTo(int x, int y);
    // The pen has let go (or a gesture flicked): glide, spring back or stay.
    void Release(int x, double dSpeed, double tNow);
    void Trace(LPCWSTR fmt, ...) const;

    double Now() const { return m_pfnClock ? m_pfnClock() : ScrollClockNow(); }
    int MaxRest() const { return m_iContent > m_iView ? m_iContent - m_iView : 0; }
    bool Scrollable() const { return m_iContent > m_iView; }
    bool OutOfRange(int iOffset) const { return iOffset < 0 || iOffset > MaxRest(); }
    int Slop() const;
    bool Moving() const { return m_motion.Running() || m_bLastFrame; }
    // Where the current motion is shown, kept within the pull limit.
    int MotionOffset() const;
    void StartMotionBand();

    const int m_nVersion;
    const ScrollClock m_pfnClock;
    const double m_dFixedScale;
    ScrollTuning m_tu;

    ScrollEventProc m_pfnEvent = nullptr;
    HWND m_hwnd = nullptr;
    int m_iContent = 0, m_iView = 0;
    int m_iOffset = 0;  // the list's offset, as last reported or configured

    Pen m_pen = Pen::Up;
    bool m_bCaught = false;  // the press stopped a motion: neither tap nor click
    PenTrack m_track;
    int m_iAnchorY = 0;        // pen y at which the drag took hold
    double m_dAnchorRaw = 0;   // raw offset there

    ScrollMotion m_motion;
    bool m_bLastFrame = false;  // the motion ended at the last Step; its end is still to report
    int m_iBandLo = 0, m_iBandHi = 0;

    int m_nEventDepth = 0;
    bool m_bReleasePending = false;
    bool m_bResynced = false;  // ApplyState arrived since the flag was cleared
};
