// Stand-in for the phone application: a hidden window of class "MSCprog"
// that notes every WM_CPROG_UPDATEVMAIL_NUMBER (0x8019) it receives, with the
// time and the voice-mail mirror it would read, in phoneapp.log beside itself
// (or --log FILE) and on standard error. It ends on WM_CLOSE, or after
// --seconds N.
//
// Log line: "YYYY-MM-DD hh:mm:ss.mmm WM_CPROG_UPDATEVMAIL_NUMBER VMail_Address=[...]"
// where the value is the registry text, or <absent>, <not text>, <too long>.
#include <windows.h>
#include <shellapi.h>

#include <cwchar>
#include <string>

namespace {

constexpr UINT kUpdateVMailNumber = 0x8019;
constexpr UINT_PTR kLifetimeTimer = 1;

std::wstring g_logPath;

std::string Utf8(const std::wstring& text) {
    int n = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0, nullptr,
                                nullptr);
    std::string out(static_cast<size_t>(n > 0 ? n : 0), '\0');
    if (n > 0)
        WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), out.data(), n, nullptr,
                            nullptr);
    return out;
}

void WriteStderr(const std::string& bytes) {
    HANDLE err = GetStdHandle(STD_ERROR_HANDLE);
    DWORD written = 0;
    if (err && err != INVALID_HANDLE_VALUE)
        WriteFile(err, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

void AppendLog(const std::wstring& line) {
    std::string bytes = Utf8(line + L"\r\n");
    HANDLE h = CreateFileW(g_logPath.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_ALWAYS, 0, nullptr);
    DWORD written = 0;
    if (h != INVALID_HANDLE_VALUE) {
        WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
        CloseHandle(h);
    } else {
        WriteStderr("[phoneapp] cannot open the log\r\n");
    }
    WriteStderr("[phoneapp] " + bytes);
}

// What the phone application would read after the update: the registry mirror.
std::wstring ReadVoiceMailMirror() {
    wchar_t buf[1024] = {};
    DWORD size = sizeof(buf);
    LONG rc = RegGetValueW(HKEY_CURRENT_USER, L"ControlPanel\\PhoneExtendFunction\\GSM", L"VMail_Address",
                           RRF_RT_REG_SZ, nullptr, buf, &size);
    switch (rc) {
    case ERROR_SUCCESS: return buf;
    case ERROR_MORE_DATA: return L"<too long>";
    case ERROR_UNSUPPORTED_TYPE: return L"<not text>";
    default: return L"<absent>";
    }
}

std::wstring Now() {
    SYSTEMTIME st;
    GetLocalTime(&st);
    wchar_t buf[40];
    swprintf(buf, 40, L"%04u-%02u-%02u %02u:%02u:%02u.%03u", st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute,
             st.wSecond, st.wMilliseconds);
    return buf;
}

LRESULT CALLBACK PhoneWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case kUpdateVMailNumber:
        AppendLog(Now() + L" WM_CPROG_UPDATEVMAIL_NUMBER VMail_Address=[" + ReadVoiceMailMirror() + L"]");
        return 0;
    case WM_TIMER:
        if (wParam == kLifetimeTimer) DestroyWindow(hwnd);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    }
}

std::wstring BesideSelf(LPCWSTR name) {
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring path = self;
    return path.substr(0, path.find_last_of(L"\\/") + 1) + name;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE hInstance, HINSTANCE, LPWSTR, int) {
    g_logPath = BesideSelf(L"phoneapp.log");
    UINT seconds = 0;
    int argc = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    for (int i = 1; argv && i + 1 < argc; ++i) {
        if (lstrcmpW(argv[i], L"--seconds") == 0) {
            seconds = static_cast<UINT>(wcstoul(argv[++i], nullptr, 10));
        } else if (lstrcmpW(argv[i], L"--log") == 0) {
            g_logPath = argv[++i];
        }
    }
    if (argv) LocalFree(argv);

    WNDCLASSW wc{};
    wc.lpfnWndProc = PhoneWndProc;
    wc.hInstance = hInstance;
    wc.lpszClassName = L"MSCprog";
    if (!RegisterClassW(&wc)) return 1;
    HWND hwnd = CreateWindowExW(0, L"MSCprog", L"Phone", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, hInstance,
                                nullptr);
    if (!hwnd) return 1;
    // No more than 24 days, the timer's limit.
    if (seconds > 0) SetTimer(hwnd, kLifetimeTimer, seconds > 2000000u ? 2000000000u : seconds * 1000u, nullptr);
    WriteStderr("[phoneapp] waiting for WM_CPROG_UPDATEVMAIL_NUMBER\r\n");

    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}
