#include <gtest/gtest.h>

#include "text/uTimeSignal.h"

namespace {

platform::TLocalTime At(int hour, int minute, int second, int ms) {
  return platform::TLocalTime{2026, 12, 11, hour, minute, second, ms};
}

} // namespace

TEST(TimeSignal, DelayTable) {
  struct Case {
    int minutes;
    platform::TLocalTime now;
    std::int64_t delay;
  } cases[] = {
      {60, At(10, 59, 59, 800), 1000},   // due in 0.7 s: raised to one second
      {60, At(11, 0, 0, 800), 3599700},  // then 12:00:00.5
      {10, At(10, 47, 12, 345), 168155}, // 10:50:00.5
      {30, At(10, 15, 0, 0), 900500},    // 10:30:00.5
      {30, At(10, 30, 0, 0), 1000},      // exactly on the boundary
      {7, At(10, 58, 0, 0), 300500},     // 11:03:00.5, then 11:07:00.5: each hour starts anew
      {1, At(10, 0, 0, 0), 60500},       {0, At(10, 0, 0, 0), -1}, // off
      {-5, At(10, 0, 0, 0), -1},
  };
  for (const auto &c : cases)
    EXPECT_EQ(TimeSignalDelay(c.minutes, c.now), c.delay)
        << c.minutes << " min at " << c.now.Minute << ":" << c.now.Second;
}

TEST(TimeSignal, HugePeriodsDoNotOverflow) {
  EXPECT_EQ(TimeSignalDelay(100000, At(0, 0, 0, 0)), 2147483647);
  EXPECT_EQ(TimeSignalDelay(2147483647, At(0, 59, 59, 999)), 2147483647);
}
