// The scroll offset's motion. A glide is x(t) = x0 + v0·T·(1 - e^(-t/T)); a
// spring is critically damped, d(t) = (d0 + (v0 + w·d0)·t)·e^(-w·t) around
// its target. Both are closed forms of the time since they began, so the
// result does not depend on how often the list happens to paint.
#include "platform/orvexscroll/scroll_physics.h"

#include <algorithm>
#include <cmath>

namespace {

// A motion ends once less than half a pixel is left to go.
constexpr double kRestDistance = 0.5;
// How far into the pull limit a bounce may carry the offset.
constexpr double kBounceShare = 0.9;
constexpr double kE = 2.718281828459045;

double Clamp(double d, double lo, double hi) { return std::min(std::max(d, lo), hi); }

}  // namespace

ScrollTuning MakeScrollTuning(double dScale) {
    double s = Clamp(dScale, 1.0, 4.0);
    ScrollTuning tu;
    tu.dTouchSlop = 6.0 * s;
    tu.dClickTime = 800.0;
    tu.dMinFlickSpeed = 0.25 * s;
    tu.dMaxFlickSpeed = 4.0 * s;
    tu.dSpeedWindow = 100.0;
    tu.dGlideTime = 325.0;
    tu.dPullLimit = 64.0 * s;
    tu.dSpringRate = 0.015;
    tu.dSpringTimeout = 3000.0;
    return tu;
}

double RubberBand(double dRaw, double dMaxRest, double dPull) {
    dMaxRest = std::max(dMaxRest, 0.0);
    if (dPull <= 0) return Clamp(dRaw, 0.0, dMaxRest);
    // P·x / (x + 2P): half the pen's way at first, never reaching P.
    if (dRaw < 0) {
        double x = -dRaw;
        return -dPull * x / (x + 2 * dPull);
    }
    if (dRaw > dMaxRest) {
        double x = dRaw - dMaxRest;
        return dMaxRest + dPull * x / (x + 2 * dPull);
    }
    return dRaw;
}

double RubberBandRaw(double dShown, double dMaxRest, double dPull) {
    dMaxRest = std::max(dMaxRest, 0.0);
    if (dPull <= 0) return Clamp(dShown, 0.0, dMaxRest);
    double yMax = dPull * 0.98;
    if (dShown < 0) {
        double y = std::min(-dShown, yMax);
        return -2 * dPull * y / (dPull - y);
    }
    if (dShown > dMaxRest) {
        double y = std::min(dShown - dMaxRest, yMax);
        return dMaxRest + 2 * dPull * y / (dPull - y);
    }
    return dShown;
}

void ScrollMotion::Glide(double dFrom, double dSpeed, double tNow, double dMaxRest, const ScrollTuning& tu) {
    double dMax = std::floor(std::max(dMaxRest, 0.0));
    if (dFrom < 0 || dFrom > dMax) {
        Settle(dFrom, Clamp(dFrom, 0.0, dMax), tNow, tu);
        return;
    }
    double v0 = Clamp(dSpeed, -tu.dMaxFlickSpeed, tu.dMaxFlickSpeed);
    double tau = std::max(tu.dGlideTime, 1.0);
    double dReach = v0 * tau;
    double dEnd = dFrom + dReach;
    m_phase = Phase::Glide;
    m_t0 = tNow;
    m_dFrom = dFrom;
    m_dSpeed0 = v0;
    m_dGlideTime = tau;
    m_dRate = tu.dSpringRate;
    m_dTimeout = tu.dSpringTimeout;
    // The bounce's furthest point is v/(w·e) past the end it crossed.
    m_dBounceMax = kBounceShare * tu.dPullLimit * tu.dSpringRate * kE;
    m_tCross = -1;
    if (dEnd < 0 || dEnd > dMax) {
        double dEdge = dEnd < 0 ? 0.0 : dMax;
        double dShare = (dEdge - dFrom) / dReach;  // in [0, 1): the edge lies on the way
        m_tCross = tNow - tau * std::log(1.0 - dShare);
        m_iRest = static_cast<int>(dEdge);
        m_dGlideEnd = m_tCross;
    } else {
        m_iRest = static_cast<int>(Clamp(std::lround(dEnd), 0.0, dMax));
        double dLeft = std::fabs(dReach);
        m_dGlideEnd = tNow + (dLeft > kRestDistance ? tau * std::log(dLeft / kRestDistance) : 0.0);
    }
    m_dPos = dFrom;
    m_dSpeed = v0;
}

void ScrollMotion::Settle(double dFrom, double dTarget, double tNow, const ScrollTuning& tu) {
    m_dRate = tu.dSpringRate;
    m_dTimeout = tu.dSpringTimeout;
    StartSpring(dFrom, 0.0, static_cast<int>(std::lround(dTarget)), tNow);
}

void ScrollMotion::StartSpring(double dFrom, double dSpeed, int iTarget, double tNow) {
    m_phase = Phase::Spring;
    m_t0 = tNow;
    m_dFrom = dFrom;
    m_dSpeed0 = dSpeed;
    m_iRest = iTarget;
    m_dPos = dFrom;
    m_dSpeed = dSpeed;
}

void ScrollMotion::Rebound(double tNow, double dMaxRest, const ScrollTuning& tu) {
    if (!Advance(tNow)) return;
    double dMax = std::floor(std::max(dMaxRest, 0.0));
    if (m_phase == Phase::Glide) {
        Glide(m_dPos, m_dSpeed, tNow, dMax, tu);
    } else if (m_iRest < 0 || m_iRest > dMax) {
        Settle(m_dPos, Clamp(m_iRest, 0.0, dMax), tNow, tu);
    }
}

void ScrollMotion::EvalGlide(double t, double* pPos, double* pSpeed) const {
    double k = std::exp(-(t - m_t0) / m_dGlideTime);
    *pPos = m_dFrom + m_dSpeed0 * m_dGlideTime * (1.0 - k);
    *pSpeed = m_dSpeed0 * k;
}

void ScrollMotion::EvalSpring(double t, double* pPos, double* pSpeed) const {
    double ts = t - m_t0;
    double d0 = m_dFrom - m_iRest;
    double c = m_dSpeed0 + m_dRate * d0;
    double k = std::exp(-m_dRate * ts);
    *pPos = m_iRest + (d0 + c * ts) * k;
    *pSpeed = (m_dSpeed0 - m_dRate * c * ts) * k;
}

bool ScrollMotion::Advance(double tNow) {
    if (m_phase == Phase::Idle) return false;
    double t = std::max(tNow, m_t0);  // a clock never runs backwards for us
    if (m_phase == Phase::Glide) {
        if (m_tCross >= 0 && t >= m_tCross) {
            double dPos, dSpeed;
            EvalGlide(m_tCross, &dPos, &dSpeed);
            dSpeed = Clamp(dSpeed, -m_dBounceMax, m_dBounceMax);
            StartSpring(m_iRest, dSpeed, m_iRest, m_tCross);
        } else if (m_tCross < 0 && t >= m_dGlideEnd) {
            m_phase = Phase::Idle;
            m_dPos = m_iRest;
            m_dSpeed = 0;
            return false;
        } else {
            EvalGlide(t, &m_dPos, &m_dSpeed);
            return true;
        }
    }
    EvalSpring(t, &m_dPos, &m_dSpeed);
    bool bNear = std::fabs(m_dPos - m_iRest) < kRestDistance && std::fabs(m_dSpeed) <= m_dRate;
    if (bNear || t - m_t0 >= m_dTimeout) {
        m_phase = Phase::Idle;
        m_dPos = m_iRest;
        m_dSpeed = 0;
        return false;
    }
    return true;
}
