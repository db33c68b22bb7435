// The phone application's window: the lookup by class, and the stand-in
// phoneapp.exe receiving the voice-mail update message.
#include <gtest/gtest.h>

#include <cctype>
#include <string>

#include "platform/aygshell/aygshell.h"
#include "tests/support/scratch.h"

namespace {

constexpr WCHAR kGsm[] = L"ControlPanel\\PhoneExtendFunction\\GSM";

HWND WaitForPhoneApp(DWORD ms) {
    for (DWORD waited = 0; waited < ms; waited += 20) {
        if (HWND hwnd = SHGetPhoneAppWindow(kShAppPhone, 0)) return hwnd;
        Sleep(20);
    }
    return nullptr;
}

// Starts the stand-in from beside the test with extra arguments.
PROCESS_INFORMATION StartPhoneApp(const std::wstring& args) {
    std::wstring exe = ModuleFolder() + L"phoneapp.exe";
    std::wstring cmd = L"\"" + exe + L"\" " + args;
    STARTUPINFOW si{};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(exe.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        ADD_FAILURE() << "CreateProcessW failed, error " << GetLastError();
    return pi;
}

void Finish(PROCESS_INFORMATION& pi, DWORD waitMs, DWORD* pExit) {
    if (!pi.hProcess) return;
    EXPECT_EQ(WaitForSingleObject(pi.hProcess, waitMs), WAIT_OBJECT_0) << "phoneapp did not end";
    GetExitCodeProcess(pi.hProcess, pExit);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    pi = PROCESS_INFORMATION{};
}

void Notify(HWND hwnd) {
    DWORD_PTR result = 0;
    ASSERT_TRUE(SendMessageTimeoutW(hwnd, WM_CPROG_UPDATEVMAIL_NUMBER, 0, 0, SMTO_NORMAL, 5000, &result));
}

class PhoneAppTest : public testing::Test {
protected:
    void SetUp() override { DeleteRegTree(HKEY_CURRENT_USER, kGsm); }
    void TearDown() override { DeleteRegTree(HKEY_CURRENT_USER, kGsm); }
};

TEST_F(PhoneAppTest, LookupFindsTheWindowOfClassMSCprog) {
    ASSERT_EQ(SHGetPhoneAppWindow(kShAppPhone, 0), nullptr) << "a phone application is still running";
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"MSCprog";
    RegisterClassW(&wc);
    HWND hwnd = CreateWindowExW(0, L"MSCprog", L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, wc.hInstance, nullptr);
    ASSERT_TRUE(hwnd);
    EXPECT_EQ(SHGetPhoneAppWindow(kShAppPhone, 0), hwnd);
    TraceCapture trace;
    EXPECT_EQ(SHGetPhoneAppWindow(4, 0), nullptr);
    EXPECT_TRUE(trace.Has(L"application 4 unknown"));
    DestroyWindow(hwnd);
    EXPECT_EQ(SHGetPhoneAppWindow(kShAppPhone, 0), nullptr);
    UnregisterClassW(L"MSCprog", wc.hInstance);
}

TEST_F(PhoneAppTest, StandInLogsEachUpdateWithTheMirrorBesideItself) {
    std::wstring log = ModuleFolder() + L"phoneapp.log";
    DeleteFileW(log.c_str());
    PROCESS_INFORMATION pi = StartPhoneApp(L"--seconds 30");
    HWND hwnd = WaitForPhoneApp(10000);
    ASSERT_TRUE(hwnd);

    SetRegString(HKEY_CURRENT_USER, kGsm, L"VMail_Address", L"+3161 2p");
    Notify(hwnd);
    DeleteRegTree(HKEY_CURRENT_USER, kGsm);
    Notify(hwnd);
    SetRegDword(HKEY_CURRENT_USER, kGsm, L"VMail_Address", 5);
    Notify(hwnd);
    std::wstring longText(1500, L'9');
    SetRegString(HKEY_CURRENT_USER, kGsm, L"VMail_Address", longText.c_str());
    Notify(hwnd);

    PostMessageW(hwnd, WM_CLOSE, 0, 0);
    DWORD exitCode = 99;
    Finish(pi, 10000, &exitCode);
    EXPECT_EQ(exitCode, 0u);

    std::string text = ReadFileBytes(log);
    size_t lines = 0;
    for (char c : text) lines += c == '\n';
    EXPECT_EQ(lines, 4u) << text;
    size_t a = text.find("WM_CPROG_UPDATEVMAIL_NUMBER VMail_Address=[+3161 2p]");
    size_t b = text.find("WM_CPROG_UPDATEVMAIL_NUMBER VMail_Address=[<absent>]");
    size_t c = text.find("VMail_Address=[<not text>]");
    size_t d = text.find("VMail_Address=[<too long>]");
    EXPECT_NE(a, std::string::npos) << text;
    EXPECT_NE(d, std::string::npos) << text;
    EXPECT_TRUE(a < b && b < c && c < d) << text;
    // Each line starts with the date and time: "YYYY-MM-DD hh:mm:ss.mmm ".
    const char kShape[] = "dddd-dd-dd dd:dd:dd.ddd ";
    ASSERT_GT(text.size(), sizeof(kShape));
    for (size_t i = 0; i + 1 < sizeof(kShape); ++i)
        EXPECT_TRUE(kShape[i] == 'd' ? isdigit(static_cast<unsigned char>(text[i])) != 0 : text[i] == kShape[i])
            << i << ": " << text;
    DeleteFileW(log.c_str());
}

TEST_F(PhoneAppTest, StandInEndsByItselfAfterItsSecondsAndTakesALogPath) {
    wchar_t tmp[MAX_PATH];
    GetTempPathW(MAX_PATH, tmp);
    std::wstring log = std::wstring(tmp) + L"qx-phoneapp-" + std::to_wstring(GetCurrentProcessId()) + L".log";
    DeleteFileW(log.c_str());
    PROCESS_INFORMATION pi = StartPhoneApp(L"--seconds 1 --log \"" + log + L"\"");
    HWND hwnd = WaitForPhoneApp(10000);
    ASSERT_TRUE(hwnd);
    Notify(hwnd);
    DWORD exitCode = 99;
    Finish(pi, 10000, &exitCode);
    EXPECT_EQ(exitCode, 0u);
    EXPECT_EQ(SHGetPhoneAppWindow(kShAppPhone, 0), nullptr);
    EXPECT_NE(ReadFileBytes(log).find("VMail_Address=[<absent>]"), std::string::npos);
    DeleteFileW(log.c_str());
}

}  // namespace
