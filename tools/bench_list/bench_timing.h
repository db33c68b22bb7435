// The parts of bench_list: its clock and medians, the skin's load times and
// the glide's cost.
#pragma once
#include <windows.h>

#include <vector>

// Milliseconds of the performance counter.
double BenchNow();
double Median(std::vector<double> v);

// One LoadSkinResources, in milliseconds.
double TimeSkinLoad();
// COUNT reloads of the skin and each file's decode, printed.
void MeasureSkins(int count);

// COUNT flicks on the list window (a list taller than a glide's way),
// printed: CPU time, frames and their distance from the glide's course.
void MeasureGlide(HWND hwnd, int count);
