#pragma once

namespace platform {

// The local wall-clock time, broken down.
struct TLocalTime {
  int Year = 0, Month = 0, Day = 0; // Month and Day from 1
  int Hour = 0, Minute = 0, Second = 0, Millisecond = 0;
};

// The clock every time-dependent part of the core reads, so tests can fix it.
class IClock {
public:
  virtual ~IClock() = default;
  virtual TLocalTime Now() const = 0;
};

} // namespace platform
