#include "platform/linux/LinuxClock.h"

#include <ctime>
#include <sys/time.h>

namespace platform::linux_impl {

TLocalTime TLinuxClock::Now() const {
  timeval tv{};
  gettimeofday(&tv, nullptr);
  tm local{};
  localtime_r(&tv.tv_sec, &local);
  return TLocalTime{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                    local.tm_min,         local.tm_sec,    static_cast<int>(tv.tv_usec / 1000)};
}

} // namespace platform::linux_impl
