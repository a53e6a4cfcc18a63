// Natively: time() and localtime_r for the wall clock, nanosleep for the wait.
#include <time.h>

#include <cerrno>

#include "store/clock.h"

namespace store {
namespace {

class PosixClock final : public Clock {
 public:
  LocalTime Now() override {
    const time_t now = time(nullptr);
    struct tm local {};
    if (now == static_cast<time_t>(-1) || localtime_r(&now, &local) == nullptr) {
      return LocalTime{100, 1, 1, 0, 0, 0};  // reads as a missing time stamp
    }
    return LocalTime{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
                     local.tm_hour, local.tm_min, local.tm_sec};
  }

  void Sleep(std::int32_t ms) override {
    if (ms <= 0) return;
    timespec left{ms / 1000, static_cast<long>(ms % 1000) * 1000000L};
    // A signal cuts the wait short; the rest is still waited for.
    while (nanosleep(&left, &left) != 0 && errno == EINTR) {
    }
  }
};

}  // namespace

Clock& PlatformClock() {
  static PosixClock clock;
  return clock;
}

}  // namespace store
