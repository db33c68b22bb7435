// The two built libraries as the program meets them: installed in the
// device's \windows, loaded by path, driven through their exports in real time.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "platform/base/kernel.h"
#include "platform/orvexscroll/gesture_info.h"
#include "tests/platform/orvexscroll/list_model.h"
#include "tests/support/scratch.h"

namespace {

struct Library {
    LPCWSTR szBuilt;
    LPCWSTR szDevice;
    int nVersion;
};
const Library kLibraries[] = {
    {L"OrvexScroll.dll", SZ_ORVEX_SCROLL_DLL, 1},
    {L"OrvexScroll2.dll", SZ_ORVEX_SCROLL2_DLL, 2},
};

// Wine answers 0 to the handle-counting calls, so a leak is seen by where
// the next handle lands: freed slots are handed out again first.
ULONG_PTR NextKernelHandleSlot() {
    HANDLE h = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    CloseHandle(h);
    return reinterpret_cast<ULONG_PTR>(h);
}
// A GDI handle's high word counts reuses; its slot is the low word.
ULONG_PTR NextGdiHandleSlot() {
    HBRUSH h = CreateSolidBrush(0);
    DeleteObject(h);
    return reinterpret_cast<ULONG_PTR>(h) & 0xFFFF;
}

// Bytes in use on every heap of the process.
SIZE_T HeapBytesInUse() {
    HANDLE heaps[64];
    DWORD n = GetProcessHeaps(64, heaps);
    SIZE_T total = 0;
    for (DWORD i = 0; i < n && i < 64; ++i) {
        if (!HeapLock(heaps[i])) continue;
        PROCESS_HEAP_ENTRY e{};
        while (HeapWalk(heaps[i], &e))
            if (e.wFlags & PROCESS_HEAP_ENTRY_BUSY) total += e.cbData;
        HeapUnlock(heaps[i]);
    }
    return total;
}

class ScrollLibraryTest : public testing::TestWithParam<Library> {
protected:
    void SetUp() override {
        ASSERT_TRUE(device.Install(GetParam().szBuilt, GetParam().szDevice));
        hLib = CeLoadLibrary(GetParam().szDevice);
        ASSERT_NE(hLib, nullptr);
        pfnCreate = GetProcAs<PFN_CreateOrvexScrollInstance>(hLib, SZ_CREATE_ORVEX_SCROLL);
        pfnDestroy = GetProcAs<PFN_DestroyOrvexScrollInstance>(hLib, SZ_DESTROY_ORVEX_SCROLL);
        ASSERT_NE(pfnCreate, nullptr);
        ASSERT_NE(pfnDestroy, nullptr);
        hwnd = CreateWindowExW(0, L"STATIC", L"list", WS_POPUP, 0, 56, 240, 300, nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(hwnd, nullptr);
    }
    void TearDown() override {
        model.reset();
        if (pScroll) {
            EXPECT_TRUE(pfnDestroy(pScroll));
        }
        if (hwnd) DestroyWindow(hwnd);
        if (hLib) FreeLibrary(hLib);
    }
    ListModel& Make(int iBmpHeight, int iScreenHeight) {
        pfnCreate(&pScroll);
        EXPECT_NE(pScroll, nullptr);
        model = std::make_unique<ListModel>(pScroll, hwnd, iBmpHeight, iScreenHeight);
        return *model;
    }
    void Paint(int maxFrames = 400) { model->RunPaints([] { Sleep(15); }, maxFrames); }

    ScratchDevice device;
    HMODULE hLib = nullptr;
    PFN_CreateOrvexScrollInstance pfnCreate = nullptr;
    PFN_DestroyOrvexScrollInstance pfnDestroy = nullptr;
    HWND hwnd = nullptr;
    ScrollInstance* pScroll = nullptr;
    std::unique_ptr<ListModel> model;
};

TEST_P(ScrollLibraryTest, CreateAndDestroyAThousandTimesLeaveNothingBehind) {
    ScrollInstance* p = nullptr;
    EXPECT_FALSE(pfnCreate(nullptr));
    ASSERT_TRUE(pfnCreate(&p));
    ASSERT_NE(p, nullptr);
    EXPECT_TRUE(pfnDestroy(p));
    EXPECT_FALSE(pfnDestroy(p)) << "released twice";
    EXPECT_FALSE(pfnDestroy(nullptr));

    auto cycle = [&] {
        ScrollInstance* q = nullptr;
        pfnCreate(&q);
        if (!q) return false;
        POINT pt{10, 10};
        q->Attach(&ListModel::EventProc, hwnd);  // reads the window's resolution
        q->Config(1000, 300, 0);
        q->PenDown(&pt);
        q->PenUp(&pt);
        return pfnDestroy(q) == TRUE;
    };
    for (int i = 0; i < 50; ++i) ASSERT_TRUE(cycle());
    ULONG_PTR kernel0 = NextKernelHandleSlot(), gdi0 = NextGdiHandleSlot();
    SIZE_T heap0 = HeapBytesInUse();
    for (int i = 0; i < 1000; ++i) ASSERT_TRUE(cycle()) << i;
    SIZE_T heap1 = HeapBytesInUse();
    EXPECT_EQ(NextKernelHandleSlot(), kernel0) << "kernel handles left open";
    EXPECT_EQ(NextGdiHandleSlot(), gdi0) << "device contexts or GDI objects left behind";
    // An instance left behind each time would be a thousand of them.
    EXPECT_LT(heap1 > heap0 ? heap1 - heap0 : 0, 16u * 1024) << heap0 << " -> " << heap1;
}

TEST_P(ScrollLibraryTest, FlickAndSpringBackInRealTime) {
    ListModel& m = Make(5000, 300);
    // A quick stroke up: the offset follows the pen, then glides on, slowing, and stops.
    m.Down(100, 280);
    for (int y = 260; y >= 140; y -= 20) {
        Sleep(8);
        m.Move(100, y);
    }
    EXPECT_EQ(m.iCurTop, 280 - 140 - 6) << "all of the pen's way but the slop";
    m.Up(100, 140);
    int released = m.iCurTop;
    DWORD t0 = GetTickCount();
    Paint();
    EXPECT_LT(GetTickCount() - t0, 4000u);
    ASSERT_GT(m.frames.size(), 10u);
    EXPECT_TRUE(std::is_sorted(m.frames.begin(), m.frames.end()));
    EXPECT_GT(m.iCurTop, released + 100);
    EXPECT_FALSE(m.PaintStep()) << "the glide has ended";

    // Pulled past the top and let go: back to 0 through a re-synchronisation.
    m.iCurTop = 0;
    pScroll->Config(5000, 300, 0);
    m.nResyncs = 0;
    m.frames.clear();
    m.Down(100, 20);
    for (int y = 40; y <= 280; y += 40) {
        Sleep(30);
        m.Move(100, y);
    }
    EXPECT_LT(m.iCurTop, -20);
    EXPECT_GT(m.iCurTop, -64);
    Sleep(200);
    m.Up(100, 280);
    EXPECT_EQ(m.nResyncs, 1);
    Paint();
    EXPECT_EQ(m.iCurTop, 0);
    EXPECT_TRUE(std::is_sorted(m.frames.begin(), m.frames.end()));
    EXPECT_LE(m.frames.back(), 0) << "no overshoot";
}

TEST_P(ScrollLibraryTest, OnlyTheSecondLibraryTakesGestures) {
    ListModel& m = Make(5000, 300);
    GESTUREINFO gi = {};
    gi.cbSize = sizeof(gi);
    gi.dwID = GID_SCROLL;
    gi.hwndTarget = hwnd;
    gi.ullArguments = MakeScrollGestureArgs(ARG_SCROLL_UP, 2000, 0);
    // Recorded here, read inside the library.
    pScroll->Gesture(hwnd, WM_GESTURE, GID_SCROLL, reinterpret_cast<LPARAM>(RecordGestureInfo(&gi)));
    Paint(8);
    if (GetParam().nVersion == 2) {
        ASSERT_EQ(m.Count(SCROLL_EVENT_PROPOSE), 1);
        EXPECT_EQ(m.events[0].v, 650) << "2000 px/s, gliding 325 ms";
        ASSERT_EQ(m.frames.size(), 8u);
        EXPECT_GT(m.frames.back(), m.frames.front());
    } else {
        EXPECT_TRUE(m.events.empty());
        EXPECT_TRUE(m.frames.empty());
    }
    // Released while gliding (TearDown), the library still loaded.
}

INSTANTIATE_TEST_SUITE_P(Both, ScrollLibraryTest, testing::ValuesIn(kLibraries),
                         [](const testing::TestParamInfo<Library>& info) {
                             return info.param.nVersion == 1 ? std::string("OrvexScroll") : std::string("OrvexScroll2");
                         });

}  // namespace
