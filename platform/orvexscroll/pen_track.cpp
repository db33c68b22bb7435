// Pen history of one press and the release speed drawn from it.
#include "platform/orvexscroll/pen_track.h"

#include <cstdlib>

namespace {
// Pen messages closer together than this say nothing about speed.
constexpr double kMinSpan = 1.0;
}  // namespace

void PenTrack::Down(int x, int y, double t) {
    m_xDown = m_xLast = x;
    m_yDown = m_yLast = y;
    m_tDown = t;
    m_iWander = 0;
    m_nSamples = 0;
    m_iNext = 0;
    Move(x, y, t);
}

void PenTrack::Move(int x, int y, double t) {
    m_xLast = x;
    m_yLast = y;
    int d = std::abs(x - m_xDown);
    if (std::abs(y - m_yDown) > d) d = std::abs(y - m_yDown);
    if (d > m_iWander) m_iWander = d;
    m_samples[m_iNext] = Sample{y, t};
    m_iNext = (m_iNext + 1) % kSamples;
    if (m_nSamples < kSamples) ++m_nSamples;
}

double PenTrack::Speed(double tNow, double dWindow) const {
    if (m_nSamples == 0) return 0;
    const Sample& last = m_samples[(m_iNext + kSamples - 1) % kSamples];
    // The pen came to rest before it left: nothing to carry on.
    if (tNow - last.t > dWindow) return 0;
    const Sample* pFirst = &last;
    for (int i = 2; i <= m_nSamples; ++i) {
        const Sample& s = m_samples[(m_iNext + kSamples - i) % kSamples];
        if (tNow - s.t > dWindow) break;
        pFirst = &s;
    }
    double span = tNow - pFirst->t;
    if (span < kMinSpan) return 0;
    // The pen going up moves the content up: the offset grows.
    return (pFirst->y - last.y) / span;
}
