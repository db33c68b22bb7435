// Reads "[TRACE_TICKCOUNT] : [L] TickCount = N" and "[TRACE_TICKCOUNT] : [L] = N".
#include "tools/bench_startup/trace_ticks.h"

#include <cstdlib>
#include <cstring>

namespace {

constexpr char kTag[] = "[TRACE_TICKCOUNT] : [";

int LabelIndex(const std::string& name) {
    for (int k = 0; k < kTraceLabelCount; ++k) {
        std::wstring w = kTraceLabels[k].label;
        if (name == std::string(w.begin(), w.end())) return k;
    }
    return -1;
}

}  // namespace

TraceTicks ParseTraceTicks(const std::string& trace) {
    TraceTicks t;
    bool seen[kTraceLabelCount] = {};
    bool firstSeen = false;
    for (size_t at = trace.find(kTag); at != std::string::npos; at = trace.find(kTag, at + 1)) {
        size_t name = at + sizeof kTag - 1;
        size_t close = trace.find(']', name);
        if (close == std::string::npos) break;
        int k = LabelIndex(trace.substr(name, close - name));
        if (k < 0) continue;
        const char* rest = trace.c_str() + close + 1;
        if (std::strncmp(rest, " TickCount = ", 13) == 0) {
            DWORD tick = static_cast<DWORD>(std::strtoul(rest + 13, nullptr, 10));
            if (!firstSeen) t.tickFirst = tick, firstSeen = true;
            if (kTraceLabels[k].bTopLevel) t.tickLast = tick;
        } else if (std::strncmp(rest, " = ", 3) == 0) {
            t.ms[k] = std::atoi(rest + 3);
            seen[k] = true;
        }
    }
    t.bComplete = firstSeen;
    for (int k = 0; k < kTraceLabelCount; ++k) {
        if (!kTraceLabels[k].bTopLevel) continue;
        t.bComplete = t.bComplete && seen[k];
        t.nSum += t.ms[k];
    }
    return t;
}
