// The figures of a batch run's progress as one short text, shown by the
// console on its progress line and by the desktop beside its progress bar:
// "1200/10000 cases, 850 a second, 10 s left".
#pragma once

#include <cstdint>
#include <string>

// After `seconds` of a run that finished `done` of `total` cases; the rate
// and the time left once a case is done and time has passed.
std::string ProgressText(int32_t done, int32_t total, double seconds);
