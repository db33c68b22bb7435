// WriteTrace and the tick-count pairs.
#include "core/trace.h"

#include <cstdarg>
#include <cwchar>

#include "platform/base/debug_out.h"

namespace {

constexpr int kLineUnits = 1040;
constexpr int kStampUnits = 9;                              // "hh:mm:ss "
constexpr int kMessageUnits = kLineUnits - kStampUnits - 3;  // CR LF and terminator

}  // namespace

void WriteTrace(LPCWSTR fmt, ...) {
    wchar_t line[kLineUnits];
    SYSTEMTIME st;
    GetLocalTime(&st);
    _snwprintf(line, kStampUnits + 1, L"%02d:%02d:%02d ", st.wHour, st.wMinute, st.wSecond);

    // Too long a message is cut at the buffer's end, never written past it.
    wchar_t* msg = line + kStampUnits;
    va_list args;
    va_start(args, fmt);
    int n = fmt ? _vsnwprintf(msg, kMessageUnits, fmt, args) : 0;
    va_end(args);
    if (n < 0 || n > kMessageUnits) n = kMessageUnits;
    msg[n] = L'\r';
    msg[n + 1] = L'\n';
    msg[n + 2] = L'\0';

    NKDbgPrintfW(L"\r\n[QXPhoneVMSetting] %s", line);
}

TraceStep BeginTraceStep(LPCWSTR label) {
    TraceStep step{label, GetTickCount()};
    NKDbgPrintfW(L"[QXPhoneVMSetting] [TRACE_TICKCOUNT] : [%s] TickCount = %d\n\r", label,
                 static_cast<int>(step.t0));
    return step;
}

void EndTraceStep(const TraceStep& step) {
    NKDbgPrintfW(L"[QXPhoneVMSetting] [TRACE_TICKCOUNT] : [%s] TickCount = %d\n\r", step.label,
                 static_cast<int>(GetTickCount()));
    NKDbgPrintfW(L"[QXPhoneVMSetting] [TRACE_TICKCOUNT] : [%s] = %d\n\r", step.label,
                 static_cast<int>(GetTickCount() - step.t0));
}
