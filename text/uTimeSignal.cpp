#include "text/uTimeSignal.h"

#include <algorithm>
#include <limits>

std::int64_t TimeSignalDelay(std::int32_t minutes, const platform::TLocalTime &now) {
  if (minutes <= 0)
    return -1;
  // 64-bit: a period of more than 71,582 minutes does not fit 32-bit milliseconds.
  const std::int64_t period = std::int64_t{minutes} * 60000;
  std::int64_t past = std::int64_t{now.Minute} * 60000 + now.Second * 1000 + now.Millisecond;
  // Down into 1..period: a multiple of the period counts as the end of the
  // period before it, so the signal is due at once (raised to one second).
  if (past > period)
    past = (past - 1) % period + 1;
  std::int64_t delay = std::max<std::int64_t>(period - past + 500, 1000);
  return std::min<std::int64_t>(delay, std::numeric_limits<std::int32_t>::max());
}
