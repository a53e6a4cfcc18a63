// The clock in use: the platform's, or the one a test has put in its place.
#include "store/clock.h"

#include <atomic>

namespace store {
namespace {

std::atomic<Clock*> test_clock{nullptr};

}  // namespace

Clock& CurrentClock() {
  Clock* clock = test_clock.load(std::memory_order_acquire);
  return clock != nullptr ? *clock : PlatformClock();
}

void SetClockForTesting(Clock* clock) { test_clock.store(clock, std::memory_order_release); }

}  // namespace store
