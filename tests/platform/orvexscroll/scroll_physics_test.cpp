// The offset's motion on its own, with time passed in.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "platform/orvexscroll/scroll_physics.h"

namespace {

const ScrollTuning kTu = MakeScrollTuning(1.0);  // pull limit 64, glide 325 ms

// Positions every 16 ms until the motion rests.
std::vector<double> Sample(ScrollMotion& m, double t0) {
    std::vector<double> pos;
    for (int i = 1; i <= 2000; ++i) {
        bool running = m.Advance(t0 + i * 16);
        pos.push_back(m.Position());
        if (!running) break;
    }
    return pos;
}

TEST(ScrollPhysics, RubberBandResistsAndNeverReachesThePullLimit) {
    const double P = kTu.dPullLimit;
    EXPECT_EQ(RubberBand(350, 700, P), 350);
    double prev = 0;
    for (double pull = 1; pull < 5000; pull *= 1.5) {
        double top = RubberBand(-pull, 700, P);
        EXPECT_LT(top, prev);
        EXPECT_GT(top, -P);
        EXPECT_LT(-top, pull);
        EXPECT_NEAR(RubberBand(700 + pull, 700, P) - 700, -top, 1e-9);
        prev = top;
    }
    for (double shown : {-50.0, 20.0, 740.0}) EXPECT_NEAR(RubberBand(RubberBandRaw(shown, 700, P), 700, P), shown, 1e-9);
    EXPECT_GT(RubberBand(RubberBandRaw(-500, 700, P), 700, P), -P) << "beyond the limit maps inside it";
}

TEST(ScrollPhysics, GlideSlowsEveryFrameAndRestsExactlyOnAWholePixel) {
    ScrollMotion m;
    m.Glide(100, 2.0, 1000, 5000, kTu);
    EXPECT_EQ(m.RestingOffset(), 750);
    std::vector<double> pos = Sample(m, 1000);
    ASSERT_FALSE(m.Running());
    double last = 100, lastStep = 1e9;
    for (size_t i = 0; i + 1 < pos.size(); ++i) {
        EXPECT_GT(pos[i], last);
        EXPECT_LT(pos[i] - last, lastStep + 1e-9);
        lastStep = pos[i] - last;
        last = pos[i];
    }
    EXPECT_EQ(pos.back(), 750.0);
    EXPECT_LT(pos.back() - last, 1.0) << "the last bit, under a pixel, at once";
    EXPECT_NEAR(pos.size() * 16, 325 * std::log(2 * 650.0), 20) << "ends once half a pixel is left";

    // Where it is depends on the time alone, not on how often it was asked.
    ScrollMotion a, b;
    a.Glide(1000, -1.5, 0, 3000, kTu);
    b.Glide(1000, -1.5, 0, 3000, kTu);
    for (int t = 1; t <= 300; ++t) a.Advance(t);
    b.Advance(300);
    EXPECT_NEAR(a.Position(), b.Position(), 1e-9);
    EXPECT_NEAR(b.Position(), 1000 - 1.5 * 325 * (1 - std::exp(-300.0 / 325)), 1e-9);
}

TEST(ScrollPhysics, CrossingAnEndBouncesWithinTheLimitAndSpringsBackWithoutOvershoot) {
    for (double speed : {1.0, 4.0, 50.0, -3.0}) {
        ScrollMotion m;
        m.Glide(speed > 0 ? 250 : 30, speed, 0, 300, kTu);
        int end = speed > 0 ? 300 : 0;
        EXPECT_EQ(m.RestingOffset(), end);
        std::vector<double> pos = Sample(m, 0);
        double out = 0;
        for (double p : pos) out = std::max(out, speed > 0 ? p - 300 : -p);
        EXPECT_GT(out, 0) << speed;
        EXPECT_LT(out, kTu.dPullLimit) << speed;
        EXPECT_EQ(pos.back(), end);
    }
    ScrollMotion s;
    s.Glide(-55, 2.0, 0, 700, kTu);  // let go while pulled: springs back, ignoring the fling
    EXPECT_EQ(s.RestingOffset(), 0);
    double last = -55;
    for (double p : Sample(s, 0)) {
        EXPECT_GE(p, last);
        EXPECT_LE(p, 0);
        last = p;
    }
    EXPECT_EQ(last, 0);
}

}  // namespace
