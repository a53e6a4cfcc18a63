// The clock and the wait of the step handler, replaceable in native unit
// tests so that the pause rule and the dead end's wait need no real time.
#pragma once

#include <cstdint>

namespace store {

// Seconds since the epoch, and the local calendar time of such a count.
struct LocalTime {
  int year, month, day, hour, minute, second;
};

class Clock {
 public:
  virtual ~Clock() = default;
  virtual LocalTime Now() = 0;               // local wall-clock time, whole seconds
  virtual void Sleep(std::int32_t ms) = 0;   // blocks the calling thread
};

// The clock in use: the platform's (C library time and local time, Sleep or
// nanosleep) unless a test has set another.
Clock& CurrentClock();

// For tests: replaces the clock until called again with nullptr. The caller
// keeps ownership of `clock`, which must outlive its use.
void SetClockForTesting(Clock* clock);

// The platform's clock (clock_win32.cc, clock_posix.cc), whatever the tests set.
Clock& PlatformClock();

}  // namespace store
