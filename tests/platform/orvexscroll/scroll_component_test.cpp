// The scroll component driven as the list drives it, linked in with a clock
// the test turns (scale 1: 6 px slop, 800 ms click, 64 px pull, 325 ms glide).
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "platform/orvexscroll/gesture_info.h"
#include "platform/orvexscroll/scroll_component.h"
#include "tests/platform/orvexscroll/list_model.h"
#include "tests/support/scratch.h"

namespace {

double g_tNow = 0;
double FakeClock() { return g_tNow; }

class ScrollComponentTest : public testing::Test {
protected:
    void TearDown() override {
        model.reset();
        if (pScroll) DestroyScrollComponent(pScroll);
        EXPECT_EQ(ScrollComponentCount(), 0);
    }
    ListModel& Make(int iBmpHeight, int iScreenHeight, int nVersion = 1) {
        ScrollOptions opt;
        opt.nVersion = nVersion;
        opt.pfnClock = &FakeClock;
        opt.dScale = 1;
        pScroll = CreateScrollComponent(opt);
        model = std::make_unique<ListModel>(pScroll, kHwnd, iBmpHeight, iScreenHeight);
        return *model;
    }
    // Paints at 60 frames a second while the list is invalid.
    void Paint(int maxFrames = 1000) { model->RunPaints([] { g_tNow += 16; }, maxFrames); }
    // A pen stroke in n moves ms apart; let go at once.
    void Stroke(int y0, int y1, double ms = 10, int n = 6) {
        model->Down(100, y0);
        for (int i = 1; i <= n; ++i) {
            g_tNow += ms;
            model->Move(100, y0 + (y1 - y0) * i / n);
        }
        model->Up(100, y1);
    }
    void Place(int iOffset) {
        model->iCurTop = iOffset;
        pScroll->Config(model->MaxRest() + 300, 300, iOffset);
    }

    const HWND kHwnd = reinterpret_cast<HWND>(static_cast<INT_PTR>(0x5C0));
    ScrollInstance* pScroll = nullptr;
    std::unique_ptr<ListModel> model;
};

TEST_F(ScrollComponentTest, DragFollowsThePenOnceBeyondTheSlop) {
    ListModel& m = Make(1000, 300);
    m.Down(100, 200);
    m.Move(101, 196);
    EXPECT_EQ(m.Count(SCROLL_EVENT_OFFSET), 0) << "within the slop";
    m.Move(100, 190);
    EXPECT_EQ(m.iCurTop, 4) << "taken hold at the edge of the slop, no jump";
    for (int y = 170; y >= 70; y -= 20) {
        g_tNow += 50;
        int before = m.iCurTop;
        m.Move(100, y);
        EXPECT_EQ(m.iCurTop - before, 20);
    }
    m.Move(100, 100);
    EXPECT_EQ(m.iCurTop, 94);
    g_tNow += 300;  // rests before letting go
    m.Up(100, 100);
    EXPECT_EQ(m.Count(SCROLL_EVENT_CLICK), 0);
    Paint();
    EXPECT_TRUE(m.frames.empty()) << "no glide after a rest";
    EXPECT_EQ(m.iCurTop, 94);
}

TEST_F(ScrollComponentTest, FlickGlidesSlowerEachFrameAndStopsExactly) {
    ListModel& m = Make(5000, 300);
    Stroke(280, 160);  // 2 px/ms upwards
    int released = m.iCurTop;
    ASSERT_EQ(m.Count(SCROLL_EVENT_PROPOSE), 1);
    EXPECT_EQ(m.events[m.events.size() - 2].v, 650) << "proposes the glide's way";
    EXPECT_EQ(m.events.back().nEvent, SCROLL_EVENT_RESYNC) << "in range: asks for the first paint";
    Paint();
    ASSERT_GT(m.frames.size(), 100u);
    int last = released, lastStep = 1 << 30;
    for (int f : m.frames) {
        EXPECT_GE(f, last);
        EXPECT_LE(f - last, lastStep + 1) << "never speeds up";
        lastStep = f - last;
        last = f;
    }
    EXPECT_EQ(m.iCurTop, released + 650);
    EXPECT_FALSE(m.PaintStep());
}

TEST_F(ScrollComponentTest, PulledPastAnEndComesBackThroughResync) {
    ListModel& m = Make(1000, 300);
    for (int from : {0, 700}) {
        Place(from);
        m.nResyncs = 0;
        m.frames.clear();
        int dir = from == 0 ? 1 : -1;  // down at the top, up at the bottom
        Stroke(150 - 140 * dir, 150 + 140 * dir, 40, 14);
        int pulled = m.iCurTop - from;
        EXPECT_GT(std::abs(pulled), 30);
        EXPECT_LT(std::abs(pulled), 64) << "the pull is limited";
        EXPECT_EQ(m.nResyncs, 1) << "the offset as it stands is outside the list's range";
        EXPECT_EQ(m.dwLastState, static_cast<DWORD>(from)) << "the state names where it comes to rest";
        Paint();
        for (int f : m.frames) EXPECT_LE(std::abs(f - from), std::abs(pulled)) << "no overshoot";
        EXPECT_EQ(m.iCurTop, from);
    }
    // Flung into the top: past it, back, resting there.
    Place(200);
    m.frames.clear();
    Stroke(100, 160);  // 1 px/ms downwards from 146
    Paint();
    int furthest = *std::min_element(m.frames.begin(), m.frames.end());
    EXPECT_LT(furthest, 0);
    EXPECT_GT(furthest, -64);
    EXPECT_EQ(m.iCurTop, 0);
}

TEST_F(ScrollComponentTest, TapOnTouchClickOnAQuickStillRelease) {
    ListModel& m = Make(1000, 300);
    m.Down(30, 120);
    g_tNow += 80;
    m.Move(33, 124);
    m.Up(33, 124);
    ASSERT_EQ(m.events.size(), 2u);
    EXPECT_EQ(m.events[0].nEvent, SCROLL_EVENT_TAP);
    EXPECT_EQ(m.events[0].v, 120);
    EXPECT_EQ(m.events[1].nEvent, SCROLL_EVENT_CLICK);
    EXPECT_EQ(m.events[1].v, 120) << "the click lands on the row the tap marked";

    m.events.clear();
    m.Down(30, 120);
    g_tNow += 801;
    m.Up(30, 120);
    EXPECT_EQ(m.Count(SCROLL_EVENT_TAP), 1);
    EXPECT_EQ(m.Count(SCROLL_EVENT_CLICK), 0) << "held too long";

    m.Down(30, 120);
    m.Move(45, 121);
    m.Up(45, 121);
    EXPECT_EQ(m.Count(SCROLL_EVENT_CLICK), 0) << "wandered sideways";
    EXPECT_EQ(m.iCurTop, 0);

    m.frames.clear();
    Stroke(280, 160);
    Paint(10);
    m.events.clear();
    int held = m.iCurTop;
    m.Down(100, 100);
    m.Up(100, 100);
    EXPECT_EQ(m.Count(SCROLL_EVENT_TAP) + m.Count(SCROLL_EVENT_CLICK), 0) << "a press that stops a glide";
    EXPECT_FALSE(m.PaintStep());
    EXPECT_EQ(m.iCurTop, held);

    m.events.clear();
    m.Move(100, 10);  // hovering, no pen down
    EXPECT_TRUE(m.events.empty());
}

TEST_F(ScrollComponentTest, ContentShorterThanTheViewNeverScrolls) {
    ListModel& m = Make(200, 300);
    Stroke(250, 20);
    Stroke(20, 250, 40);
    EXPECT_EQ(m.Count(SCROLL_EVENT_OFFSET), 0);
    Paint();
    EXPECT_TRUE(m.frames.empty());
    EXPECT_EQ(m.Count(SCROLL_EVENT_TAP), 2) << "taps still reach the rows";
    m.iCurTop = 25;  // put out of place by the list
    m.Resync();
    Paint();
    EXPECT_EQ(m.iCurTop, 0);
}

TEST_F(ScrollComponentTest, ConfigMidGlideFollowsTheList) {
    ListModel& m = Make(5000, 300);
    Stroke(280, 160);
    Paint(20);
    m.Rebuild(3000, 200);  // turned: the list resets its offset
    EXPECT_FALSE(m.PaintStep());
    EXPECT_EQ(m.iCurTop, 0);

    m.frames.clear();
    Stroke(280, 160);
    Paint(10);
    int here = m.iCurTop;
    pScroll->Config(400, 200, here);  // same offset, less to scroll
    Paint();
    EXPECT_EQ(m.iCurTop, 200);
    for (int f : m.frames) EXPECT_LT(f, std::max(here, 200) + 64);

    m.iCurTop = 150;  // activation at rest mid-range moves nothing
    m.Resync();
    EXPECT_FALSE(m.PaintStep());
    EXPECT_EQ(m.iCurTop, 150);
}

TEST_F(ScrollComponentTest, DestroyedMidGlideOrInsideItsOwnEvent) {
    Make(5000, 300);
    Stroke(280, 160);
    Paint(5);
    EXPECT_TRUE(DestroyScrollComponent(pScroll));
    EXPECT_FALSE(DestroyScrollComponent(pScroll)) << "a second release is refused";
    model.reset();

    ListModel& m = Make(1000, 300);
    m.onEvent = [&](int nEvent) {
        if (nEvent == SCROLL_EVENT_CLICK) {
            EXPECT_TRUE(DestroyScrollComponent(m.pScroll));
        }
    };
    m.Down(10, 10);
    m.Up(10, 10);
    EXPECT_EQ(ScrollComponentCount(), 0) << "gone once the event returned";
    pScroll = nullptr;
}

TEST_F(ScrollComponentTest, BadInputIsTracedAndHarmless) {
    TraceCapture trace;
    ListModel& m = Make(1000, 300);
    pScroll->PenDown(nullptr);
    pScroll->PenMove(nullptr);
    EXPECT_FALSE(pScroll->GetNextOffset(nullptr));
    EXPECT_TRUE(m.events.empty());
    EXPECT_TRUE(trace.Has(L"[OrvexScroll] [err]:PenDown(), ppt=[null]"));
    EXPECT_TRUE(trace.Has(L"[err]:GetNextOffset()"));

    m.Down(100, 200);
    m.Move(100, 150);
    pScroll->PenUp(nullptr);  // still ends the press
    EXPECT_TRUE(trace.Has(L"[err]:PenUp()"));
    int after = m.iCurTop;
    m.Move(100, 10);
    EXPECT_EQ(m.iCurTop, after);

    pScroll->Config(-5, 300, m.iCurTop);
    EXPECT_TRUE(trace.Has(L"content=[-5] view=[300], negative taken as 0"));
    Place(100);
    pScroll->ApplyState(static_cast<DWORD>(-16));
    EXPECT_TRUE(trace.Has(L"[err]:ApplyState(), state=[-16] outside 0..700"));
    m.bInvalid = true;
    Paint();
    EXPECT_EQ(m.iCurTop, 0);
    pScroll->ApplyState(0x7FFFFFFF);
    m.bInvalid = true;
    Paint();
    EXPECT_EQ(m.iCurTop, 700);

    int iNotOurs = 0;
    EXPECT_FALSE(DestroyScrollComponent(reinterpret_cast<ScrollInstance*>(&iNotOurs)));
    EXPECT_TRUE(trace.Has(L"[err]:DestroyOrvexScrollInstance()"));
}

TEST_F(ScrollComponentTest, SecondVersionFlicksOnVerticalScrollGesturesOnly) {
    auto record = [](DWORD dwID, int iDir, int iVelocity) {
        GESTUREINFO gi = {};
        gi.cbSize = sizeof(gi);
        gi.dwID = dwID;
        gi.ullArguments = MakeScrollGestureArgs(iDir, iVelocity, 0);
        return reinterpret_cast<LPARAM>(RecordGestureInfo(&gi));
    };
    ListModel& m = Make(5000, 300, 2);
    pScroll->Gesture(kHwnd, WM_GESTURE, GID_SCROLL, record(GID_SCROLL, ARG_SCROLL_UP, 2000));
    Paint();
    EXPECT_EQ(m.iCurTop, 650) << "2000 px/s upwards";
    pScroll->Gesture(kHwnd, WM_GESTURE, GID_SCROLL, record(GID_SCROLL, ARG_SCROLL_DOWN, 1000));
    Paint();
    EXPECT_EQ(m.iCurTop, 325);

    m.events.clear();
    TraceCapture trace;
    pScroll->Gesture(kHwnd, WM_GESTURE, GID_SCROLL, record(GID_SCROLL, ARG_SCROLL_LEFT, 3000));
    pScroll->Gesture(kHwnd, WM_GESTURE, GID_PAN, record(GID_PAN, 0, 0));
    pScroll->Gesture(kHwnd, WM_MOUSEMOVE, GID_SCROLL, record(GID_SCROLL, ARG_SCROLL_UP, 2000));
    pScroll->Gesture(kHwnd, WM_GESTURE, GID_SCROLL, 0x1234);
    EXPECT_TRUE(m.events.empty());
    EXPECT_TRUE(trace.Has(L"[OrvexScroll2] [err]:Gesture(), no gesture info"));
}

// The device's libraries are called by slot number: the interface must keep
// the contract's order.
TEST(ScrollContract, OperationsSitInTheirSlots) {
    struct Recorder final : ScrollInstance {
        int last = -1;
        void Attach(ScrollEventProc, HWND) override { last = 0; }
        void PenDown(const POINT*) override { last = 1; }
        void PenUp(const POINT*) override { last = 2; }
        void PenMove(const POINT*) override { last = 3; }
        void Config(int, int, int) override { last = 4; }
        void ApplyState(DWORD) override { last = 5; }
        BOOL GetNextOffset(POINT*) override { return last = 6; }
        DWORD QueryState() override { return last = 7; }
        void Step() override { last = 8; }
        void Reserved9() override { last = 9; }
        void Reserved10() override { last = 10; }
        void Gesture(HWND, UINT, WPARAM, LPARAM) override { last = 11; }
    } rec;
    ScrollInstance* self = &rec;
    void** vtbl = *reinterpret_cast<void***>(self);
    // Every slot takes at most four more arguments, passed in registers:
    // calling with zeros is safe whatever the slot's own types.
    using AnySlot = INT_PTR (*)(ScrollInstance*, INT_PTR, INT_PTR, INT_PTR, INT_PTR);
    POINT pt{};
    for (int i = 0; i <= 11; ++i) {
        INT_PTR a = (i >= 1 && i <= 3) || i == 6 ? reinterpret_cast<INT_PTR>(&pt) : 0;
        reinterpret_cast<AnySlot>(vtbl[i])(self, a, 0, 0, 0);
        EXPECT_EQ(rec.last, i);
    }
}

}  // namespace
