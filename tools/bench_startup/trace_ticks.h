// The settings program's tick-count pairs, read back from its trace.
#pragma once
#include <windows.h>

#include <string>

struct TraceLabel {
    LPCWSTR label;
    bool bTopLevel;  // a step of start-up itself, not one inside another
};
constexpr TraceLabel kTraceLabels[] = {
    {L"GetPhoneState", true},     {L"GetSettings", true},       {L"CreateMainWindow", true},
    {L"LoadResource", false},     {L"LoadSetting", false},      {L"CreateTitleWindow", true},
    {L"CreateItemWindow", true},
};
constexpr int kTraceLabelCount = sizeof kTraceLabels / sizeof kTraceLabels[0];

struct TraceTicks {
    bool bComplete = false;  // every top-level pair closed
    int ms[kTraceLabelCount] = {};
    int nSum = 0;            // the top-level pairs
    DWORD tickFirst = 0;     // the first pair's opening tick count
    DWORD tickLast = 0;      // the last pair's closing tick count
};

// The pairs in a trace (UTF-8, as the program writes it to standard error).
TraceTicks ParseTraceTicks(const std::string& trace);
