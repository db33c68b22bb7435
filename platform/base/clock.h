// The clock of movements and their pacing: milliseconds of the performance
// counter, which never runs backwards.
#pragma once

// Milliseconds since an arbitrary start; the tick count where the
// performance counter is missing.
double MonotonicMs();
