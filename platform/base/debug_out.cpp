// Debug output: standard error (UTF-8), the Win32 debug string, a test sink.
#include "platform/base/debug_out.h"

#include <atomic>
#include <cstdarg>
#include <cwchar>
#include <mutex>
#include <string>

namespace {

std::mutex g_sinkLock;
DebugOutSink g_sink = nullptr;
void* g_sinkCtx = nullptr;

bool StderrDefault() {
    wchar_t v[8] = {};
    DWORD n = GetEnvironmentVariableW(L"QX_TRACE", v, 8);
    return !(n == 1 && v[0] == L'0');
}
std::atomic<int> g_toStderr{-1};  // -1: not decided yet

void WriteStderr(LPCWSTR text) {
    int n = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (n <= 1) return;
    std::string utf8(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8.data(), n, nullptr, nullptr);
    DWORD written = 0;
    HANDLE err = GetStdHandle(STD_ERROR_HANDLE);
    if (err && err != INVALID_HANDLE_VALUE)
        WriteFile(err, utf8.data(), static_cast<DWORD>(n - 1), &written, nullptr);
}

}  // namespace

void SetDebugOutSink(DebugOutSink sink, void* ctx) {
    std::lock_guard<std::mutex> lock(g_sinkLock);
    g_sink = sink;
    g_sinkCtx = ctx;
}

void SetDebugOutToStderr(bool on) { g_toStderr = on ? 1 : 0; }

void DebugOutWrite(LPCWSTR text) {
    if (!text) return;
    if (g_toStderr < 0) g_toStderr = StderrDefault() ? 1 : 0;
    if (g_toStderr) WriteStderr(text);
    OutputDebugStringW(text);
    std::lock_guard<std::mutex> lock(g_sinkLock);
    if (g_sink) g_sink(g_sinkCtx, text);
}

void NKDbgPrintfW(LPCWSTR fmt, ...) {
    if (!fmt) return;
    // The device's channel takes lines of a few hundred characters; we allow
    // more and cut the rest rather than fail.
    wchar_t buf[4096];
    va_list args;
    va_start(args, fmt);
    int n = _vsnwprintf(buf, 4096, fmt, args);
    va_end(args);
    if (n < 0 || n >= 4096) buf[4095] = L'\0';
    DebugOutWrite(buf);
}
