#pragma once

#include "platform/Clock.h"

namespace platform::linux_impl {

// The system's local time (the TZ rules of the C library).
class TLinuxClock final : public IClock {
public:
  TLocalTime Now() const override;
};

} // namespace platform::linux_impl
