#pragma once

#include "platform/Clock.h"

// A clock that shows the time the test set.
class FakeClock final : public platform::IClock {
public:
  platform::TLocalTime Now() const override { return Time; }
  void Set(int hour, int minute, int second) {
    Time.Hour = hour;
    Time.Minute = minute;
    Time.Second = second;
  }
  platform::TLocalTime Time{2026, 1, 1, 0, 0, 0, 0};
};
