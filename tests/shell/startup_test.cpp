// The start-up decision tree through the real chain: the simulated modem's
// SIM card in a scratch device, the phone-state registry value, stand-in
// programs and the radio-power library on the device's file system.
#include <gtest/gtest.h>

#include <objbase.h>

#include <atomic>
#include <string>
#include <thread>

#include "core/app_state.h"
#include "core/skin_resources.h"
#include "platform/base/device_root.h"
#include "res/resource.h"
#include "shell/main_window.h"
#include "shell/release_resources.h"
#include "shell/startup.h"
#include "tests/support/scratch.h"

namespace {

constexpr WCHAR kRilKey[] = L"Drivers\\BuiltIn\\RIL";
constexpr WCHAR kPhoneKey[] = L"System\\State\\Phone";
constexpr WCHAR kTitle[] = L"Voice Mail and Text Messages";

std::string Card(const char* radio) {
    return std::string("radio ") + radio +
           "\nsmsc +441234567890 145\nsim 2G\n"
           "file 6F17 reclen 28 records 4\n"
           "record 1 FF FF FF FF FF FF FF FF FF FF FF FF FF FF 06 91 21 43 65 F7 FF FF FF FF FF FF FF FF\n";
}

// Answers the power prompt, from another thread, as a close request with the
// given code once the box is up.
class PromptAnswer {
public:
    explicit PromptAnswer(int code)
        : m_thread([this, code] {
              for (int i = 0; i < 400 && !m_stop; ++i) {
                  if (HWND box = FindWindowW(L"#32770", kTitle)) {
                      m_seen = true;
                      PostMessageW(box, WM_CLOSE, static_cast<WPARAM>(code), 0);
                      return;
                  }
                  Sleep(25);
              }
          }) {}
    ~PromptAnswer() {
        m_stop = true;
        m_thread.join();
    }
    bool Seen() const { return m_seen; }

private:
    std::atomic<bool> m_stop{false};
    std::atomic<bool> m_seen{false};
    std::thread m_thread;
};

class StartupTest : public testing::Test {
protected:
    void SetUp() override {
        ResetAppState();
        ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
        DeleteRegTree(HKEY_LOCAL_MACHINE, kRilKey);
        DeleteRegTree(HKEY_LOCAL_MACHINE, kPhoneKey);
        SetRegString(HKEY_LOCAL_MACHINE, kRilKey, L"Port", L"sim");
    }
    void TearDown() override {
        if (AppState.hwndMain && IsWindow(AppState.hwndMain)) DestroyWindow(AppState.hwndMain);
        ReleaseResources();
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
        ResetAppState();
        DeleteRegTree(HKEY_LOCAL_MACHINE, kRilKey);
        DeleteRegTree(HKEY_LOCAL_MACHINE, kPhoneKey);
        CoUninitialize();
    }
    void UseCard(const char* radio) { ASSERT_TRUE(WriteFileBytes(CardPath(), Card(radio))); }
    std::wstring CardPath() const { return device.Path(L"\\Windows\\simcard.txt"); }
    std::string CardRadioLine() const {
        std::string card = ReadFileBytes(CardPath());
        return card.substr(0, card.find('\n'));
    }
    BOOL Start() { return StartApplication(GetModuleHandleW(nullptr), SW_SHOW); }

    ScratchDevice device;
    TraceCapture trace;
};

TEST_F(StartupTest, NoModemEndsAtOnceWithOneLine) {
    SetRegString(HKEY_LOCAL_MACHINE, kRilKey, L"Port", L"tcp:127.0.0.1:9");
    EXPECT_FALSE(Start());
    EXPECT_EQ(trace.Count(L"GetPhoneState return FALSE;"), 1);
    EXPECT_EQ(trace.Count(L"[GetPhoneState] TickCount = "), 1) << "the pair is left open";
    EXPECT_FALSE(trace.Has(L"[GetPhoneState] = "));
    EXPECT_FALSE(trace.Has(L"[GetSettings]"));
    EXPECT_EQ(FindWindowW(L"QXCFMainClass", nullptr), nullptr);
}

TEST_F(StartupTest, FlightModeHandsOverToTheControlPanel) {
    UseCard("flight");
    ASSERT_TRUE(device.Install(L"ctlpnl.exe", L"\\WIndows\\ctlpnl.exe"));
    EXPECT_FALSE(Start());
    EXPECT_EQ(FindWindowW(L"QXCFMainClass", nullptr), nullptr);
    EXPECT_FALSE(trace.Has(L"[GetPhoneState] = ")) << "the pair is left open";

    std::string log;
    for (int i = 0; i < 200 && log.empty(); ++i, Sleep(25)) log = ReadFileBytes(device.Path(L"\\Windows\\ctlpnl.log"));
    EXPECT_EQ(log, "cplmain.cpl, 20\r\n");
}

TEST_F(StartupTest, StatusFlagIsBitOneOfAReadableDword) {
    EXPECT_FALSE(IsPhoneStatusFlagSet()) << "missing value";
    for (DWORD v : {0u, 1u, 4u}) {
        SetRegDword(HKEY_LOCAL_MACHINE, kPhoneKey, L"Status", v);
        EXPECT_FALSE(IsPhoneStatusFlagSet()) << v;
    }
    for (DWORD v : {2u, 3u, 0xFFu}) {
        SetRegDword(HKEY_LOCAL_MACHINE, kPhoneKey, L"Status", v);
        EXPECT_TRUE(IsPhoneStatusFlagSet()) << v;
    }
    SetRegString(HKEY_LOCAL_MACHINE, kPhoneKey, L"Status", L"2");
    EXPECT_FALSE(IsPhoneStatusFlagSet()) << "a text is not a status";
}

TEST_F(StartupTest, RadioOnOpensTheScreenWithoutAPrompt) {
    UseCard("on");
    PromptAnswer never(0);
    ASSERT_TRUE(Start());
    EXPECT_FALSE(never.Seen());
    for (HWND h : {AppState.hwndMain, AppState.hwndTitle, AppState.hwndItem}) {
        ASSERT_NE(h, nullptr);
        EXPECT_TRUE(IsWindowVisible(h));
    }
    EXPECT_TRUE(trace.Has(L"[GetSettings] = "));
    EXPECT_TRUE(trace.Has(L"[CreateItemWindow] = "));
    // The main window's creation pairs sit inside its own pair.
    std::wstring all = trace.All();
    size_t outer = all.find(L"[CreateMainWindow] TickCount");
    size_t inner = all.find(L"[LoadResource] TickCount");
    size_t outerEnd = all.find(L"[CreateMainWindow] = ");
    EXPECT_LT(outer, inner);
    EXPECT_LT(inner, outerEnd);
}

TEST_F(StartupTest, SecondStartBringsTheFirstForwardAndReadsNothing) {
    UseCard("on");
    AppState.hInst = GetModuleHandleW(nullptr);
    lstrcpyW(AppState.szAppTitle, kTitle);
    ASSERT_TRUE(CreateMainWindow(AppState.hInst, SW_SHOW));
    HWND first = AppState.hwndMain;
    trace.Clear();

    EXPECT_FALSE(Start());
    EXPECT_FALSE(trace.Has(L"[GetSettings]"));
    EXPECT_TRUE(IsWindow(first));
    EXPECT_EQ(AppState.hwndTitle, nullptr) << "no window of a second screen";
}

TEST_F(StartupTest, CancelOnThePromptEndsWithTheRadioUntouched) {
    UseCard("off");
    ASSERT_TRUE(device.Install(L"LinkdeckDll.dll", L"\\Windows\\LinkdeckDll.dll"));
    PromptAnswer cancel(0);
    EXPECT_FALSE(Start());
    EXPECT_TRUE(cancel.Seen());
    EXPECT_EQ(AppState.nPowerOnAnswer, 0);
    EXPECT_EQ(FindWindowW(L"QXCFMainClass", nullptr), nullptr);
    EXPECT_FALSE(trace.Has(L"[CreateMainWindow]"));
    EXPECT_EQ(CardRadioLine(), "radio off");
}

TEST_F(StartupTest, OkSwitchesTheRadioOnThroughTheLibrary) {
    UseCard("off");
    ASSERT_TRUE(device.Install(L"LinkdeckDll.dll", L"\\Windows\\LinkdeckDll.dll"));
    PromptAnswer ok(1);
    DWORD t0 = GetTickCount();
    ASSERT_TRUE(Start());
    EXPECT_GE(GetTickCount() - t0, 2000u) << "the radio is given 2000 ms";
    EXPECT_TRUE(ok.Seen());
    EXPECT_EQ(CardRadioLine(), "radio on");
    EXPECT_FALSE(IsPhoneStatusFlagSet());
    EXPECT_EQ(AppState.nPowerOnAnswer, 0) << "the answer is followed up once";
    EXPECT_TRUE(IsWindowVisible(AppState.hwndMain));
}

TEST_F(StartupTest, OkWithoutTheLibraryEndsWhenTheRadioStaysOff) {
    UseCard("off");
    PromptAnswer ok(1);
    EXPECT_FALSE(Start());
    EXPECT_TRUE(ok.Seen());
    EXPECT_TRUE(IsPhoneStatusFlagSet());
    EXPECT_EQ(CardRadioLine(), "radio off");
    // The windows are gone and nothing was shown from released resources.
    EXPECT_EQ(FindWindowW(L"QXCFMainClass", nullptr), nullptr);
    EXPECT_EQ(AppState.SkinImages[kSkinPTitle].hBitmap, nullptr);
    MSG msg;
    bool quit = PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != 0;
    EXPECT_TRUE(quit);
    if (quit) {
        EXPECT_EQ(msg.wParam, 0u);
    }
}

// The whole program as its own process: no modem, no window, exit code 0.
TEST_F(StartupTest, ProgramWithoutModemExitsWithZero) {
    SetRegString(HKEY_LOCAL_MACHINE, kRilKey, L"Port", L"tcp:127.0.0.1:9");
    std::wstring exe = ModuleFolder() + L"QXPhoneVMSetting.exe";
    std::wstring line = L"\"" + exe + L"\"";
    STARTUPINFOW si{};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi{};
    ASSERT_TRUE(CreateProcessW(exe.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                               &si, &pi));
    ASSERT_EQ(WaitForSingleObject(pi.hProcess, 20000), WAIT_OBJECT_0);
    DWORD code = 99;
    GetExitCodeProcess(pi.hProcess, &code);
    EXPECT_EQ(code, 0u);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
}

}  // namespace
