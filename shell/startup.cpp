// Start-up decision tree and the message loop.
#include "shell/startup.h"

#include <objbase.h>

#include <initializer_list>
#include <new>

#include "core/app_state.h"
#include "core/trace.h"
#include "core/ui_config.h"
#include "listwin/item_window.h"
#include "listwin/list_fields.h"
#include "msgbox/notification_box.h"
#include "platform/aygshell/regext.h"
#include "platform/base/imaging.h"
#include "platform/base/kernel.h"
#include "platform/base/scoped.h"
#include "platform/base/window.h"
#include "platform/ossvcs/phone.h"
#include "res/resource.h"
#include "shell/main_window.h"
#include "shell/title_window.h"

namespace {

constexpr DWORD kPhoneStatusRadioOff = 0x2;
constexpr DWORD kPowerOnSettleMs = 2000;
// How long a start that finds another one running looks for its screen.
constexpr DWORD kRunningScreenWaitMs = 5000;
constexpr DWORD kRunningScreenPollMs = 50;

// Held for the life of the program: the one screen of the device is ours.
scoped::Kernel g_screenMutex;

// Asks to switch the radio on; stores and returns the answer.
int AskPowerOn() {
    WCHAR szCaption[kTextLen];
    WCHAR szText[kTextLen];
    LoadStringW(AppState.hInst, IDS_PROMPT_CAPTION, szCaption, kTextLen);
    LoadStringW(AppState.hInst, IDS_PROMPT_TEXT, szText, kTextLen);
    AppState.nPowerOnAnswer = ShowNotificationBox(nullptr, szText, szCaption, 2, 0);
    return AppState.nPowerOnAnswer;
}

using SetPhoneFn = int(WINAPI*)(int);

// The library and its export, for the thread that makes the call.
struct PowerOnCall {
    HMODULE hLib;
    SetPhoneFn pfn;
};

DWORD WINAPI PowerOnThread(LPVOID pv) {
    const PowerOnCall call = *static_cast<PowerOnCall*>(pv);
    delete static_cast<PowerOnCall*>(pv);
    call.pfn(1);
    // The library goes only when its call has returned.
    FreeLibraryAndExitThread(call.hLib, 0);
}

// The maker's communication manager switches the radio on; start-up does not
// wait on it. The call runs on a thread of its own, so that one that never
// returns costs only the settle time below, and the window thread keeps
// answering meanwhile.
void SwitchRadioOn() {
    scoped::Library lib(CeLoadLibrary(L"\\Windows\\LinkdeckDll.dll"));
    if (!lib) return;
    ShowWaitCursor();
    auto pfn = GetProcAs<SetPhoneFn>(lib.get(), "Linkdeck_SetPhone");
    if (!pfn) return;
    auto* call = new (std::nothrow) PowerOnCall{lib.get(), pfn};
    HANDLE hThread = call ? CreateThread(nullptr, 0, PowerOnThread, call, 0, nullptr) : nullptr;
    if (!hThread) {
        WriteTrace(L"[err]:StartApplication(), no thread for Linkdeck_SetPhone, error=[%lu]; the radio "
                   L"is not switched on.", GetLastError());
        delete call;
        return;
    }
    CloseHandle(hThread);
    lib.release();  // the thread frees it
}

// The screen of the start that runs already, coming up or up: its main
// window, else its power prompt (a box of the program's title). Null when
// neither shows within the wait.
HWND FindRunningScreen(DWORD dwWaitMs) {
    for (DWORD waited = 0;; waited += kRunningScreenPollMs) {
        if (HWND hwnd = FindWindowW(L"QXCFMainClass", AppState.szAppTitle)) return hwnd;
        if (HWND hwnd = FindWindowW(WC_DIALOG, AppState.szAppTitle)) return hwnd;
        if (waited >= dwWaitMs) return nullptr;
        Sleep(kRunningScreenPollMs);
    }
}

// Destroying the main window takes its children, the skin resources and the
// rows with it and posts the quit message.
void EndWithoutScreen() {
    if (AppState.hwndMain) DestroyWindow(AppState.hwndMain);
    AppState.hwndMain = AppState.hwndTitle = AppState.hwndItem = nullptr;
}

}  // namespace

bool IsPhoneStatusFlagSet() {
    DWORD dwStatus = 0;
    return RegistryGetDWORD(HKEY_LOCAL_MACHINE, L"System\\State\\Phone", L"Status", &dwStatus) == S_OK &&
           (dwStatus & kPhoneStatusRadioOff) != 0;
}

BOOL StartApplication(HINSTANCE hInstance, int nShow) {
    DWORD dwPhoneState = 1;
    // Left open when start-up ends here.
    TraceStep phoneStep = BeginTraceStep(L"GetPhoneState");
    if (!GetPhoneState(&dwPhoneState)) {
        WriteTrace(L"GetPhoneState return FALSE;");
        return FALSE;
    }
    // Flight mode: the control panel's phone page takes over.
    if (dwPhoneState == 1 && IsPhoneStatusFlagSet()) {
        CeCreateProcess(L"\\WIndows\\ctlpnl.exe", L"cplmain.cpl, 20");
        return FALSE;
    }
    EndTraceStep(phoneStep);

    AppState.hInst = hInstance;
    LoadStringW(hInstance, IDS_APP_TITLE, AppState.szAppTitle, kTextLen);

    // One screen per device. Two starts a moment apart would both pass the
    // window search before either had a window: the named mutex decides
    // first, and the start that finds it held brings the other's screen
    // forward as the search does.
    g_screenMutex.reset();  // a start before in this process (tests) gives it up
    HANDLE hMutex = CreateMutexW(nullptr, TRUE, L"QXPhoneVMSettingScreen");
    const bool bHeld = hMutex && GetLastError() == ERROR_ALREADY_EXISTS;
    g_screenMutex.reset(hMutex);
    if (bHeld) {
        g_screenMutex.reset();
        HWND hwndRunning = FindRunningScreen(kRunningScreenWaitMs);
        WriteTrace(L"[msg]:StartApplication(), another start has the screen, hwnd=[0x%x]; this one ends.",
                   static_cast<unsigned>(reinterpret_cast<UINT_PTR>(hwndRunning)));
        if (hwndRunning) SetForegroundWindowAndOwned(hwndRunning);
        return FALSE;
    }
    if (HWND hwndRunning = FindWindowW(L"QXCFMainClass", AppState.szAppTitle)) {
        SetForegroundWindowAndOwned(hwndRunning);
        return FALSE;
    }

    TimedStep(L"GetSettings", [] { return GetSettings(); });

    if (dwPhoneState == 0 && AskPowerOn() == 0) return FALSE;
    if (AppState.nPowerOnAnswer == 1) SwitchRadioOn();

    if (!TimedStep(L"CreateMainWindow", [&] { return CreateMainWindow(hInstance, nShow); }))
        return FALSE;
    if (!TimedStep(L"CreateTitleWindow", [&] { return CreateTitleWindow(hInstance, nShow); }) ||
        !TimedStep(L"CreateItemWindow", [&] { return CreateItemWindow(hInstance, nShow); })) {
        // The main window takes the other one and the resources with it.
        EndWithoutScreen();
        return FALSE;
    }

    if (AppState.nPowerOnAnswer == 1) {
        AppState.nPowerOnAnswer = 0;
        SetForegroundWindowAndOwned(AppState.hwndMain);
        Sleep(kPowerOnSettleMs);
        bool stillOff = IsPhoneStatusFlagSet();
        HideCursor();
        if (stillOff) {
            // The radio did not come on: end without showing anything, so
            // nothing is painted from released resources.
            EndWithoutScreen();
            return FALSE;
        }
    }

    for (HWND hwnd : {AppState.hwndMain, AppState.hwndTitle, AppState.hwndItem}) {
        ShowWindow(hwnd, nShow);
        UpdateWindow(hwnd);
    }
    // A phone without a pen is used with its keys: the first field takes them.
    FocusFirstField();
    return TRUE;
}

int RunProgram(HINSTANCE hInstance, int nShow) {
    scoped::ComApartment apartment(COINIT_MULTITHREADED);
    if (!apartment.ok()) return 0;
    if (!CreateImagingFactory(&AppState.pImagingFactory)) return 0;
    if (!StartApplication(hInstance, nShow)) return 0;

    // The module has no accelerator table; the loop offers every message anyway.
    HACCEL hAccel = LoadAcceleratorsW(hInstance, MAKEINTRESOURCEW(2));
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0)) {
        if (!TranslateAcceleratorW(msg.hwnd, hAccel, &msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    return static_cast<int>(msg.wParam);
}
