// bench_list: the list window at a device profile (vga by default: 480 x
// 640, s = 2, the committed skins/480x640 images in a scratch device root)
// with the program's resources (strings and manifest):
// - the skin's load (LoadSkinResources, first call and reloads) and each
//   file's decode;
// - the time of the first paint (building the list image) and of one scroll
//   step (a paint of the built image at a new offset), each the median of
//   COUNT runs, in portrait and landscape;
// - the CPU time of a glide after a flick on a tall list (GLIDES flicks).
// With --png it also saves the list as the user sees it, edit controls
// included, to FOLDER\list-PROFILE-{portrait,landscape}.png.
//
//   bench_list [COUNT] [--profile vga|qvga|hvga|wvga] [--glides GLIDES] [--png FOLDER]
//   (COUNT defaults to 100, GLIDES to 5)
#include <windows.h>
#include <objbase.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "core/app_state.h"
#include "core/skin_resources.h"
#include "listwin/item_window.h"
#include "listwin/list_items.h"
#include "listwin/list_paint.h"
#include "listwin/list_scroll.h"
#include "platform/base/debug_out.h"
#include "platform/base/device_root.h"
#include "platform/base/imaging.h"
#include "platform/base/screen.h"
#include "shell/release_resources.h"
#include "tools/bench_list/bench_timing.h"
#include "tools/bench_list/list_picture.h"

namespace {

// Portrait screens; the landscape one is the same turned.
struct Profile {
    LPCWSTR name;
    int width, height, scale, type;
    LONG extension;  // the long side beyond 320 s
    LPCWSTR skins;
};
constexpr Profile kProfiles[] = {
    {L"vga", 480, 640, 2, 3, 0, L"480x640"},
    {L"qvga", 240, 320, 1, 0, 0, L"240x320"},
    {L"hvga", 320, 480, 1, 6, 160, L"320x480"},
    {L"wvga", 480, 800, 2, 5, 160, L"480x800"},
};
const Profile* g_profile = &kProfiles[0];

std::wstring ExeFolder() {
    wchar_t path[MAX_PATH];
    DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring s(path, n);
    return s.substr(0, s.find_last_of(L'\\') + 1);
}

// A device root with the vga skin and the first scroll library.
std::wstring MakeDevice() {
    wchar_t tmp[MAX_PATH];
    GetTempPathW(MAX_PATH, tmp);
    std::wstring root = std::wstring(tmp) + L"qxbench-list-" + std::to_wstring(GetCurrentProcessId());
    CreateDirectoryW(root.c_str(), nullptr);
    CreateDirectoryW((root + L"\\Windows").c_str(), nullptr);
    std::wstring skins = std::wstring(QX_SKINS_DIR) + L"\\" + g_profile->skins + L"\\";
    WIN32_FIND_DATAW fd;
    HANDLE h = FindFirstFileW((skins + L"*.png").c_str(), &fd);
    if (h != INVALID_HANDLE_VALUE) {
        do CopyFileW((skins + fd.cFileName).c_str(), (root + L"\\Windows\\" + fd.cFileName).c_str(), FALSE);
        while (FindNextFileW(h, &fd));
        FindClose(h);
    }
    CopyFileW((ExeFolder() + L"OrvexScroll.dll").c_str(), (root + L"\\Windows\\OrvexScroll.dll").c_str(), FALSE);
    SetDeviceRoot(root.c_str());
    return root;
}

void RemoveDevice(const std::wstring& root) {
    SetDeviceRoot(nullptr);
    WIN32_FIND_DATAW fd;
    HANDLE h = FindFirstFileW((root + L"\\Windows\\*").c_str(), &fd);
    if (h != INVALID_HANDLE_VALUE) {
        do DeleteFileW((root + L"\\Windows\\" + fd.cFileName).c_str());
        while (FindNextFileW(h, &fd));
        FindClose(h);
    }
    RemoveDirectoryW((root + L"\\Windows").c_str());
    RemoveDirectoryW(root.c_str());
}

// The program's settings group, as LoadSetting builds it, without the radio;
// extraLabels more label items below make it taller.
void MakeRows(int extraLabels = 0) {
    g_pItems = static_cast<ListItem*>(LocalAlloc(LPTR, g_nItems * sizeof(ListItem)));
    ListItem& group = g_pItems[kRowSettings];
    group.nKind = IK_GROUP;
    group.nItems = kSettingsItemCount + extraLabels;
    group.pItems = static_cast<ListItem*>(LocalAlloc(LPTR, group.nItems * sizeof(ListItem)));
    const struct {
        int kind;
        LPCWSTR text;
    } items[kSettingsItemCount] = {{IK_GROUP_LABEL, L"Text messages service center:"},
                                   {IK_GROUP_TEXTBOX, L"+447785016005"},
                                   {IK_GROUP_LABEL, L"Voice Mail:"},
                                   {IK_GROUP_TEXTBOX, L"+441234567890"}};
    for (int k = 0; k < kSettingsItemCount; ++k) {
        group.pItems[k].nKind = items[k].kind;
        lstrcpynW(group.pItems[k].szText, items[k].text, kTextLen);
    }
    for (int k = kSettingsItemCount; k < group.nItems; ++k) {
        group.pItems[k].nKind = IK_GROUP_LABEL;
        wsprintfW(group.pItems[k].szText, L"Label %d", k);
    }
}

void DrainPosted() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
}

// One synchronous WM_PAINT of the list, in milliseconds.
double TimedPaint(HWND hwnd) {
    InvalidateRect(hwnd, nullptr, FALSE);
    double t0 = BenchNow();
    UpdateWindow(hwnd);
    double t1 = BenchNow();
    DrainPosted();
    return t1 - t0;
}

void Measure(HWND hwnd, int count, LPCWSTR orientation) {
    std::vector<double> builds, steps;
    for (int i = 0; i < count; ++i) {
        g_bBmpReady = FALSE;
        builds.push_back(TimedPaint(hwnd));
    }
    for (int i = 0; i < count; ++i) {
        // A drag's offsets: both gap fills and the copy run.
        g_iCurTop = (i % 2) ? -12 : 4;
        steps.push_back(TimedPaint(hwnd));
    }
    g_iCurTop = 0;
    TimedPaint(hwnd);
    wprintf(L"%-9ls first paint (build) median %7.3f ms   scroll step median %7.3f ms   (n=%d)\n", orientation,
            Median(builds), Median(steps), count);
}

void Turn(HWND hwnd, bool landscape) {
    const int w = g_profile->width, h = g_profile->height;
    SetScreenSizeForTest(landscape ? h : w, landscape ? w : h);
    AppState.bLandscape = landscape;
    SendMessageW(hwnd, WM_SETTINGCHANGE, 0, 0);
    UpdateWindow(hwnd);
    DrainPosted();
}

// A list window over rows of extraLabels more labels.
HWND OpenList(int extraLabels) {
    if (AppState.hwndItem) DestroyWindow(AppState.hwndItem);
    AppState.hwndItem = nullptr;
    ReleaseListItems();
    MakeRows(extraLabels);
    if (!CreateItemWindow(AppState.hInst, SW_SHOW)) return nullptr;
    return AppState.hwndItem;
}

}  // namespace

double BenchNow() {
    static LARGE_INTEGER freq = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) * 1000.0 / static_cast<double>(freq.QuadPart);
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

int wmain(int argc, wchar_t** argv) {
    int count = 100, glides = 5;
    std::wstring pngFolder;
    for (int i = 1; i < argc; ++i) {
        if (wcscmp(argv[i], L"--png") == 0 && i + 1 < argc) {
            pngFolder = argv[++i];
        } else if (wcscmp(argv[i], L"--glides") == 0 && i + 1 < argc) {
            glides = std::max(0, _wtoi(argv[++i]));
        } else if (wcscmp(argv[i], L"--profile") == 0 && i + 1 < argc) {
            ++i;
            for (const Profile& p : kProfiles)
                if (wcscmp(p.name, argv[i]) == 0) g_profile = &p;
            if (wcscmp(g_profile->name, argv[i]) != 0) {
                fwprintf(stderr, L"bench_list: no profile %ls\n", argv[i]);
                return 2;
            }
        } else {
            count = std::max(1, _wtoi(argv[i]));
        }
    }
    // The trace is still formatted and sent to the debug output, as on the
    // device; only the terminal is kept out of the timings.
    SetDebugOutToStderr(false);
    if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return 1;
    std::wstring root = MakeDevice();
    AppState.hInst = GetModuleHandleW(nullptr);
    CreateImagingFactory(&AppState.pImagingFactory);
    SetScreenSizeForTest(g_profile->width, g_profile->height);
    AppState.nScale = g_profile->scale;
    AppState.nScreenType = g_profile->type;
    AppState.LandscapeXExtension = g_profile->extension;
    // As at the program's start: the first load in the process.
    double firstLoad = TimeSkinLoad();

    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = AppState.hInst;
    wc.lpszClassName = L"QxBenchMain";
    RegisterClassW(&wc);
    AppState.hwndMain = CreateWindowExW(0, wc.lpszClassName, L"main", WS_POPUP | WS_VISIBLE, 0, 0, 800, 800,
                                        nullptr, nullptr, AppState.hInst, nullptr);
    if (!AppState.hwndMain || !OpenList(0)) {
        fwprintf(stderr, L"bench_list: no windows\n");
        return 1;
    }
    HWND hwnd = AppState.hwndItem;
    wprintf(L"bench_list: %ls %d x %d, s = %d, skins/%ls, scroll component %ls\n", g_profile->name,
            g_profile->width, g_profile->height, g_profile->scale, g_profile->skins,
            ActiveScroll() ? L"OrvexScroll.dll" : L"none");
    wprintf(L"LoadSkinResources, first call in the process %7.3f ms\n", firstLoad);
    MeasureSkins(std::min(count, 20));
    double first = TimedPaint(hwnd);
    wprintf(L"very first paint (image and edit controls made) %7.3f ms\n", first);
    Measure(hwnd, count, L"portrait");
    if (!pngFolder.empty())
        SaveListPicture(hwnd, pngFolder + L"\\list-" + g_profile->name + L"-portrait.png");
    Turn(hwnd, true);
    Measure(hwnd, count, L"landscape");
    if (!pngFolder.empty())
        SaveListPicture(hwnd, pngFolder + L"\\list-" + g_profile->name + L"-landscape.png");
    Turn(hwnd, false);

    // Taller than the longest glide at the fastest flick.
    if (glides > 0 && (hwnd = OpenList(120)) != nullptr) MeasureGlide(hwnd, glides);

    DestroyWindow(hwnd);
    DestroyWindow(AppState.hwndMain);
    ReleaseResources();
    RemoveDevice(root);
    CoUninitialize();
    return 0;
}
