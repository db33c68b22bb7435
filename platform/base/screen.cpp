// Screen size, with the test seam.
#include "platform/base/screen.h"

#include <atomic>

namespace {
std::atomic<int> g_testWidth{0};
std::atomic<int> g_testHeight{0};
}  // namespace

int GetScreenWidth() {
    int w = g_testWidth;
    return w > 0 ? w : GetSystemMetrics(SM_CXSCREEN);
}

int GetScreenHeight() {
    int h = g_testHeight;
    return h > 0 ? h : GetSystemMetrics(SM_CYSCREEN);
}

void SetScreenSizeForTest(int width, int height) {
    g_testWidth = width;
    g_testHeight = height;
}
