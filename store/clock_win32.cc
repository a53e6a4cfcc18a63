// Windows: msvcrt's _time64 and _localtime64 for the wall clock, Sleep for
// the wait.
#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#include <windows.h>

#include <time.h>

#include "store/clock.h"

namespace store {
namespace {

class WindowsClock final : public Clock {
 public:
  LocalTime Now() override {
    // _localtime64 rather than _localtime64_s: the older msvcrt.dll of the
    // hosts lacks the _s form, and its _localtime64 fills a buffer of the
    // calling thread, which we copy at once.
    const __time64_t now = _time64(nullptr);
    const struct tm* local = now == -1 ? nullptr : _localtime64(&now);
    if (local == nullptr) return LocalTime{100, 1, 1, 0, 0, 0};  // reads as a missing time stamp
    return LocalTime{local->tm_year + 1900, local->tm_mon + 1, local->tm_mday,
                     local->tm_hour, local->tm_min, local->tm_sec};
  }

  void Sleep(std::int32_t ms) override {
    if (ms > 0) ::Sleep(static_cast<DWORD>(ms));
  }
};

}  // namespace

Clock& PlatformClock() {
  static WindowsClock clock;
  return clock;
}

}  // namespace store
