// A clock for the native tests, fuzz targets and benchmarks: it stands where
// it is set and moves only when told, or by a fixed step at every look; waits
// take no time.
#pragma once

#include <time.h>

#include <cstdint>

#include "store/clock.h"

namespace store {

class TestClock : public Clock {
 public:
  LocalTime Now() override {
    now += step;
    struct tm t;
    gmtime_r(&now, &t);
    return {t.tm_year + 1900, t.tm_mon + 1, t.tm_mday, t.tm_hour, t.tm_min, t.tm_sec};
  }
  void Sleep(std::int32_t) override {}

  time_t now = 1717232707;  // 2024-06-01 09:05:07
  time_t step = 0;          // seconds added at every look, before it
};

}  // namespace store
