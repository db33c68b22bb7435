// The program's diagnostic trace: time-stamped lines through WriteTrace and
// tick-count pairs around timed start-up steps.
#pragma once
#include <windows.h>

// "\r\n[QXPhoneVMSetting] hh:mm:ss <message>\r\n". Any thread may call it.
void WriteTrace(LPCWSTR fmt, ...);

// A timed step: BeginTraceStep writes the first line; EndTraceStep the
// second and the elapsed time. A step that ends the program early is left
// open (no EndTraceStep).
struct TraceStep {
    LPCWSTR label;
    DWORD t0;
};
TraceStep BeginTraceStep(LPCWSTR label);
void EndTraceStep(const TraceStep& step);

template <typename F>
auto TimedStep(LPCWSTR label, F&& step) {
    TraceStep t = BeginTraceStep(label);
    auto result = step();
    EndTraceStep(t);
    return result;
}
