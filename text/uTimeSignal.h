#pragma once

#include <cstdint>

#include "platform/Clock.h"

// When the next time signal is due: half a second after the next multiple of
// the period, counted from the full hour of now, and never sooner than one
// second. Returns the delay in milliseconds, or -1 when minutes is 0 or less
// (the signal is off). Periods longer than the timer can hold are capped at
// the longest delay a timer takes (about 24.8 days).
std::int64_t TimeSignalDelay(std::int32_t minutes, const platform::TLocalTime &now);
