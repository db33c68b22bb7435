// Pen handling, paint-time stepping, re-synchronisation and gestures of one
// scroll instance. Everything runs on the list's user-interface thread; the
// list may call back into us (Config, QueryState, ApplyState) from inside
// any event we send, so state is settled before each event goes out.
#include "platform/orvexscroll/orvex_scroll.h"

#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <cstdlib>
#include <cwchar>

#include "platform/base/debug_out.h"
#include "platform/base/scoped.h"
#include "platform/orvexscroll/gesture_info.h"

namespace {
constexpr double kBaseDpi = 96.0;
}  // namespace

OrvexScroll::OrvexScroll(const ScrollOptions& opt)
    : m_nVersion(opt.nVersion),
      m_pfnClock(opt.pfnClock),
      m_dFixedScale(opt.dScale),
      m_tu(MakeScrollTuning(opt.dScale > 0 ? opt.dScale : 1.0)) {}

void OrvexScroll::Trace(LPCWSTR fmt, ...) const {
    wchar_t buf[512];
    va_list args;
    va_start(args, fmt);
    int n = _vsnwprintf(buf, 512, fmt, args);
    va_end(args);
    if (n < 0 || n >= 512) buf[511] = L'\0';
    NKDbgPrintfW(L"[%s] %s\r\n", m_nVersion >= 2 ? L"OrvexScroll2" : L"OrvexScroll", buf);
}

bool OrvexScroll::Fire(int nEvent, int x, int v) {
    if (m_bReleasePending) return false;
    if (!m_pfnEvent) return true;
    ++m_nEventDepth;
    m_pfnEvent(nEvent, 0, x, v, m_hwnd);
    --m_nEventDepth;
    if (!m_bReleasePending) return true;
    if (m_nEventDepth == 0) delete this;
    return false;
}

int OrvexScroll::Slop() const { return static_cast<int>(std::lround(m_tu.dTouchSlop)); }

int OrvexScroll::MotionOffset() const {
    int i = static_cast<int>(std::lround(m_motion.Position()));
    return std::min(std::max(i, m_iBandLo), m_iBandHi);
}

void OrvexScroll::StartMotionBand() {
    // A motion stays within the pull limit, or between where the list put
    // the offset and the resting range when that was further out.
    int iPull = static_cast<int>(std::ceil(m_tu.dPullLimit));
    m_iBandLo = std::min(-iPull, m_iOffset);
    m_iBandHi = std::max(MaxRest() + iPull, m_iOffset);
}

void OrvexScroll::Attach(ScrollEventProc pfnEvent, HWND hwnd) {
    m_pfnEvent = pfnEvent;
    m_hwnd = hwnd;
    if (m_dFixedScale > 0) return;
    // Thresholds are pixels of a 96 dpi screen, grown with the window's resolution.
    int iDpi = 0;
    scoped::WindowDC window(hwnd);
    if (window.get()) iDpi = GetDeviceCaps(window.get(), LOGPIXELSY);
    m_tu = MakeScrollTuning(iDpi > 0 ? iDpi / kBaseDpi : 1.0);
}

void OrvexScroll::PenDown(const POINT* ppt) {
    if (!ppt) {
        Trace(L"[err]:PenDown(), ppt=[null], ignored.");
        return;
    }
    double t = Now();
    // A press on a moving or pulled list only holds it still.
    m_bCaught = Moving() || OutOfRange(m_iOffset);
    m_motion.Stop();
    m_bLastFrame = false;
    m_track.Down(ppt->x, ppt->y, t);
    m_pen = Pen::Pressed;
    if (!m_bCaught) Fire(SCROLL_EVENT_TAP, ppt->x, ppt->y);
}

void OrvexScroll::PenMove(const POINT* ppt) {
    if (!ppt) {
        Trace(L"[err]:PenMove(), ppt=[null], ignored.");
        return;
    }
    // The pen hovering, or a mouse without a button down.
    if (m_pen == Pen::Up) return;
    m_track.Move(ppt->x, ppt->y, Now());
    if (m_pen == Pen::Pressed) {
        int dy = ppt->y - m_track.DownY();
        if (std::abs(dy) <= Slop() || !Scrollable()) return;
        // Take hold at the edge of the slop, so the content does not jump.
        m_pen = Pen::Dragging;
        m_iAnchorY = m_track.DownY() + (dy > 0 ? Slop() : -Slop());
        m_dAnchorRaw = RubberBandRaw(m_iOffset, MaxRest(), m_tu.dPullLimit);
    }
    DragTo(ppt->x, ppt->y);
}

bool OrvexScroll::DragTo(int x, int y) {
    if (!Scrollable()) return true;
    double dRaw = m_dAnchorRaw + (m_iAnchorY - y);
    int iNew = static_cast<int>(std::lround(RubberBand(dRaw, MaxRest(), m_tu.dPullLimit)));
    int v = iNew - m_iOffset;
    if (v == 0) return true;
    m_iOffset = iNew;
    return Fire(SCROLL_EVENT_OFFSET, x, v);
}

void OrvexScroll::PenUp(const POINT* ppt) {
    if (m_pen == Pen::Up) return;
    POINT pt{m_track.LastX(), m_track.LastY()};
    if (ppt) {
        pt = *ppt;
    } else {
        // The press must still end, or the list would stay held.
        Trace(L"[err]:PenUp(), ppt=[null], taken as the last pen position.");
    }
    double t = Now();
    m_track.Move(pt.x, pt.y, t);
    Pen was = m_pen;
    m_pen = Pen::Up;
    if (was == Pen::Dragging) {
        if (!DragTo(pt.x, pt.y)) return;
        Release(pt.x, m_track.Speed(t, m_tu.dSpeedWindow), t);
        return;
    }
    bool bClick = !m_bCaught && m_track.Wander() <= Slop() && t - m_track.DownTime() <= m_tu.dClickTime;
    if (bClick && !Fire(SCROLL_EVENT_CLICK, m_track.DownX(), m_track.DownY())) return;
    if (m_bCaught) Release(pt.x, 0, t);
}

void OrvexScroll::Release(int x, double dSpeed, double tNow) {
    m_motion.Stop();
    m_bLastFrame = false;
    int iProposal = 0;
    if (OutOfRange(m_iOffset)) {
        m_motion.Settle(m_iOffset, std::min(std::max(m_iOffset, 0), MaxRest()), tNow, m_tu);
    } else if (Scrollable() && std::fabs(dSpeed) >= m_tu.dMinFlickSpeed) {
        double dStart = std::min(std::max(dSpeed, -m_tu.dMaxFlickSpeed), m_tu.dMaxFlickSpeed);
        m_motion.Glide(m_iOffset, dStart, tNow, MaxRest(), m_tu);
        iProposal = static_cast<int>(std::lround(dStart * m_tu.dGlideTime));
    }
    StartMotionBand();
    // The list re-synchronises us when the free glide (or the pulled offset
    // as it stands) leaves its range; otherwise a motion still needs its
    // first paint, which a re-synchronisation brings.
    m_bResynced = false;
    if (!Fire(SCROLL_EVENT_PROPOSE, x, iProposal)) return;
    if (!m_bResynced && Moving()) Fire(SCROLL_EVENT_RESYNC, x, 0);
}

void OrvexScroll::Config(int iContentHeight, int iViewHeight, int iOffset) {
    if (iContentHeight < 0 || iViewHeight < 0) {
        Trace(L"[err]:Config(), content=[%d] view=[%d], negative taken as 0.", iContentHeight, iViewHeight);
        iContentHeight = std::max(iContentHeight, 0);
        iViewHeight = std::max(iViewHeight, 0);
    }
    m_iContent = iContentHeight;
    m_iView = iViewHeight;
    if (iOffset != m_iOffset) {
        // The list moved the content itself (a rebuild resets it to 0):
        // whatever was moving is over.
        m_iOffset = iOffset;
        m_motion.Stop();
        m_bLastFrame = false;
    } else if (m_motion.Running()) {
        m_motion.Rebound(Now(), MaxRest(), m_tu);
        if (!m_motion.Running()) m_bLastFrame = true;
        StartMotionBand();
    }
    if (m_pen == Pen::Dragging) {
        m_iAnchorY = m_track.LastY();
        m_dAnchorRaw = RubberBandRaw(m_iOffset, MaxRest(), m_tu.dPullLimit);
    }
}

DWORD OrvexScroll::QueryState() {
    // The state is the offset the list will come to rest at.
    int iRest = Moving() ? m_motion.RestingOffset() : std::min(std::max(m_iOffset, 0), MaxRest());
    return static_cast<DWORD>(iRest);
}

void OrvexScroll::ApplyState(DWORD dwState) {
    int iTarget = static_cast<int>(dwState);
    if (iTarget < 0 || iTarget > MaxRest()) {
        Trace(L"[err]:ApplyState(), state=[%d] outside 0..%d, kept within.", iTarget, MaxRest());
        iTarget = std::min(std::max(iTarget, 0), MaxRest());
    }
    m_bResynced = true;
    // While the pen holds the list, its release decides.
    if (m_pen != Pen::Up) return;
    if (Moving() && m_motion.RestingOffset() == iTarget) return;
    m_motion.Stop();
    m_bLastFrame = false;
    if (m_iOffset == iTarget) return;
    m_motion.Settle(m_iOffset, iTarget, Now(), m_tu);
    StartMotionBand();
}

void OrvexScroll::Step() {
    if (!m_motion.Running()) return;
    if (!m_motion.Advance(Now())) m_bLastFrame = true;
}

BOOL OrvexScroll::GetNextOffset(POINT* ppt) {
    if (!ppt) {
        Trace(L"[err]:GetNextOffset(), ppt=[null].");
        return FALSE;
    }
    if (Moving()) {
        // Non-zero on every paint while moving, even when the offset has not
        // changed since the last one: the paints are what drive the motion.
        m_bLastFrame = false;
        m_iOffset = MotionOffset();
        ppt->y = m_iOffset;
        return TRUE;
    }
    if (m_pen == Pen::Up) m_iOffset = ppt->y;
    return FALSE;
}

void OrvexScroll::Gesture(HWND /*hwnd*/, UINT uMsg, WPARAM /*wParam*/, LPARAM lParam) {
    if (m_nVersion < 2 || uMsg != WM_GESTURE) return;
    GESTUREINFO gi = {};
    gi.cbSize = sizeof(gi);
    if (!TKGetGestureInfo(reinterpret_cast<HGESTUREINFO>(lParam), &gi)) {
        Trace(L"[err]:Gesture(), no gesture info, lParam=[0x%x] error=[%lu].",
              static_cast<unsigned>(lParam), GetLastError());
        return;
    }
    // Pans, holds and selections arrive as pen messages as well; only the
    // flick at the end of a pan adds something.
    if (gi.dwID != GID_SCROLL || m_pen != Pen::Up) return;
    LONG lDir = GID_SCROLL_DIRECTION(gi.ullArguments);
    if (lDir != ARG_SCROLL_UP && lDir != ARG_SCROLL_DOWN) return;
    // Pulled past an end, the spring is in charge.
    if (!Scrollable() || OutOfRange(m_iOffset)) return;
    double dSpeed = std::labs(GID_SCROLL_VELOCITY(gi.ullArguments)) / 1000.0;
    if (dSpeed < m_tu.dMinFlickSpeed) return;
    // Flicked up, the content follows upwards: the offset grows.
    Release(m_track.LastX(), lDir == ARG_SCROLL_UP ? dSpeed : -dSpeed, Now());
}
