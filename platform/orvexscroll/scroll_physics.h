// Motion of the scroll offset: the rubber band past an end, the gliding
// flick and the spring back into the resting range. Pure arithmetic: every
// time is passed in (milliseconds), nothing is read from the system.
// Offsets grow as the content moves up; speeds are in pixels per millisecond.
#pragma once

struct ScrollTuning {
    double dTouchSlop;      // px a press may wander and still be a tap or a click
    double dClickTime;      // ms a press may last and still be a click
    double dMinFlickSpeed;  // px/ms at release below which nothing glides
    double dMaxFlickSpeed;  // px/ms a glide starts with at most
    double dSpeedWindow;    // ms of pen history that make the release speed
    double dGlideTime;      // ms: time constant of the glide's exponential slow-down
    double dPullLimit;      // px the offset may leave the resting range by
    double dSpringRate;     // 1/ms: rate of the critically damped spring
    double dSpringTimeout;  // ms after which a spring stops where it should rest
};

// Thresholds for a screen of dScale times the base resolution (96 dpi).
ScrollTuning MakeScrollTuning(double dScale);

// Offset shown for a raw, pen-driven offset: unchanged inside 0..dMaxRest,
// beyond an end resisting more and more, never as far as dPull.
double RubberBand(double dRaw, double dMaxRest, double dPull);
// The raw offset that shows as dShown (shown offsets past the limit map to
// the furthest raw offset the band can represent).
double RubberBandRaw(double dShown, double dMaxRest, double dPull);

class ScrollMotion {
public:
    // A glide from dFrom at dSpeed, slowing down exponentially; crossing an
    // end turns it into a bounce that returns to that end. Starting outside
    // the resting range it springs back instead.
    void Glide(double dFrom, double dSpeed, double tNow, double dMaxRest, const ScrollTuning& tu);
    // A spring from dFrom to dTarget, starting at rest (never overshoots).
    void Settle(double dFrom, double dTarget, double tNow, const ScrollTuning& tu);
    // The resting range changed while moving: carry on towards the new range.
    void Rebound(double tNow, double dMaxRest, const ScrollTuning& tu);
    void Stop() { m_phase = Phase::Idle; }

    // Evaluates the motion at tNow; false once it has come to rest, which it
    // does exactly at RestingOffset().
    bool Advance(double tNow);
    bool Running() const { return m_phase != Phase::Idle; }
    double Position() const { return m_dPos; }
    double Speed() const { return m_dSpeed; }
    // Whole pixel in the resting range where the motion ends.
    int RestingOffset() const { return m_iRest; }

private:
    enum class Phase { Idle, Glide, Spring };
    void StartSpring(double dFrom, double dSpeed, int iTarget, double tNow);
    void EvalGlide(double t, double* pPos, double* pSpeed) const;
    void EvalSpring(double t, double* pPos, double* pSpeed) const;

    Phase m_phase = Phase::Idle;
    double m_t0 = 0, m_dFrom = 0, m_dSpeed0 = 0;
    double m_dGlideTime = 1, m_dGlideEnd = 0;  // glide: time constant, end time
    double m_tCross = -1;                      // glide: when it crosses an end, or -1
    double m_dBounceMax = 0;                   // glide: speed a bounce starts with at most
    double m_dRate = 0, m_dTimeout = 0;        // spring
    int m_iRest = 0;
    double m_dPos = 0, m_dSpeed = 0;
};
