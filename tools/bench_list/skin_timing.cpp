// The skin's load times: LoadSkinResources as the main window's creation
// calls it (the "LoadResource" step), and each file's decode on its own.
#include "tools/bench_list/bench_timing.h"

#include <cstdio>
#include <vector>

#include "core/app_state.h"
#include "core/draw_image.h"
#include "core/skin_resources.h"

double TimeSkinLoad() {
    double t0 = BenchNow();
    LoadSkinResources();
    return BenchNow() - t0;
}

void MeasureSkins(int count) {
    std::vector<double> reloads;
    for (int i = 0; i < count; ++i) reloads.push_back(TimeSkinLoad());
    wprintf(L"LoadSkinResources again: median %7.3f ms (n=%d)\n", Median(reloads), count);

    // A file's decode alone: DrawImageFile into an empty rectangle decodes
    // with the program's factory and draws nothing.
    HDC hdc = CreateCompatibleDC(nullptr);
    double sum = 0;
    for (int f = 0; f < kSkinImageCount; ++f) {
        std::vector<double> times;
        for (int i = 0; i < count; ++i) {
            double t0 = BenchNow();
            DrawImageFile(AppState.pImagingFactory, kSkinImageFiles[f], hdc, 0, 0, 0, 0);
            times.push_back(BenchNow() - t0);
        }
        const BITMAP& bm = AppState.SkinImages[f].bm;
        wprintf(L"  decode %-40ls %4ld x %-4ld median %6.3f ms\n", kSkinImageFiles[f], bm.bmWidth, bm.bmHeight,
                Median(times));
        sum += Median(times);
    }
    wprintf(L"  decode, sum of the 22 medians %7.3f ms\n", sum);
    DeleteDC(hdc);
}
