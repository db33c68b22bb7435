// One press of the pen: where and when it began, how far it wandered and
// how fast it was moving when it left. Pure: times are passed in (ms).
#pragma once

class PenTrack {
public:
    void Down(int x, int y, double t);
    void Move(int x, int y, double t);

    int DownX() const { return m_xDown; }
    int DownY() const { return m_yDown; }
    int LastX() const { return m_xLast; }
    int LastY() const { return m_yLast; }
    double DownTime() const { return m_tDown; }
    // Furthest the pen has been from where it came down, on either axis.
    int Wander() const { return m_iWander; }
    // Offset speed (px/ms, positive when the pen moved up) over the last
    // dWindow ms before tNow; 0 when the pen rested or the span is too short to tell.
    double Speed(double tNow, double dWindow) const;

private:
    struct Sample {
        int y;
        double t;
    };
    static constexpr int kSamples = 16;
    Sample m_samples[kSamples] = {};
    int m_nSamples = 0, m_iNext = 0;
    int m_xDown = 0, m_yDown = 0, m_xLast = 0, m_yLast = 0, m_iWander = 0;
    double m_tDown = 0;
};
